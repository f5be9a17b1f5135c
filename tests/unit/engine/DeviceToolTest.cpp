// Running the device-console tool, the output pipe behind it and background commands, against
// child processes and pipes of the test doubles.
#include "app/msglog/RecordingMessageLog.h"
#include "engine/DeviceTool.h"
#include "engine/OutputCapture.h"
#include "engine/ThreadCommand.h"
#include "support/TestMachine.h"
#include "unit/engine/DeviceToolFakes.h"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

namespace {

using engine_test::FakeProcesses;
using msglog::LogMessage;

const std::wstring kWorkingFolder = L"C:\\Program Files\\LabelPrinterDriver\\";
const std::wstring kToolPath = L"\"C:\\Program Files\\LabelPrinterDriver\\Drivers\\devcon64.exe\"";

// One machine with test-double processes, a recording message log and the output pipe.
struct Rig {
    explicit Rig(sim::Json state = sim::demoMachineState()) : machine(std::move(state)) {
        platform.processesOverride = &processes;
    }
    ~Rig() { StopOutputCapture(pipe); }

    testing_support::TestMachine machine;
    FakeProcesses processes;
    engine_test::OverridePlatform platform{machine.platform()};
    msglog::RecordingMessageLog log;
    bool debug = false;
    OutputPipe pipe;
    EngineContext ctx{.platform = platform,
                      .debugMode = [this] { return debug; },
                      .workingFolder = kWorkingFolder,
                      .deviceConsoleTool = L"devcon64.exe",
                      .outputPipe = &pipe};

    void startCapture() { ASSERT_EQ(StartOutputCapture(ctx, pipe), ports::winerr::Success); }
    // Stops the capture, so that everything the reader got has been logged.
    std::vector<LogMessage> messagesAfterStop() {
        StopOutputCapture(pipe);
        return log.messages();
    }
};

std::wstring joinTexts(const std::vector<LogMessage>& messages) {
    std::wstring all;
    for (const auto& m : messages)
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
        EXPECT_EQ(started[i].workingDirectory, L"");
        EXPECT_EQ(started[i].outputPipe, rig.pipe.writeEnd.id()); // standard output and error
    }
}

TEST(RunDeviceTool, WithoutOutputCaptureTheToolGetsNoPipe) {
    Rig rig;
    EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), 0);
    rig.ctx.outputPipe = nullptr;
    EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), 0);
    for (const auto& s : rig.processes.started())
        EXPECT_EQ(s.outputPipe, 0u);
}

TEST(RunDeviceTool, ReturnsTheToolsExitCodeAndClosesTheProcess) {
    const std::uint32_t codes[] = {0, 1, 2, 3, 42, 0xC0000005u};
    for (const std::uint32_t code : codes) {
        SCOPED_TRACE(code);
        Rig rig;
        rig.processes.child = [code](const FakeProcesses::Started&, const FakeProcesses::Write&) {
            return code;
        };
        EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), static_cast<int>(code));
        EXPECT_EQ(rig.processes.openHandles(), 0u);
    }
}

TEST(RunDeviceTool, UnreadableExitCodeGivesMinusOne) {
    Rig rig;
    rig.processes.exitCodeStatus = ports::winerr::AccessDenied;
    EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), kDeviceToolNoExitCode);
    EXPECT_EQ(rig.processes.openHandles(), 0u);
}

TEST(RunDeviceTool, ToolThatCannotStartGivesMinusTwoAndNoReport) {
    for (const bool debug : {false, true}) {
        SCOPED_TRACE(debug);
        Rig rig;
        rig.debug = debug;
        rig.processes.startStatus = ports::winerr::FileNotFound; // nothing unpacked yet
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
    rig.startCapture();
    rig.processes.child = [](const FakeProcesses::Started&, const FakeProcesses::Write& write) {
        write("Updating drivers for USBPRINT\\CorvaneExCX-420T6B1F.\r\n");
        return 1u;
    };
    EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), 1);
    EXPECT_EQ(rig.messagesAfterStop(), std::vector<LogMessage>{});
    EXPECT_FALSE(rig.processes.readSizes().empty()); // the output was read, and dropped
}

TEST(RunDeviceTool, DebugModeLogsCommandLineOutputAndExitCodeInBlack) {
    Rig rig;
    rig.debug = true;
    rig.startCapture();
    const std::string output = "Updating drivers for X.\r\nDrivers installed successfully.\r\n";
    rig.processes.child = [&](const FakeProcesses::Started&, const FakeProcesses::Write& write) {
        write(output);
        return 2u;
    };
    EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), 2);
    const auto messages = rig.messagesAfterStop();

    // The reader posts on its own thread, so the output may come before or after the exit code.
    ASSERT_GE(messages.size(), 3u);
    EXPECT_EQ(messages.front(), (LogMessage{kToolPath + L" rescan", msglog::kBlack}));
    std::vector<LogMessage> outputMessages;
    int exitCodeMessages = 0;
    for (std::size_t i = 1; i < messages.size(); ++i) {
        EXPECT_EQ(messages[i].colour, msglog::kBlack);
        if (messages[i].text == L"return dwCode = 2")
            ++exitCodeMessages;
        else
            outputMessages.push_back(messages[i]);
    }
    EXPECT_EQ(exitCodeMessages, 1);
    EXPECT_EQ(joinTexts(outputMessages), std::wstring(output.begin(), output.end()));
}

TEST(RunDeviceTool, NegativeExitCodesAreLoggedSigned) {
    Rig rig;
    rig.debug = true;
    rig.processes.exitCodeStatus = ports::winerr::AccessDenied;
    EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), -1);
    EXPECT_EQ(rig.log.messages().back().text, L"return dwCode = -1");
}

