#pragma once
// Run-time entry points that may be missing or unusable: absent from older Windows, or present in
// Wine only as a placeholder that ends the process when called. Either way the caller gets a null
// pointer and reports the feature as "not available".
#include "platform/win32/ProcAddress.h"

#include <windows.h>

namespace win32 {

// True when this process runs on Wine (its ntdll exports wine_get_version).
bool runningOnWine() noexcept;

// True when `entry` is the code Wine's build tools put behind an export it does not implement: it
// raises a non-continuable exception, which ends a program that has no handler for it.
bool isWineStub(const void* entry) noexcept;

template <typename Fn> Fn entryPoint(HMODULE module, const char* name) noexcept {
    Fn fn = procAddress<Fn>(module, name);
    return fn && isWineStub(reinterpret_cast<const void*>(fn)) ? nullptr : fn;
}

// An export known by its ordinal only (MAKEINTRESOURCEA).
template <typename Fn> Fn entryPointByOrdinal(HMODULE module, WORD ordinal) noexcept {
    return entryPoint<Fn>(module, MAKEINTRESOURCEA(ordinal));
}

} // namespace win32
