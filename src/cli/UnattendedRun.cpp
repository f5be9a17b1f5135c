#include "cli/UnattendedRun.h"

#include "app/CApp.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/Usage.h"

namespace cli {

UnattendedRun::UnattendedRun(ports::Platform& platform, Command command, Console console)
    : platform_(platform), command_(std::move(command)), console_(std::move(console)),
      log_(platform, console_, command_.logFile, command_.quiet) {}

ports::Status UnattendedRun::openLog(std::wstring_view version) {
    return log_.open(L"Orvello " + std::wstring(version) + L", unattended");
}

bool UnattendedRun::createMainWindow(CApp& app, const app::MainWindowParameters&) {
    app_ = &app;
    return true;
}

void UnattendedRun::anotherCopyRuns() {
    log_.error(L"another copy of the wizard is running: nothing was changed");
    exitCode_ = kExitAnotherCopyRuns;
}

void UnattendedRun::messageBox(std::wstring_view text, std::wstring_view caption) {
    log_.error(std::wstring(caption) + L": " + std::wstring(text));
}

void UnattendedRun::runMessageLoop() {
    switch (command_.verb) {
    case Verb::Install:
        exitCode_ = RunInstallCommand(*app_, command_, log_);
        break;
    case Verb::Search:
        exitCode_ = RunSearchCommand(*app_, command_, log_, console_);
        break;
    case Verb::List:
        exitCode_ = RunListCommand(*app_, command_, console_);
        break;
    case Verb::Upgrade:
    case Verb::Delete:
        // The removal and upgrade routines of the delete and update pages are not built yet; doing
        // a part of their clean-up here would leave machines half-changed.
        log_.error(std::wstring(command_.verb == Verb::Upgrade ? L"/upgrade" : L"/delete") +
                   L" is not available in this version: nothing was changed");
        exitCode_ = kExitNotAvailable;
        break;
    case Verb::Help:
    case Verb::Version:
        exitCode_ = kExitSuccess;
        break;
    }
    log_.info(L"exit code " + std::to_wstring(exitCode_));
}

int RunUnattended(ports::Platform& platform, std::span<const std::wstring> args, const Console& console,
                  std::wstring_view version,
                  const std::function<int(std::unique_ptr<app::AppUserInterface>)>& runApp) {
    ParseOutcome parsed = parseCommand(args);
    if (!parsed.command) {
        console.err(parsed.error);
        console.err(L"");
        console.err(usageText());
        return kExitBadCommandLine;
    }
    if (parsed.command->verb == Verb::Help) {
        console.out(usageText());
        return kExitSuccess;
    }
    if (parsed.command->verb == Verb::Version) {
        console.out(L"Orvello " + std::wstring(version));
        return kExitSuccess;
    }
    const std::wstring logFile = parsed.command->logFile;
    auto run = std::make_unique<UnattendedRun>(platform, std::move(*parsed.command), console);
    if (const ports::Status status = run->openLog(version); status != ports::winerr::Success) {
        console.err(L"the log file " + logFile + L" cannot be written (error " + std::to_wstring(status) +
                    L"): nothing was changed");
        return kExitBadCommandLine;
    }
    return runApp(std::move(run));
}

} // namespace cli
