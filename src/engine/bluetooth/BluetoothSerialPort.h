#pragma once
// After pairing: the device's serial port service switched on, and the COM port Windows made for it
// found and checked against the spooler's ports.
#include "app/AppContext.h"
#include "app/PrinterEntry.h"

#include <string_view>

namespace engine {

// Makes sure the serial port service of the paired device is enabled. Reports a failure in red.
bool EnableSerialService(const app::AppContext& ctx, const PrinterEntry& entry);
// Sets entry.portName to the COM port ("COM5") of the device's serial port interface. When the
// spooler does not list it, restarts the spooler once and looks again. False when there is none.
bool FindBluetoothComPort(const app::AppContext& ctx, PrinterEntry& entry);
// Whether the spooler lists the port `name` (its ":" removed, compared exactly).
bool SpoolerHasPort(const app::AppContext& ctx, std::wstring_view name);

} // namespace engine
