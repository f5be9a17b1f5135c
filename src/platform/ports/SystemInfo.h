#pragma once
// Facts about the machine and the running process that the application core asks for.
#include "platform/ports/Status.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ports {

enum class Architecture { X86, X64, Arm64 };

inline constexpr std::uint16_t kImageFileMachineI386 = 0x014C;
inline constexpr std::uint16_t kImageFileMachineAmd64 = 0x8664;
inline constexpr std::uint16_t kImageFileMachineArm64 = 0xAA64;

// How a 32-bit process learns the machine's architecture. `nativeMachine` is what IsWow64Process2
// reports, or nothing when that function does not exist (before Windows 10 1709); then the only
// clue is IsWow64Process, and a WOW64 process is taken to run on x64. ARM64 is recognised only
// through IsWow64Process2; with it, the machine is x64 exactly when it says AMD64.
constexpr Architecture architectureFromWow64(std::optional<std::uint16_t> nativeMachine,
                                             bool wow64Process) noexcept {
    if (!nativeMachine)
        return wow64Process ? Architecture::X64 : Architecture::X86;
    if (*nativeMachine == kImageFileMachineArm64)
        return Architecture::Arm64;
    if (*nativeMachine == kImageFileMachineAmd64)
        return Architecture::X64;
    return Architecture::X86;
}

struct WindowsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

enum class KnownFolder {
    Windows,         // C:\Windows
    System,          // C:\Windows\System32 as the process sees it
    ProgramFiles,    // the native Program Files folder
    ProgramFilesX86, // Program Files (x86) on 64-bit systems, Program Files otherwise
    Temp,            // the user's temporary folder
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    // The machine's own architecture, asked afresh at every call (never cached).
    [[nodiscard]] virtual Architecture nativeArchitecture() noexcept = 0;
    // True when this process runs under WOW64 (a 32-bit process on a 64-bit system).
    [[nodiscard]] virtual bool isWow64Process() noexcept = 0;
    [[nodiscard]] virtual WindowsVersion windowsVersion() noexcept = 0;

    [[nodiscard]] virtual std::uint16_t userDefaultUiLanguage() noexcept = 0;
    virtual void setThreadUiLanguage(std::uint16_t langId) noexcept = 0;

    // Full path of the running executable, whatever its length.
    [[nodiscard]] virtual std::wstring modulePath() noexcept = 0;
    // GetComputerNameW: the NetBIOS name of this machine; "" when it cannot be read.
    [[nodiscard]] virtual std::wstring computerName() noexcept = 0;
    [[nodiscard]] virtual std::wstring knownFolder(KnownFolder folder) noexcept = 0;

    // The ANSI code page (CP_ACP) and conversions through it.
    [[nodiscard]] virtual std::uint32_t ansiCodePage() noexcept = 0;
    [[nodiscard]] virtual Status ansiToWide(std::string_view in, std::wstring& out) noexcept = 0;
    [[nodiscard]] virtual Status wideToAnsi(std::wstring_view in, std::string& out) noexcept = 0;

    // The system's message text for an error code (FormatMessageW from the system, inserts
    // ignored, language neutral/default), with its line end as the system gives it; "" when the
    // system has none.
    [[nodiscard]] virtual std::wstring systemMessage(std::uint32_t code) noexcept = 0;
    // The calling thread's last error (GetLastError).
    [[nodiscard]] virtual std::uint32_t lastError() noexcept = 0;

    // Diagnostics the user never sees (OutputDebugString on Windows).
    virtual void debugOutput(std::wstring_view text) noexcept = 0;

    // COM for the calling thread (CoInitialize with no reserved argument, and CoUninitialize): a
    // worker thread whose calls may reach COM, such as the driver store's, brackets its work with
    // them. Each successful initialisation (S_OK or S_FALSE) needs its uninitialisation.
    [[nodiscard]] virtual Status initializeCom() noexcept = 0;
    virtual void uninitializeCom() noexcept = 0;
};

} // namespace ports
