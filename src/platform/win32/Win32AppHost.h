#pragma once
// Process start and end on Windows: the single-instance mutex and its registered window message,
// Windows Sockets, the process token's privileges and run-time loaded system libraries.
#include "platform/ports/AppHost.h"

#include <windows.h>

namespace win32 {

class Win32AppHost final : public ports::AppHost {
public:
    std::unique_ptr<ports::SingleInstance> claimSingleInstance(std::wstring_view id) noexcept override;
    ports::Status startWinsock(std::uint16_t requested, std::uint16_t& reported) noexcept override;
    ports::Status cleanupWinsock() noexcept override;
    ports::Status enablePrivilege(std::wstring_view name) noexcept override;
    std::unique_ptr<ports::Module> loadLibrary(std::wstring_view name,
                                               ports::Status& status) noexcept override;
};

// The library handle behind a module this host loaded, for the Win32 code that calls its entry
// points; null for a module of another kind.
HMODULE moduleHandle(const ports::Module& module);

} // namespace win32
