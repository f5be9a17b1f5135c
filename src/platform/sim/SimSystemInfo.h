#pragma once
// Machine facts from the simulated machine's "system" section: architecture ("x86", "x64", "ARM64"),
// whether the system has IsWow64Process2 ("isWow64Process2", true unless false), Windows version
// ("10.0.19045"), the user's UI language, the ANSI code page (65001 UTF-8 by default;
// 1252, 28591 and 20127 are also known) and the program's path. The fault "SHGetFolderPath" makes the
// next folder lookup find nothing. System messages are those of an English Windows.
#include "platform/ports/SystemInfo.h"
#include "platform/sim/SimMachine.h"

#include <mutex>
#include <vector>

namespace sim {

// The English text Windows gives for the error codes the simulated machine knows (with "\r\n"), ""
// for others. HRESULTs of the Win32 facility (0x8007xxxx) read as their Win32 code.
std::wstring englishSystemMessage(std::uint32_t code);

class SimSystemInfo final : public ports::SystemInfo {
public:
    explicit SimSystemInfo(SimMachine& machine) : machine_(machine) {}

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
    // How many initialisations the calling thread holds.
    static int comDepthOfThisThread() noexcept;

    std::uint16_t threadUiLanguage() const { return threadUiLanguage_; }
    std::vector<std::wstring> debugLines() const;

private:
    ports::Architecture machineArchitecture();

    SimMachine& machine_;
    std::uint16_t threadUiLanguage_ = 0;
    mutable std::mutex debugMutex_;
    std::vector<std::wstring> debugLines_;
};

} // namespace sim
