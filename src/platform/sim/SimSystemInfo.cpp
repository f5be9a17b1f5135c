#include "platform/sim/SimSystemInfo.h"

#include "base/Utf.h"
#include "platform/sim/SimJson.h"
#include "platform/sim/SimPrintSystem.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace sim {
using ports::Architecture;
using ports::Status;
namespace winerr = ports::winerr;

namespace {

constexpr std::uint32_t kUtf8 = 65001, kWindows1252 = 1252, kLatin1 = 28591, kAscii = 20127;

// The 0x80-0x9F row of Windows-1252; 0 marks the five unassigned bytes.
constexpr char16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

const Json& section(const Json& s) {
    static const Json empty = Json::object();
    auto it = s.find("system");
    return it != s.end() && it->is_object() ? *it : empty;
}

} // namespace

// The machine's own architecture as the state names it.
Architecture SimSystemInfo::machineArchitecture() {
    const std::string a =
        machine_.read([](const Json& s) { return u8(textOf(section(s), "architecture", L"x64")); });
    if (a == "x86")
        return Architecture::X86;
    if (a == "ARM64" || a == "arm64")
        return Architecture::Arm64;
    return Architecture::X64;
}

// What a 32-bit program finds out, by the same rule as on Windows: a machine whose system lacks
// IsWow64Process2 ("isWow64Process2": false) can only be told apart as WOW64 or not.
Architecture SimSystemInfo::nativeArchitecture() noexcept {
    const Architecture machine = machineArchitecture();
    const bool hasIsWow64Process2 =
        machine_.read([](const Json& s) { return flagOf(section(s), "isWow64Process2", true); });
    std::optional<std::uint16_t> native;
    if (hasIsWow64Process2)
        native = machine == Architecture::Arm64 ? ports::kImageFileMachineArm64
                 : machine == Architecture::X64 ? ports::kImageFileMachineAmd64
                                                : ports::kImageFileMachineI386;
    return ports::architectureFromWow64(native, machine != Architecture::X86);
}

// The wizard is a 32-bit program: on any 64-bit machine it runs under WOW64.
bool SimSystemInfo::isWow64Process() noexcept {
    return machineArchitecture() != Architecture::X86;
}

ports::WindowsVersion SimSystemInfo::windowsVersion() noexcept {
    const std::string v =
        machine_.read([](const Json& s) { return u8(textOf(section(s), "windowsVersion", L"10.0.19045")); });
    ports::WindowsVersion out;
    std::sscanf(v.c_str(), "%u.%u.%u", &out.major, &out.minor, &out.build);
    return out;
}

std::uint16_t SimSystemInfo::userDefaultUiLanguage() noexcept {
    return machine_.read(
        [](const Json& s) { return static_cast<std::uint16_t>(numberOf(section(s), "uiLanguage", 0x0409)); });
}

void SimSystemInfo::setThreadUiLanguage(std::uint16_t langId) noexcept {
    threadUiLanguage_ = langId;
}

std::wstring SimSystemInfo::modulePath() noexcept {
    return text::fromUtf8(machine_.read([](const Json& s) {
        return u8(textOf(section(s), "modulePath", L"C:\\Program Files (x86)\\Orvello\\Orvello.exe"));
    }));
}

std::wstring SimSystemInfo::computerName() noexcept {
    return text::fromUtf8(
        machine_.read([](const Json& s) { return u8(textOf(section(s), "computerName", L"SHOP-PC")); }));
}

