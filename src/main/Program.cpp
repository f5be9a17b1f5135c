#include "main/Program.h"

#include "app/CApp.h"
#include "base/Format.h"
#include "cli/CliCommand.h"
#include "cli/UnattendedRun.h"
#include "engine/BackgroundCommands.h"
#include "engine/OutputCapture.h"

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

bool isUnattended(const CommandLine& cmd) {
    return cli::isUnattendedRun(cmd.args);
}

int runProgram(ports::Platform& platform, const CommandLine& cmd, const Say& say, const Say& sayError,
               const MakeUserInterface& makeUi) {
    const auto makeParts = [&] {
        app::AppParts parts;
        parts.outputPipe = std::make_shared<OutputPipe>();
        parts.backgroundCommands = std::make_shared<BackgroundCommands>();
        return parts;
    };
    if (isUnattended(cmd)) {
        const cli::Console console{say, sayError ? sayError : say};
        return cli::RunUnattended(platform, cmd.args, console, L"" ORVELLO_VERSION_TEXT,
                                  [&](std::unique_ptr<app::AppUserInterface> ui) {
                                      app::AppParts parts = makeParts();
                                      parts.ui = std::move(ui);
                                      CApp theApp(platform, std::move(parts));
                                      return app::runProcess(theApp, cmd.args);
                                  });
    }
    auto& sys = platform.system();
    const auto v = sys.windowsVersion();
    say(text::format(L"Orvello on %s Windows %u.%u.%u (%s), user interface language 0x%04X",
                     platform.simulated() ? L"a simulated" : L"this", v.major, v.minor, v.build,
                     architectureName(sys.nativeArchitecture()), sys.userDefaultUiLanguage()));
    // CApp loads the catalogue and picks the language itself; the engine's output pipe and the owner
    // of its background commands are made here, where the engine is linked, and CApp holds them. Without
    // a user interface of the program's own, the stand-in says how far start-up got.
    app::AppParts parts = makeParts();
    parts.say = say;
    if (makeUi)
        parts.ui = makeUi(say);
    CApp theApp(platform, std::move(parts));
    return app::runProcess(theApp, cmd.args);
}
