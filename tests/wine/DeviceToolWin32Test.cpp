// RunDeviceTool and the output pipe with real Windows processes and pipes, under Wine (or
// Windows): the real devcon32.exe as the tool, and the system's cmd.exe standing in for a tool that
// writes far more than a pipe holds, through the program's own Win32 Processes port. The spooler
// restart runs on Wine's own "Spooler" service.
#include "app/msglog/RecordingMessageLog.h"
#include "engine/DeviceTool.h"
#include "engine/OutputCapture.h"
#include "engine/SpoolerService.h"
#include "platform/win32/Win32Platform.h"
#include "support/TestMachine.h"
#include "wine/ThisBuild.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

namespace winerr = ports::winerr;
using msglog::LogMessage;

using wine_tests::devconPath;
using wine_tests::kNativeDevcon;

std::wstring systemFolder() {
    wchar_t buf[MAX_PATH];
    return std::wstring(buf, GetSystemDirectoryW(buf, MAX_PATH));
}

class DeviceToolWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        working = std::wstring(temp, GetTempPathW(MAX_PATH, temp)) + L"orvello-devtool-" +
                  std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(working.c_str(), nullptr);
        CreateDirectoryW((working + L"Drivers").c_str(), nullptr);
        ctx.workingFolder = working;
    }
    void TearDown() override {
        StopOutputCapture(pipe);
        if (working.empty())
            return;
        for (const auto* name : {L"Drivers\\devcon32.exe", L"Drivers\\cmd.exe", L"big.txt"})
            DeleteFileW((working + name).c_str());
        RemoveDirectoryW((working + L"Drivers").c_str());
        RemoveDirectoryW(working.c_str());
    }
    void install(const std::wstring& from, const wchar_t* asName) {
        ASSERT_TRUE(CopyFileW(from.c_str(), (working + L"Drivers\\" + asName).c_str(), FALSE))
            << GetLastError();
        ctx.deviceConsoleTool = asName;
    }
    std::vector<LogMessage> outputAfterStop() {
        StopOutputCapture(pipe);
        auto messages = log.messages();
        std::erase_if(messages, [](const LogMessage& m) {
            return m.text.starts_with(L"\"") || m.text.starts_with(L"return dwCode = ");
        });
        return messages;
    }

    win32::Win32Platform platform{testing_support::programResources()};
    msglog::RecordingMessageLog log;
    OutputPipe pipe;
    std::wstring working;
    app::AppContext ctx{.platform = platform, .debugMode = 1, .outputPipe = &pipe};
};

TEST_F(DeviceToolWin32, ToolExitCodeAndOutputComeBack) {
    install(devconPath(), L"devcon32.exe");
    ASSERT_EQ(StartOutputCapture(ctx, pipe), winerr::Success);
    EXPECT_EQ(RunDeviceTool(ctx, L" bogus"), 3);
    const auto messages = log.messages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), LogMessage{L"return dwCode = 3", msglog::kBlack}),
              1);
    std::wstring output;
    for (const auto& m : outputAfterStop())
        output += m.text;
    EXPECT_EQ(output.rfind(L"Usage:", 0), 0u) << testing::PrintToString(output);
}

TEST_F(DeviceToolWin32, MissingToolGivesMinusTwoAndNoReport) {
    ctx.debugMode = 0;
    ctx.deviceConsoleTool = L"devcon32.exe"; // nothing unpacked
    EXPECT_EQ(RunDeviceTool(ctx, L" rescan"), kDeviceToolNotStarted);
    EXPECT_TRUE(log.messages().empty());
}

TEST_F(DeviceToolWin32, FarMoreOutputThanThePipeHoldsArrivesInChunks) {
    // 200 000 bytes through a pipe of a few kilobytes: the tool ends only if the reader keeps up.
    const std::string line = std::string(99, 'x') + "\n";
    {
        HANDLE f =
            CreateFileW((working + L"big.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        for (int i = 0; i < 2000; ++i) {
            DWORD written = 0;
            WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        }
        CloseHandle(f);
    }
    install(systemFolder() + L"\\cmd.exe", L"cmd.exe");
    ASSERT_EQ(StartOutputCapture(ctx, pipe), winerr::Success);
    EXPECT_EQ(RunDeviceTool(ctx, L" /c type \"" + working + L"big.txt\""), 0);
    const auto output = outputAfterStop();
    std::size_t xs = 0;
    for (const auto& m : output) {
        EXPECT_LE(m.text.size(), 4095u);
        xs += static_cast<std::size_t>(std::count(m.text.begin(), m.text.end(), L'x'));
    }
    EXPECT_EQ(xs, 2000u * 99u);
}

TEST(SpoolerWin32, RestartLeavesTheSpoolerRunning) {
    win32::Win32Platform platform{testing_support::programResources()};
    msglog::RecordingMessageLog log;
    app::AppContext ctx{.platform = platform};
    SpoolerControl control;
    if (!OpenSpoolerManager(ctx, control) && control.lastError == winerr::CallNotImplemented)
        GTEST_SKIP() << "the Win32 ServiceControl port does not implement OpenSCManagerW yet";
    ASSERT_TRUE(control.manager);
    // Wine starts its spooler on demand: make sure it runs, since a restart of a stopped spooler
    // fails at the stop by design.
    ASSERT_TRUE(OpenSpoolerService(ctx, control));
    ports::ServiceStatus before;
    ASSERT_EQ(platform.services().queryStatus(control.service, before), winerr::Success);
    if (before.currentState != ports::svc::Running) {
        ASSERT_TRUE(StartSpoolerAndWait(ctx, control));
    }
    EXPECT_TRUE(RestartSpooler(ctx, control));
    EXPECT_TRUE(log.messages().empty());
    ports::ServiceStatus status;
    ASSERT_EQ(platform.services().queryStatus(control.service, status), winerr::Success);
    EXPECT_EQ(status.currentState, ports::svc::Running);
}

} // namespace
