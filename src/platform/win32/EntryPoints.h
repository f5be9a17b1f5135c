#pragma once
// The one lookup of run-time entry points: for functions that older Windows or Wine may lack, and
// for Wine's placeholder exports that end the process when called. Either way the entry point is
// "not available": a null pointer, which callers report instead of calling.
#include <windows.h>

#include <type_traits>

namespace win32 {

// True when this process runs on Wine (its ntdll exports wine_get_version).
[[nodiscard]] bool runningOnWine() noexcept;

// True when `entry` is the code Wine's build tools put behind an export it does not implement: it
// raises a non-continuable exception, which ends a program that has no handler for it.
[[nodiscard]] bool isWineStub(const void* entry) noexcept;

// GetProcAddress by name or by ordinal (MAKEINTRESOURCEA), with a placeholder taken as missing.
[[nodiscard]] FARPROC availableEntry(HMODULE module, const char* nameOrOrdinal) noexcept;

[[nodiscard]] inline bool hasEntryPoint(HMODULE module, const char* name) noexcept {
    return name && availableEntry(module, name) != nullptr;
}

// Whether a function pointer type has the system's calling convention (WINAPI, CALLBACK: stdcall
// on i686). x64 has one convention, so only the i686 build can tell a wrong one, and it does so
// here, at compile time: at run time a wrong convention corrupts the stack.
template <typename Fn> inline constexpr bool isSystemCall = false;
template <typename R, typename... Args> inline constexpr bool isSystemCall<R(WINAPI*)(Args...)> = true;

// The entry point as the function type it is called through, which states its convention.
template <typename Fn> [[nodiscard]] Fn entryPoint(HMODULE module, const char* name) noexcept {
    static_assert(std::is_pointer_v<Fn> && std::is_function_v<std::remove_pointer_t<Fn>>,
                  "entry points are looked up as pointers to functions");
    static_assert(isSystemCall<Fn>, "system entry points are WINAPI");
    // Through void (*)(), the type GCC lets stand for any function: FARPROC matches no real signature.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(availableEntry(module, name)));
}

// An export known by its ordinal only.
template <typename Fn> [[nodiscard]] Fn entryPointByOrdinal(HMODULE module, WORD ordinal) noexcept {
    return entryPoint<Fn>(module, MAKEINTRESOURCEA(ordinal));
}

} // namespace win32
