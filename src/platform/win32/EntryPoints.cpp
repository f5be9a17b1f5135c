#include "platform/win32/EntryPoints.h"

#include <cstdint>
#include <initializer_list>

namespace win32 {

bool runningOnWine() noexcept {
    // Only its presence counts: it is never called.
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

FARPROC availableEntry(HMODULE module, const char* nameOrOrdinal) noexcept {
    if (!module || !nameOrOrdinal)
        return nullptr;
    const FARPROC entry = GetProcAddress(module, nameOrOrdinal);
    return entry && isWineStub(reinterpret_cast<const void*>(entry)) ? nullptr : entry;
}

bool isWineStub(const void* entry) noexcept {
#if defined(__i386__) || defined(__x86_64__)
    if (!entry || !runningOnWine())
        return false;
    const auto* code = static_cast<const std::uint8_t*>(entry);
    std::size_t at = 0;
    auto match = [&](std::initializer_list<std::uint8_t> bytes, std::size_t skip) {
        for (std::uint8_t b : bytes) {
            if (code[at++] != b)
                return false;
        }
        at += skip;
        return true;
    };
#if defined(__i386__)
    // Hot-patch padding, then: sub $12,%esp; movl $name,4(%esp); movl $module,(%esp);
    // call __wine_spec_unimplemented_stub
    while (at < 16 && code[at] == 0x90)
        ++at;
    return match({0x83, 0xEC, 0x0C}, 0) && match({0xC7, 0x44, 0x24, 0x04}, 4) &&
           match({0xC7, 0x04, 0x24}, 4) && match({0xE8}, 0);
#else
    // sub $0x28,%rsp; lea module(%rip),%rcx; lea name(%rip),%rdx; call __wine_spec_unimplemented_stub
    return match({0x48, 0x83, 0xEC, 0x28}, 0) && match({0x48, 0x8D, 0x0D}, 4) &&
           match({0x48, 0x8D, 0x15}, 4) && match({0xE8}, 0);
#endif
#else
    (void)entry; // Wine runs x86 and x64 programs only
    return false;
#endif
}

} // namespace win32
