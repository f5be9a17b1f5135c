#include "driver/win32/render/EngineCalls.h"

#include <cstring>

namespace driver::win32 {
namespace {

// GetProcAddress gives every export the same type; the engine's own declaration gives the real one.
template <typename Fn> bool find(HMODULE gdi, const char* name, Fn& out) noexcept {
    const FARPROC proc = GetProcAddress(gdi, name);
    static_assert(sizeof proc == sizeof out);
    std::memcpy(&out, &proc, sizeof out);
    return proc != nullptr;
}

} // namespace

bool EngineCalls::resolve() noexcept {
    const HMODULE gdi = GetModuleHandleW(L"gdi32.dll");
    if (!gdi)
        return false;
    bool all = find(gdi, "EngCreateBitmap", createBitmap);
    all &= find(gdi, "EngAssociateSurface", associateSurface);
    all &= find(gdi, "EngDeleteSurface", deleteSurface);
    all &= find(gdi, "EngCreatePalette", createPalette);
    all &= find(gdi, "EngDeletePalette", deletePalette);
    all &= find(gdi, "EngWritePrinter", writePrinter);
    return all;
}

} // namespace driver::win32
