#include "ui/win32/Dpi.h"

#include "platform/win32/EntryPoints.h"

namespace ui::win32 {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using SetContextFn = HANDLE(WINAPI*)(HANDLE);
using SetAwareFn = BOOL(WINAPI*)();

HMODULE user32() noexcept {
    return GetModuleHandleW(L"user32.dll");
}

} // namespace

void becomeDpiAware() noexcept {
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 is (HANDLE)-4 (Windows 10 1703 and later).
    if (auto set = ::win32::entryPoint<SetContextFn>(user32(), "SetThreadDpiAwarenessContext")) {
        if (set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))))
            return;
    }
    if (auto aware = ::win32::entryPoint<SetAwareFn>(user32(), "SetProcessDPIAware"))
        aware();
}

int dpiOf(HWND window) noexcept {
    if (auto get = ::win32::entryPoint<GetDpiForWindowFn>(user32(), "GetDpiForWindow"); get && window) {
        if (const UINT dpi = get(window); dpi > 0)
            return static_cast<int>(dpi);
    }
    HDC dc = GetDC(nullptr);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : kDefaultDpi;
    if (dc)
        ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : kDefaultDpi;
}

} // namespace ui::win32
