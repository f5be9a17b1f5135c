#pragma once
// Machine facts from the running Windows system.
#include "platform/ports/SystemInfo.h"

#include <windows.h>

namespace win32 {

class Win32SystemInfo final : public ports::SystemInfo {
public:
    ports::Architecture nativeArchitecture() override;
    bool isWow64Process() override;
    ports::WindowsVersion windowsVersion() override;
    std::uint16_t userDefaultUiLanguage() override;
    void setThreadUiLanguage(std::uint16_t langId) override;
    std::wstring modulePath() override;
    std::wstring knownFolder(ports::KnownFolder folder) override;
    std::uint32_t ansiCodePage() override;
    ports::Status ansiToWide(std::string_view in, std::wstring& out) override;
    ports::Status wideToAnsi(std::wstring_view in, std::string& out) override;
    std::wstring systemMessage(std::uint32_t code) override;
    std::uint32_t lastError() override;
    void debugOutput(std::wstring_view text) override;
};

// The full path of a loaded module (null: the executable), however long it is.
std::wstring modulePathOf(HMODULE module);

} // namespace win32
