// Not yet implemented: the Windows spooler, devices, Bluetooth, services and processes answer
// ERROR_CALL_NOT_IMPLEMENTED until their real ports replace these factories. The clock is real.
#include "platform/ports/NotYetImplemented.h"
#include "platform/win32/Win32Ports.h"

#include <windows.h>

namespace win32 {
namespace {

class SystemClock final : public ports::Clock {
public:
    std::uint64_t nowMs() override { return ::GetTickCount64(); }
    void sleepMs(std::uint32_t ms) override { ::Sleep(ms); }
    ports::SystemTime localTime() override {
        SYSTEMTIME st{};
        ::GetLocalTime(&st);
        return {st.wYear, st.wMonth,  st.wDayOfWeek, st.wDay,
                st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
    }
};

} // namespace

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
    return std::make_unique<SystemClock>();
}

} // namespace win32
