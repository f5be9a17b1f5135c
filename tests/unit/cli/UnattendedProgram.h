#pragma once
// The program run unattended on a simulated machine as its entry point runs it: start-up, the
// command, the exit code. The machine gets the system folders the engine writes to.
#include "app/CApp.h"
#include "cli/UnattendedRun.h"
#include "engine/BackgroundCommands.h"
#include "engine/OutputCapture.h"
#include "platform/sim/SimPlatform.h"
#include "unit/engine/InstallRig.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace cli_test {

inline void makeSystemFolders(sim::SimPlatform& platform, sim::SimMachine& machine) {
    const std::wstring windows = platform.system().knownFolder(ports::KnownFolder::Windows);
    for (const std::wstring& folder :
         {windows + L"\\System32", windows + L"\\SysWOW64", std::wstring(engine_test::kDriverFolder)})
        std::filesystem::create_directories(machine.hostPath(folder));
}

inline int runUnattended(sim::SimPlatform& platform, const std::vector<std::wstring>& args,
                         const cli::Console& console, std::wstring_view version) {
    return cli::RunUnattended(platform, args, console, version,
                              [&](std::unique_ptr<app::AppUserInterface> ui) {
                                  app::AppParts parts;
                                  parts.ui = std::move(ui);
                                  parts.outputPipe = std::make_shared<OutputPipe>();
                                  parts.backgroundCommands = std::make_shared<BackgroundCommands>();
                                  CApp app(platform, std::move(parts));
                                  return app::runProcess(app, args);
                              });
}

} // namespace cli_test
