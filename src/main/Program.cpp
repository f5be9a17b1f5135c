#include "main/Program.h"

#include "app/text/Format.h"

CommandLine parseCommandLine(std::vector<std::wstring> args) {
    CommandLine cmd;
    for (const auto& a : args) {
        if (a == L"-simulate") {
            cmd.simulate = true;
        } else if (a.starts_with(L"-simulate=")) {
            cmd.simulate = true;
            cmd.simulateFile = a.substr(10);
        }
    }
    cmd.args = std::move(args);
    return cmd;
}

namespace {

const wchar_t* architectureName(ports::Architecture a) {
    switch (a) {
    case ports::Architecture::X86:
        return L"x86";
    case ports::Architecture::X64:
        return L"x64";
    case ports::Architecture::Arm64:
        return L"ARM64";
    }
    return L"?";
}

} // namespace

int runProgram(ports::Platform& platform, const CommandLine&,
               const std::function<void(std::wstring_view)>& say) {
    auto& sys = platform.system();
    const auto v = sys.windowsVersion();
    say(text::format(L"Orvello on %s Windows %u.%u.%u (%s), user interface language 0x%04X",
                     platform.simulated() ? L"a simulated" : L"this", v.major, v.minor, v.build,
                     architectureName(sys.nativeArchitecture()), sys.userDefaultUiLanguage()));
    struct Item {
        const wchar_t* name;
        std::wstring_view type;
        std::uint16_t id;
    };
    const Item items[] = {{L"driver catalogue", ports::kResourceTypeXml, ports::kResourceCatalogue},
                          {L"manufacturer records", ports::kResourceTypeXml, ports::kResourceManufacturers},
                          {L"skin archive", ports::kResourceTypeZip, ports::kResourceSkin}};
    int missing = 0;
    for (const auto& item : items) {
        const auto bytes = platform.resources().find(item.type, item.id);
        if (bytes)
            say(text::format(L"resource %s %u (%s): %u bytes", std::wstring(item.type), item.id, item.name,
                             bytes->size()));
        else
            say(text::format(L"resource %s %u (%s): missing", std::wstring(item.type), item.id, item.name)),
                ++missing;
    }
    say(text::format(L"persisted SetupMode: %d", platform.profile().readInt(L"SetupMode", L"SetupMode", 0)));
    say(L"start-up stops here: the main window is not built yet");
    return missing ? 1 : 0;
}
