// Not yet implemented: the Windows spooler, devices, Bluetooth, services and processes answer
// ERROR_CALL_NOT_IMPLEMENTED until their real ports replace these factories. The clock is Win32Clock.
#include "platform/ports/NotYetImplemented.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Ports.h"

#include <windows.h>

namespace win32 {

std::unique_ptr<ports::PrintSpooler> makeWin32PrintSpooler() {
    return std::make_unique<ports::notyet::NotYetSpooler>();
}
std::unique_ptr<ports::DeviceTree> makeWin32DeviceTree() {
    return std::make_unique<ports::notyet::NotYetDeviceTree>();
}
std::unique_ptr<ports::Bluetooth> makeWin32Bluetooth() {
    return std::make_unique<ports::notyet::NotYetBluetooth>();
}
std::unique_ptr<ports::ServiceControl> makeWin32ServiceControl() {
    return std::make_unique<ports::notyet::NotYetServices>();
}
std::unique_ptr<ports::Processes> makeWin32Processes() {
    return std::make_unique<ports::notyet::NotYetProcesses>();
}
std::unique_ptr<ports::Clock> makeWin32Clock() {
    return std::make_unique<Win32Clock>();
}

} // namespace win32
