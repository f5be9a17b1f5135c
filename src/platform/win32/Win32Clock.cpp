#include "platform/win32/Win32Clock.h"

#include "platform/win32/Win32Ports.h"

#include <windows.h>

namespace win32 {

std::uint64_t Win32Clock::nowMs() noexcept {
    return ::GetTickCount64();
}

void Win32Clock::sleepMs(std::uint32_t ms) noexcept {
    ::Sleep(ms);
}

ports::SystemTime Win32Clock::localTime() noexcept {
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

std::unique_ptr<ports::Clock> makeWin32Clock() {
    return std::make_unique<Win32Clock>();
}

} // namespace win32
