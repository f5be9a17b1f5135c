#pragma once
// Machine facts from the running Windows system.
#include "platform/ports/SystemInfo.h"

#include <windows.h>

namespace win32 {

class Win32SystemInfo final : public ports::SystemInfo {
public:
    ports::Architecture nativeArchitecture() noexcept override;
    bool isWow64Process() noexcept override;
    ports::WindowsVersion windowsVersion() noexcept override;
    std::uint16_t userDefaultUiLanguage() noexcept override;
    void setThreadUiLanguage(std::uint16_t langId) noexcept override;
    std::wstring modulePath() noexcept override;
    std::wstring computerName() noexcept override;
    std::wstring knownFolder(ports::KnownFolder folder) noexcept override;
    std::uint32_t ansiCodePage() noexcept override;
    ports::Status ansiToWide(std::string_view in, std::wstring& out) noexcept override;
    ports::Status wideToAnsi(std::wstring_view in, std::string& out) noexcept override;
    std::wstring systemMessage(std::uint32_t code) noexcept override;
    std::uint32_t lastError() noexcept override;
    void debugOutput(std::wstring_view text) noexcept override;
    ports::Status initializeCom() noexcept override;
    void uninitializeCom() noexcept override;
};

// The full path of a loaded module (null: the executable), however long it is.
std::wstring modulePathOf(HMODULE module);

} // namespace win32
