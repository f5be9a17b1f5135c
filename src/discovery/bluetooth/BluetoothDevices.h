#pragma once
// The Bluetooth page's list, on the UI thread: each printer the search reports is added once, by
// its address; every inquiry reports the same printers again.
#include "app/CPrinterDevices.h"
#include "platform/ports/Bluetooth.h"

#include <cstddef>
#include <optional>

namespace discovery {

// Adds a new entry for `device` (reset, the first default PIN, the device's name as model name) and
// returns its position; none for a device without a name or one listed already.
std::optional<std::size_t> AcceptBluetoothDevice(CPrinterDevices& devices,
                                                 const ports::BluetoothDeviceInfo& device);

} // namespace discovery
