// Running the device-console tool and the output pipe behind it, on the simulated machine's child
// processes and pipes: host shell scripts stand in for the tool.
#include "app/msglog/RecordingMessageLog.h"
#include "engine/DeviceTool.h"
#include "engine/OutputCapture.h"
#include "support/TestMachine.h"
#include "unit/engine/DeviceToolFakes.h"
#include "unit/engine/HostTool.h"
#include "unit/engine/WatchedProcesses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using msglog::LogMessage;

const std::wstring kWorkingFolder = L"C:\\Program Files\\LabelPrinterDriver\\";
const std::wstring kToolPath = L"\"C:\\Program Files\\LabelPrinterDriver\\Drivers\\devcon64.exe\"";

// One machine whose processes are watched, a recording message log and the output pipe.
struct Rig {
    explicit Rig(sim::Json state = sim::demoMachineState()) : machine(std::move(state)) {
        platform.processesOverride = &processes;
    }
    ~Rig() { StopOutputCapture(pipe); }

    // The device-console tool of this machine runs `script`.
    void installTool(std::string_view script) {
        engine_test::installHostTool(machine.machine(), machine.platform().files(),
                                     kWorkingFolder + L"Drivers", L"devcon64.exe", script);
    }
    void startCapture() { ASSERT_EQ(StartOutputCapture(ctx, pipe), ports::winerr::Success); }
    // Stops the capture, so that everything the reader got has been logged.
    std::vector<LogMessage> messagesAfterStop() {
        StopOutputCapture(pipe);
        return log.messages();
    }

    testing_support::TestMachine machine;
    engine_test::WatchedProcesses processes{machine.platform().processes()};
    engine_test::OverridePlatform platform{machine.platform()};
    msglog::RecordingMessageLog log;
    OutputPipe pipe;
    app::AppContext ctx{.platform = platform,
                        .workingFolder = kWorkingFolder,
                        .deviceConsoleTool = L"devcon64.exe",
                        .outputPipe = &pipe};
};

// The tool's output as logged: every message but the command line and the exit code.
std::wstring outputOf(const std::vector<LogMessage>& messages) {
    std::wstring all;
    for (const auto& m : messages)
        if (!m.text.starts_with(kToolPath) && !m.text.starts_with(L"return dwCode"))
            all += m.text;
    return all;
}

TEST(RunDeviceTool, CommandLineIsTheQuotedToolPathFollowedByTheArgumentsUnchanged) {
    struct Case {
        const wchar_t* arguments;
        std::wstring commandLine;
    };
    const Case cases[] = {
        {L" /r update \"C:\\Program Files\\LabelPrinterDriver\\CorvaneExNew.inf\" "
         L"\"USBPRINT\\CorvaneExCX-420T6B1F\"",
         kToolPath + L" /r update \"C:\\Program Files\\LabelPrinterDriver\\CorvaneExNew.inf\" "
                     L"\"USBPRINT\\CorvaneExCX-420T6B1F\""},
        // No blank between the tool path and the removal arguments.
        {L"/r remove \"@USB\\VID_2E3C&PID_0101\\5&2F3A1C&0&1\"",
         kToolPath + L"/r remove \"@USB\\VID_2E3C&PID_0101\\5&2F3A1C&0&1\""},
        {L" rescan", kToolPath + L" rescan"},
    };
    Rig rig;
    rig.installTool("exit 0");
    rig.startCapture();
    for (const auto& c : cases)
        EXPECT_EQ(RunDeviceTool(rig.ctx, c.arguments), 0);

    const auto started = rig.processes.started();
    ASSERT_EQ(started.size(), std::size(cases));
    for (std::size_t i = 0; i < started.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(started[i].commandLine, cases[i].commandLine);
        EXPECT_TRUE(started[i].hidden);
        EXPECT_TRUE(started[i].inheritHandles);
        EXPECT_EQ(started[i].outputPipe, rig.pipe.writeEnd.id()); // standard output and error
    }
}

TEST(RunDeviceTool, WithoutOutputCaptureTheToolGetsNoPipe) {
    Rig rig;
    rig.installTool("exit 0");
    EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), 0);
    rig.ctx.outputPipe = nullptr;
    EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), 0);
    for (const auto& s : rig.processes.started())
        EXPECT_EQ(s.outputPipe, 0u);
}

TEST(RunDeviceTool, ReturnsTheToolsExitCode) {
    for (const int code : {0, 1, 2, 3, 42}) {
        SCOPED_TRACE(code);
        Rig rig;
        rig.installTool("exit " + std::to_string(code));
        EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), code);
    }
}

TEST(RunDeviceTool, UnreadableExitCodeGivesMinusOneLoggedSigned) {
    Rig rig;
    rig.installTool("exit 0");
    rig.ctx.debugMode = 1;
    rig.processes.exitCodeFailure = ports::winerr::AccessDenied;
    EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), kDeviceToolNoExitCode);
    EXPECT_EQ(rig.log.messages().back(), (LogMessage{L"return dwCode = -1", msglog::kBlack}));
}

