#pragma once
// Per-monitor DPI through the functions newer Windows has (looked up at run time: Wine and older
// Windows lack some), falling back to the screen's LOGPIXELSX.
#include <windows.h>

namespace ui::win32 {

inline constexpr int kDefaultDpi = 96;

// Asks for per-monitor awareness when the manifest did not (harmless when it did).
void becomeDpiAware() noexcept;
// The DPI of the monitor `window` is on (or of the screen).
[[nodiscard]] int dpiOf(HWND window) noexcept;
[[nodiscard]] inline double scaleOf(int dpi) noexcept {
    return static_cast<double>(dpi) / kDefaultDpi;
}
[[nodiscard]] inline int scaled(int pixels, double scale) noexcept {
    return static_cast<int>(pixels * scale + (pixels >= 0 ? 0.5 : -0.5));
}

} // namespace ui::win32
