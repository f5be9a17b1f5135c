// Background commands on the simulated machine's processes: they run without anybody waiting, and
// their owner ends and joins every one of them before the ports they use go away.
#include "app/msglog/RecordingMessageLog.h"
#include "engine/BackgroundCommands.h"
#include "support/TestMachine.h"
#include "unit/engine/DeviceToolFakes.h"
#include "unit/engine/HostTool.h"
#include "unit/engine/WatchedProcesses.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using msglog::LogMessage;
using namespace std::chrono_literals;

const std::wstring kToolFolder = L"C:\\Tools";
const std::wstring kRefresh = L"C:\\Windows\\System32\\ie4uinit.exe -show";
const std::wstring kTestPage = L"rundll32 printui.dll,PrintUIEntry /k /q /n \"CX-420T\"";

struct Rig {
    explicit Rig(sim::Json state = sim::demoMachineState()) : machine(std::move(state)) {
        platform.processesOverride = &processes;
    }
    // A command that runs until it is ended.
    std::wstring longCommand() {
        engine_test::installHostTool(machine.machine(), machine.platform().files(), kToolFolder, L"busy.exe",
                                     engine_test::kRunsForAges);
        return L"\"" + kToolFolder + L"\\busy.exe\" --wait";
    }
    std::vector<std::string> commandsRun() {
        return machine.machine().read([](const sim::Json& s) {
            return s.contains("commandsRun") ? s["commandsRun"].get<std::vector<std::string>>()
                                             : std::vector<std::string>{};
        });
    }

    testing_support::TestMachine machine;
    engine_test::WatchedProcesses processes{machine.platform().processes()};
    engine_test::OverridePlatform platform{machine.platform()};
    msglog::RecordingMessageLog log;
    app::AppContext ctx{.platform = platform};
};

TEST(BackgroundCommands, StartReturnsWhileTheCommandRunsHiddenWithoutInheritance) {
    Rig rig;
    const std::wstring command = rig.longCommand();
    auto commands = std::make_unique<BackgroundCommands>(10ms);
    rig.ctx.backgroundCommands = commands.get();
    StartBackgroundCommand(rig.ctx, command);
    // The child runs for a minute; the start came back long before.
    EXPECT_EQ(commands->running(), 1u);
    commands.reset();

    const auto started = rig.processes.started();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].commandLine, command);
    EXPECT_TRUE(started[0].hidden);
    EXPECT_FALSE(started[0].inheritHandles);
    EXPECT_EQ(started[0].outputPipe, 0u);
}

TEST(BackgroundCommands, TheOwnersEndTerminatesWhatStillRunsAndJoinsEveryThread) {
    Rig rig;
    const std::wstring command = rig.longCommand();
    {
        BackgroundCommands commands(10ms);
        rig.ctx.backgroundCommands = &commands;
        StartBackgroundCommand(rig.ctx, command);
    }
    rig.processes.retire();
    EXPECT_EQ(rig.processes.terminations(), 1);
    // No thread is left inside the port, and none comes back to it.
    EXPECT_EQ(rig.processes.callsUnderWay(), 0);
    EXPECT_EQ(rig.processes.usesAfterRetirement(), 0);
}

TEST(BackgroundCommands, CommandsThatEndInTimeAreNotTerminated) {
    Rig rig;
    {
        BackgroundCommands commands;
        rig.ctx.backgroundCommands = &commands;
        for (int i = 0; i < 20; ++i)
            StartBackgroundCommand(rig.ctx, i % 2 ? kRefresh : kTestPage);
    }
    EXPECT_EQ(rig.processes.terminations(), 0);
    EXPECT_EQ(rig.commandsRun().size(), 20u);
}

TEST(BackgroundCommands, LogTheirCommandLineOnlyInDebugMode) {
    for (const int debug : {0, 1}) {
        SCOPED_TRACE(debug);
        Rig rig;
        rig.ctx.debugMode = debug;
        {
            BackgroundCommands commands;
            rig.ctx.backgroundCommands = &commands;
            StartBackgroundCommand(rig.ctx, kRefresh);
        }
        std::vector<LogMessage> expected;
        if (debug)
            expected.push_back({kRefresh, msglog::kBlack});
        EXPECT_EQ(rig.log.messages(), expected);
    }
}

TEST(BackgroundCommands, ThatCannotStartAreDroppedSilently) {
    sim::Json state = sim::demoMachineState();
    state["faults"] = {{{"operation", "CreateProcessW"}, {"code", 2}}};
    Rig rig(state);
    {
        BackgroundCommands commands;
        rig.ctx.backgroundCommands = &commands;
        StartBackgroundCommand(rig.ctx, kRefresh);
    }
    EXPECT_EQ(rig.processes.started().size(), 1u);
    EXPECT_TRUE(rig.commandsRun().empty());
    EXPECT_EQ(rig.log.messages(), std::vector<LogMessage>{});
}

TEST(BackgroundCommands, NothingRunsWithoutAnOwnerOrAfterItStopped) {
    Rig rig;
    StartBackgroundCommand(rig.ctx, kRefresh); // the context has no owner
    BackgroundCommands commands;
    commands.stop();
    EXPECT_FALSE(commands.start(rig.ctx, kRefresh));
    EXPECT_TRUE(rig.processes.started().empty());
}

} // namespace
