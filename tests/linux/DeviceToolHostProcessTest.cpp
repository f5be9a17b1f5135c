// RunDeviceTool with real child processes and a real pipe, through the simulated machine's
// Processes port: shell scripts stand in for the tool.
#include "app/msglog/RecordingMessageLog.h"
#include "engine/DeviceTool.h"
#include "engine/OutputCapture.h"
#include "support/TestMachine.h"
#include "unit/engine/HostTool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using msglog::LogMessage;

class DeviceToolHost : public ::testing::Test {
protected:
    ~DeviceToolHost() override { StopOutputCapture(pipe); }

    // The tool, as a shell script.
    void writeTool(const std::string& body) {
        engine_test::installHostTool(machine.machine(), machine.platform().files(),
                                     ctx.workingFolder + L"Drivers", L"devcon32.exe", body);
    }
    std::vector<LogMessage> messagesAfterStop() {
        StopOutputCapture(pipe);
        return log.messages();
    }
    // The tool's output as logged: every message but the command line and the exit code.
    static std::vector<LogMessage> outputOf(std::vector<LogMessage> messages) {
        std::erase_if(messages, [](const LogMessage& m) {
            return m.text.starts_with(L"\"") || m.text.starts_with(L"return dwCode = ");
        });
        return messages;
    }
    static std::wstring joined(const std::vector<LogMessage>& messages) {
        std::wstring all;
        for (const auto& m : messages)
            all += m.text;
        return all;
    }

    testing_support::TestMachine machine;
    msglog::RecordingMessageLog log;
    OutputPipe pipe;
    app::AppContext ctx{.platform = machine.platform(),
                        .debugMode = 1,
                        .workingFolder = L"C:\\Program Files\\LabelPrinterDriver\\",
                        .deviceConsoleTool = L"devcon32.exe",
                        .outputPipe = &pipe};
};

TEST_F(DeviceToolHost, ToolGetsItsArgumentsAndItsOutputAndErrorReachTheLog) {
    writeTool("echo \"args: $*\"; echo \"to stderr\" >&2; exit 1");
    ASSERT_EQ(StartOutputCapture(ctx, pipe), ports::winerr::Success);
    EXPECT_EQ(
        RunDeviceTool(ctx, L" /r update \"C:\\drv\\CorvaneExNew.inf\" \"USBPRINT\\CorvaneExCX-420T6B1F\""),
        1);
    const auto messages = messagesAfterStop();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front().text, L"\"" + ctx.workingFolder +
                                         L"Drivers\\devcon32.exe\" /r update \"C:\\drv\\CorvaneExNew.inf\" "
                                         L"\"USBPRINT\\CorvaneExCX-420T6B1F\"");
    const std::wstring output = joined(outputOf(messages));
    EXPECT_NE(output.find(L"args: /r update C:\\drv\\CorvaneExNew.inf USBPRINT\\CorvaneExCX-420T6B1F\n"),
              std::wstring::npos);
    EXPECT_NE(output.find(L"to stderr\n"), std::wstring::npos);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), LogMessage{L"return dwCode = 1", msglog::kBlack}),
              1);
}

TEST_F(DeviceToolHost, MissingToolGivesMinusTwo) {
    ctx.debugMode = 0;
    ASSERT_EQ(StartOutputCapture(ctx, pipe), ports::winerr::Success);
    EXPECT_EQ(RunDeviceTool(ctx, L" rescan"), kDeviceToolNotStarted);
    EXPECT_EQ(messagesAfterStop(), std::vector<LogMessage>{});
}

TEST_F(DeviceToolHost, MegabytesOfOutputFlowThroughInChunksAndNeverBlockTheTool) {
    // Far more than a pipe buffer holds; the tool ends only when all of it was taken.
    writeTool("head -c 2000000 /dev/zero | tr '\\000' 'x'; exit 0");
    for (const bool debugMode : {false, true}) {
        SCOPED_TRACE(debugMode);
        ctx.debugMode = debugMode ? 1 : 0;
        log.clear();
        ASSERT_EQ(StartOutputCapture(ctx, pipe), ports::winerr::Success);
        EXPECT_EQ(RunDeviceTool(ctx, L" rescan"), 0);
        const auto output = outputOf(messagesAfterStop());
        if (!debugMode) {
            EXPECT_TRUE(output.empty());
            continue;
        }
        std::size_t total = 0;
        for (const auto& m : output) {
            EXPECT_LE(m.text.size(), 4095u);
            total += m.text.size();
        }
        EXPECT_EQ(total, 2000000u);
        EXPECT_EQ(joined(output).find_first_not_of(L'x'), std::wstring::npos);
    }
}

} // namespace