TEST(OutputCapture, ChunksOfAtMost4095BytesCarryAllTheOutputInOrder) {
    Rig rig;
    rig.debug = true;
    rig.processes.pipeCapacity = 64 * 1024; // lets more than one chunk pile up
    rig.startCapture();
    std::string output;
    for (int i = 0; output.size() < 20000; ++i)
        output += "line " + std::to_string(i) + " of the tool's output\r\n";
    rig.processes.child = [&](const FakeProcesses::Started&, const FakeProcesses::Write& write) {
        write(output);
        return 0u;
    };
    EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), 0);
    auto messages = rig.messagesAfterStop();
    std::erase_if(messages, [](const LogMessage& m) {
        return m.text.starts_with(L"return dwCode") || m.text.starts_with(kToolPath);
    });
    for (const auto& m : messages)
        EXPECT_LE(m.text.size(), 4095u);
    EXPECT_GE(messages.size(), 5u);
    EXPECT_EQ(joinTexts(messages), std::wstring(output.begin(), output.end()));
    for (const auto size : rig.processes.readSizes())
        EXPECT_EQ(size, 4095u);
}

TEST(OutputCapture, ToolWritingFarMoreThanThePipeHoldsRunsToItsEnd) {
    Rig rig;
    rig.processes.pipeCapacity = 4096;
    rig.processes.blockedWriteLimit = std::chrono::milliseconds(3000);
    rig.startCapture();
    rig.processes.child = [](const FakeProcesses::Started&, const FakeProcesses::Write& write) {
        const std::string block(64 * 1024, 'x');
        for (int i = 0; i < 16; ++i)
            if (!write(block))
                return 99u; // stuck on a full pipe
        return 0u;
    };
    EXPECT_EQ(RunDeviceTool(rig.ctx, L" rescan"), 0);
    EXPECT_FALSE(rig.processes.writeTimedOut());
}

TEST(OutputCapture, ConvertsFromTheMachinesAnsiCodePage) {
    auto state = sim::demoMachineState();
    state["system"]["codePage"] = 1252;
    Rig rig(state);
    rig.debug = true;
    rig.startCapture();
    std::vector<std::uint8_t> bytes{'C', 'a', 'f', 0xE9, ' ', 0x80};
    ASSERT_EQ(rig.processes.writePipe(rig.pipe.writeEnd, bytes), ports::winerr::Success);
    EXPECT_EQ(rig.messagesAfterStop(), (std::vector<LogMessage>{{L"Caf\u00E9 \u20AC", msglog::kBlack}}));
}

TEST(OutputCapture, StartRedirectsStandardOutputAndStopUndoesEverything) {
    Rig rig;
    rig.startCapture();
    EXPECT_EQ(rig.processes.pipesInheritable(), std::vector<bool>{true});
    EXPECT_EQ(rig.processes.redirectedTo(), std::vector<std::uint64_t>{rig.pipe.writeEnd.id()});
    EXPECT_TRUE(rig.pipe.reader.joinable());

    rig.startCapture(); // already capturing: nothing new
    EXPECT_EQ(rig.processes.pipesInheritable().size(), 1u);

    StopOutputCapture(rig.pipe);
    EXPECT_EQ(rig.processes.restores(), 1);
    EXPECT_FALSE(rig.pipe.writeEnd);
    EXPECT_FALSE(rig.pipe.reader.joinable());
    EXPECT_EQ(rig.processes.openHandles(), 0u); // the reader closed the read end

    StopOutputCapture(rig.pipe); // twice is harmless
    EXPECT_EQ(rig.processes.restores(), 1);
}

TEST(BackgroundCommand, RunsHiddenWithoutInheritanceAndReturnsAtOnce) {
    Rig rig;
    rig.startCapture();
    std::promise<void> release;
    auto released = release.get_future().share();
    bool waitedInVain = false;
    rig.processes.child = [&](const FakeProcesses::Started&, const FakeProcesses::Write&) {
        waitedInVain = released.wait_for(std::chrono::seconds(5)) != std::future_status::ready;
        return 0u;
    };
    const std::wstring command = L"rundll32 printui.dll,PrintUIEntry /k /q /n \"CX-420T\"";
    StartBackgroundCommand(rig.ctx, command);
    release.set_value(); // had the start waited for the child, the child would have timed out
    ASSERT_TRUE(rig.processes.waitForClosedHandles(1));

    EXPECT_FALSE(waitedInVain);
    const auto started = rig.processes.started();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].commandLine, command);
    EXPECT_TRUE(started[0].hidden);
    EXPECT_FALSE(started[0].inheritHandles);
    EXPECT_EQ(started[0].outputPipe, 0u);
}

TEST(BackgroundCommand, LogsItsCommandLineOnlyInDebugMode) {
    const std::wstring command = L"C:\\Windows\\System32\\ie4uinit.exe -show";
    for (const bool debug : {false, true}) {
        SCOPED_TRACE(debug);
        Rig rig;
        rig.debug = debug;
        StartBackgroundCommand(rig.ctx, command);
        ASSERT_TRUE(rig.processes.waitForClosedHandles(1));
        std::vector<LogMessage> expected;
        if (debug)
            expected.push_back({command, msglog::kBlack});
        EXPECT_EQ(rig.log.messages(), expected);
    }
}

TEST(BackgroundCommand, ThatCannotStartIsDroppedSilently) {
    Rig rig;
    rig.processes.startStatus = ports::winerr::FileNotFound;
    StartBackgroundCommand(rig.ctx, L"C:\\Windows\\System32\\ie4uinit.exe -show");
    ASSERT_TRUE(rig.processes.waitForStarts(1));
    EXPECT_EQ(rig.log.messages(), std::vector<LogMessage>{});
    EXPECT_EQ(rig.processes.openHandles(), 0u);
}

} // namespace
