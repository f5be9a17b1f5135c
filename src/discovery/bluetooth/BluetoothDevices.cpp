#include "discovery/bluetooth/BluetoothDevices.h"

#include <algorithm>

namespace discovery {

std::optional<std::size_t> AcceptBluetoothDevice(CPrinterDevices& devices,
                                                 const ports::BluetoothDeviceInfo& device) {
    if (device.name.empty())
        return std::nullopt;
    PrinterEntry entry;
    entry.btInfo = device;
    entry.modelName = device.name;
    entry.btAddress = bluetoothAddressText(device);
    entry.btRadio = 0;
    const bool listed = std::any_of(devices.begin(), devices.end(),
                                    [&](const PrinterEntry& e) { return e.btAddress == entry.btAddress; });
    if (listed)
        return std::nullopt;
    devices.add(entry);
    return devices.size() - 1;
}

} // namespace discovery
