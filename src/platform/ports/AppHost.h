#pragma once
// What the process asks of its machine while it starts and ends: one running copy per machine,
// Windows Sockets, a privilege of the process token, and system libraries whose newer entry points
// may be missing. On Windows these are the named mutex with its registered window message,
// WSAStartup/WSACleanup, AdjustTokenPrivileges and LoadLibraryW/GetProcAddress/FreeLibrary.
#include "platform/ports/Status.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace ports {

// Windows Sockets version words: the low byte is the major version, the high byte the minor one.
inline constexpr std::uint16_t winsockVersion(std::uint8_t major, std::uint8_t minor) {
    return static_cast<std::uint16_t>(major | (minor << 8));
}

namespace winerr {
inline constexpr Status NoSuchPrivilege = 1313;
inline constexpr Status WsaVersionNotSupported = 10092; // WSAVERNOTSUPPORTED
inline constexpr Status WsaNotInitialised = 10093;      // WSANOTINITIALISED
} // namespace winerr

// The claim of a process on its single-instance name. Releasing the object closes the mutex.
class SingleInstance {
public:
    virtual ~SingleInstance() = default;

    // False when another copy held the name already; that copy has then been asked to come forward.
    [[nodiscard]] virtual bool first() const noexcept = 0;

    // Windows: the registered window message that later copies broadcast to the applications'
    // top-level windows; the main window answers it. 0 where requests arrive by polling instead.
    [[nodiscard]] virtual std::uint32_t activationMessage() const noexcept = 0;

    // The requests of later copies that arrived since the last call and were not delivered as the
    // window message (the simulated machine's way). Always 0 on Windows.
    [[nodiscard]] virtual int takeActivationRequests() noexcept = 0;
};

// A loaded system library; destroying it frees the library.
class Module {
public:
    virtual ~Module() = default;
    // True when the library exports `name` (case-sensitive, as GetProcAddress compares).
    [[nodiscard]] virtual bool hasEntryPoint(const char* name) const noexcept = 0;
};

class AppHost {
public:
    virtual ~AppHost() = default;

    // Registers a window message named `id` and creates a mutex of the same name. When the mutex
    // existed already, the message is broadcast to every application's top-level windows and the
    // claim's first() is false.
    [[nodiscard]] virtual std::unique_ptr<SingleInstance>
    claimSingleInstance(std::wstring_view id) noexcept = 0;

    // WSAStartup asking for `requested`; `reported` receives the version the library offers.
    [[nodiscard]] virtual Status startWinsock(std::uint16_t requested, std::uint16_t& reported) noexcept = 0;
    [[nodiscard]] virtual Status cleanupWinsock() noexcept = 0;

    // Enables the named privilege (for example "SeLoadDriverPrivilege") in the process token.
    [[nodiscard]] virtual Status enablePrivilege(std::wstring_view name) noexcept = 0;

    // LoadLibraryW(name); null with `status` set when it cannot be loaded.
    [[nodiscard]] virtual std::unique_ptr<Module> loadLibrary(std::wstring_view name,
                                                              Status& status) noexcept = 0;
};

} // namespace ports