std::wstring SimSystemInfo::knownFolder(ports::KnownFolder folder) noexcept {
    // The fault "SHGetFolderPath" makes the next lookup find nothing.
    const bool faulty = machine_.read([](const Json& s) {
        auto f = s.find("faults");
        return f != s.end() && f->is_array() && std::any_of(f->begin(), f->end(), [](const Json& e) {
                   const Json& name = memberOf(e, "operation");
                   return name.is_string() && name.get_ref<const std::string&>() == "SHGetFolderPath";
               });
    });
    if (faulty && machine_.write([](Json& s) { return SimMachine::takeFault(s, "SHGetFolderPath"); }))
        return {};
    const bool is64 = machineArchitecture() != Architecture::X86;
    const std::wstring windows =
        text::fromUtf8(machine_.read([](const Json& s) { return u8(windowsFolder(s)); }));
    switch (folder) {
    case ports::KnownFolder::Windows:
        return windows;
    case ports::KnownFolder::System:
        return windows + L"\\System32";
    case ports::KnownFolder::ProgramFiles:
        return L"C:\\Program Files";
    case ports::KnownFolder::ProgramFilesX86:
        return is64 ? L"C:\\Program Files (x86)" : L"C:\\Program Files";
    case ports::KnownFolder::Temp:
        return L"C:\\Users\\User\\AppData\\Local\\Temp";
    }
    return {};
}

std::uint32_t SimSystemInfo::ansiCodePage() noexcept {
    return machine_.read([](const Json& s) { return section(s).value<std::uint32_t>("codePage", kUtf8); });
}

Status SimSystemInfo::ansiToWide(std::string_view in, std::wstring& out) noexcept {
    const std::uint32_t cp = ansiCodePage();
    out.clear();
    if (cp == kUtf8) {
        out = text::fromUtf8(in);
        return winerr::Success;
    }
    if (cp != kWindows1252 && cp != kLatin1 && cp != kAscii)
        return winerr::InvalidParameter;
    for (unsigned char c : in) {
        if (c < 0x80 || (cp == kLatin1) || (cp == kWindows1252 && c >= 0xA0))
            out += (cp == kAscii && c >= 0x80) ? L'?' : static_cast<wchar_t>(c);
        else if (cp == kWindows1252)
            out +=
                kCp1252High[c - 0x80] ? static_cast<wchar_t>(kCp1252High[c - 0x80]) : static_cast<wchar_t>(c);
        else
            out += L'?';
    }
    return winerr::Success;
}

Status SimSystemInfo::wideToAnsi(std::wstring_view in, std::string& out) noexcept {
    const std::uint32_t cp = ansiCodePage();
    out.clear();
    if (cp == kUtf8) {
        out = text::toUtf8(in);
        return winerr::Success;
    }
    if (cp != kWindows1252 && cp != kLatin1 && cp != kAscii)
        return winerr::InvalidParameter;
    for (wchar_t w : in) {
        const auto c = static_cast<std::uint32_t>(w);
        if (c < 0x80 || (c <= 0xFF && cp == kLatin1) || (c >= 0xA0 && c <= 0xFF && cp == kWindows1252)) {
            out += static_cast<char>(c);
            continue;
        }
        char mapped = '?'; // the default character of WideCharToMultiByte
        if (cp == kWindows1252) {
            for (int i = 0; i < 32; ++i) {
                if (kCp1252High[i] && kCp1252High[i] == c)
                    mapped = static_cast<char>(0x80 + i);
            }
        }
        out += mapped;
    }
    return winerr::Success;
}

std::wstring SimSystemInfo::systemMessage(std::uint32_t code) noexcept {
    return englishSystemMessage(code);
}

// The simulated machine keeps no per-thread error: callers get their codes as results.
std::uint32_t SimSystemInfo::lastError() noexcept {
    return winerr::Success;
}

namespace {
thread_local int comDepth = 0;
} // namespace

ports::Status SimSystemInfo::initializeCom() noexcept {
    ++comDepth;
    return ports::winerr::Success;
}

void SimSystemInfo::uninitializeCom() noexcept {
    if (comDepth > 0)
        --comDepth;
}

int SimSystemInfo::comDepthOfThisThread() noexcept {
    return comDepth;
}

void SimSystemInfo::debugOutput(std::wstring_view line) noexcept {
    {
        std::lock_guard lock(debugMutex_);
        debugLines_.emplace_back(line);
    }
    if (std::getenv("ORVELLO_DEBUG_OUTPUT"))
        std::fprintf(stderr, "%s\n", text::toUtf8(line).c_str());
}

std::vector<std::wstring> SimSystemInfo::debugLines() const {
    std::lock_guard lock(debugMutex_);
    return debugLines_;
}

} // namespace sim
