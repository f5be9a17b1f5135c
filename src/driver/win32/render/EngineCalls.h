#pragma once
// The graphics engine's calls the rendering DLL makes, found in gdi32.dll when a device is enabled
// instead of imported: Windows 2000 to 11 export every one of them for user-mode printer drivers,
// and a DLL that imports none of them also loads where gdi32 has no engine (Wine), so its entry
// table can be checked there.
#include "driver/win32/render/EngineTypes.h"

namespace driver::win32 {

struct EngineCalls {
    EngCreateBitmapFn createBitmap = nullptr;
    EngAssociateSurfaceFn associateSurface = nullptr;
    EngDeleteSurfaceFn deleteSurface = nullptr;
    EngCreatePaletteFn createPalette = nullptr;
    EngDeletePaletteFn deletePalette = nullptr;
    EngWritePrinterFn writePrinter = nullptr;

    // True when every call was found.
    [[nodiscard]] bool resolve() noexcept;
};

} // namespace driver::win32
