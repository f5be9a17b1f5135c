#pragma once
// Entry points that older Windows or Wine may lack are looked up at run time, never imported:
// a missing one is a null pointer, which callers treat as "not available".
#include <windows.h>

namespace win32 {

template <typename Fn> Fn procAddress(HMODULE module, const char* name) noexcept {
    if (!module)
        return nullptr;
    // Through a generic function pointer: FARPROC's own type does not match any real signature.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

} // namespace win32
