#pragma once
// The program without its window: start-up runs as for the wizard (catalogue, language, skin,
// single instance, log file), then, where the wizard would open its main window, the command of the
// command line runs on the engine routines the pages use, and its outcome becomes the exit code.
// Nothing is shown and nothing waits for input: a message box the wizard would show becomes a red
// line of the run's log.
#include "app/AppUserInterface.h"
#include "cli/CliCommand.h"
#include "cli/Console.h"
#include "cli/ExitCodes.h"
#include "cli/RunLog.h"

#include <functional>
#include <memory>
#include <span>

#include <string>

namespace cli {

class UnattendedRun final : public app::AppUserInterface {
public:
    UnattendedRun(ports::Platform& platform, Command command, Console console);

    // The log file is written from here on; its error when it cannot be.
    ports::Status openLog(std::wstring_view version);

    bool initialiseFramework() override { return true; }
    bool initialiseToolkit(std::wstring_view, const app::SkinSource&) override { return true; }
    void initialiseRichEdit() override {}
    void registerControlClasses(std::span<const std::wstring_view>) override {}
    bool createMainWindow(CApp& app, const app::MainWindowParameters&) override;
    void runMessageLoop() override;
    void activateMainWindow() override {}
    void anotherCopyRuns() override;
    int exitCode() const override { return exitCode_; }
    void messageBox(std::wstring_view text, std::wstring_view caption) override;
    void deleteShellManager() override {}
    void destroyMainWindow() override {}
    void releaseToolkit() override {}

private:
    ports::Platform& platform_;
    const Command command_;
    const Console console_;
    RunLog log_;
    CApp* app_ = nullptr;
    int exitCode_ = kExitFailedToStart;

    static constexpr int kExitFailedToStart = 1603;
};

// The whole unattended run for `args` (isUnattendedRun): the command line checked, the app made by
// `runApp` with the run as its user interface, the exit code.
int RunUnattended(ports::Platform& platform, std::span<const std::wstring> args, const Console& console,
                  std::wstring_view version,
                  const std::function<int(std::unique_ptr<app::AppUserInterface>)>& runApp);

} // namespace cli