TEST(RunDeviceTool, ToolThatCannotStartGivesMinusTwoAndNoReport) {
    for (const int debug : {0, 1}) {
        SCOPED_TRACE(debug);
        Rig rig; // nothing unpacked yet: the tool is not on the disk
        rig.ctx.debugMode = debug;
        EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), kDeviceToolNotStarted);
        // Debug mode shows the command line before the start; no failure message, no exit code.
        std::vector<LogMessage> expected;
        if (debug)
            expected.push_back({kToolPath + L" rescan", msglog::kBlack});
        EXPECT_EQ(rig.log.messages(), expected);
    }
}

TEST(RunDeviceTool, DebugModeOffLogsNothingAtAll) {
    Rig rig;
    rig.installTool(engine_test::printingScript({"Updating drivers for USBPRINT\\CorvaneExCX-420T6B1F."}, 1));
    rig.startCapture();
    EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), 1);
    EXPECT_EQ(rig.messagesAfterStop(), std::vector<LogMessage>{});
}

TEST(RunDeviceTool, DebugModeLogsCommandLineOutputAndExitCodeInBlack) {
    Rig rig;
    rig.ctx.debugMode = 1;
    rig.installTool(
        engine_test::printingScript({"Updating drivers for X.", "Drivers installed successfully."}, 2));
    rig.startCapture();
    EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), 2);
    const auto messages = rig.messagesAfterStop();

    // The reader posts on its own thread, so the output may come before or after the exit code.
    ASSERT_GE(messages.size(), 3u);
    EXPECT_EQ(messages.front(), (LogMessage{kToolPath + L" rescan", msglog::kBlack}));
    for (const auto& m : messages)
        EXPECT_EQ(m.colour, msglog::kBlack);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), LogMessage{L"return dwCode = 2", msglog::kBlack}),
              1);
    EXPECT_EQ(outputOf(messages), L"Updating drivers for X.\r\nDrivers installed successfully.\r\n");
}

TEST(OutputCapture, ChunksOfAtMost4095BytesCarryAllTheOutputInOrder) {
    Rig rig;
    rig.ctx.debugMode = 1;
#ifdef _WIN32
    rig.installTool("for /L %i in (0,1,699) do @echo line %i of the tool output");
#else
    rig.installTool(
        "i=0; while [ $i -lt 700 ]; do printf 'line %d of the tool output\\r\\n' $i; i=$((i+1)); done");
#endif
    std::wstring expected;
    for (int i = 0; i < 700; ++i)
        expected += L"line " + std::to_wstring(i) + L" of the tool output\r\n";
    rig.startCapture();
    EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), 0);
    const auto messages = rig.messagesAfterStop();
    for (const auto& m : messages)
        EXPECT_LE(m.text.size(), CThreadPipe::kChunkBytes);
    EXPECT_EQ(outputOf(messages), expected);
}

TEST(OutputCapture, ToolWritingFarMoreThanThePipeHoldsRunsToItsEnd) {
    Rig rig;
#ifdef _WIN32
    rig.installTool("for /L %i in (1,1,2000) do @echo "
                    "0123456789012345678901234567890123456789012345678901234567890123456789");
#else
    rig.installTool("head -c 1000000 /dev/zero | tr '\\0' x");
#endif
    rig.startCapture();
    // Had nobody drained the pipe, the tool would still be writing.
    EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), 0);
}

TEST(OutputCapture, ConvertsFromTheMachinesAnsiCodePage) {
    auto state = sim::demoMachineState();
    state["system"]["codePage"] = 1252;
    Rig rig(state);
    rig.ctx.debugMode = 1;
    rig.startCapture();
    std::vector<std::uint8_t> bytes{'C', 'a', 'f', 0xE9, ' ', 0x80};
    ASSERT_EQ(rig.processes.writePipe(rig.pipe.writeEnd, bytes), ports::winerr::Success);
    EXPECT_EQ(rig.messagesAfterStop(), (std::vector<LogMessage>{{L"Caf\u00E9 \u20AC", msglog::kBlack}}));
}

TEST(OutputCapture, StartRedirectsStandardOutputAndStopUndoesEverything) {
    Rig rig;
    rig.startCapture();
    EXPECT_EQ(rig.processes.inheritablePipes(), 1);
    EXPECT_EQ(rig.processes.redirections(), 1);
    EXPECT_TRUE(rig.pipe.writeEnd);
    EXPECT_TRUE(rig.pipe.reader.joinable());

    rig.startCapture(); // already capturing: nothing new
    EXPECT_EQ(rig.processes.pipesMade(), 1);

    StopOutputCapture(rig.pipe);
    EXPECT_EQ(rig.processes.restorations(), 1);
    EXPECT_FALSE(rig.pipe.writeEnd);
    EXPECT_FALSE(rig.pipe.reader.joinable());
    // The reader is joined: nothing is left inside the port.
    EXPECT_EQ(rig.processes.callsUnderWay(), 0);

    StopOutputCapture(rig.pipe); // twice is harmless
    EXPECT_EQ(rig.processes.restorations(), 1);
}

} // namespace
