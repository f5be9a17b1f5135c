// The Linux devcon, run by RunDeviceTool as a real child process on a simulated machine's state
// file, the way the wizard runs it: exit codes and output through the pipe.
#include "app/msglog/RecordingMessageLog.h"
#include "engine/DeviceTool.h"
#include "engine/OutputCapture.h"
#include "linux/DeviceToolHostProcesses.h"
#include "platform/sim/SimFileSystem.h"
#include "support/TestMachine.h"
#include "unit/engine/DeviceToolFakes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

class DevconProcess : public ::testing::Test {
protected:
    DevconProcess() {
        platform.processesOverride = &processes;
        fs::create_directories(folder.path() / "Drivers");
        fs::create_symlink(fs::path(ORVELLO_BINARY_DIR) / "tools" / "devcon" / "orvello-devcon",
                           folder.path() / "Drivers" / "devcon32.exe");
        processes.extraEnvironment.push_back("ORVELLO_SIM_MACHINE=" + stateFile.string());
    }

    struct Result {
        int exitCode;
        std::wstring output;
    };
    Result run(std::wstring_view arguments) {
        log.clear();
        EXPECT_EQ(StartOutputCapture(ctx, pipe), ports::winerr::Success);
        const int code = RunDeviceTool(ctx, arguments);
        StopOutputCapture(pipe);
        std::wstring output;
        for (const auto& m : log.messages())
            if (!m.text.starts_with(L"\"") && !m.text.starts_with(L"return dwCode"))
                output += m.text;
        return {code, output};
    }
    // Puts a file on the state file's simulated C: drive.
    void writeOnMachine(std::wstring_view path) {
        ports::Status status = ports::winerr::Success;
        auto machine = sim::SimMachine::openFile(stateFile, status);
        ASSERT_TRUE(machine) << status;
        sim::SimFileSystem files(*machine);
        ASSERT_EQ(files.createDirectories(path.substr(0, path.rfind(L'\\'))), ports::winerr::Success);
        ASSERT_EQ(
            files.writeFile(path, std::vector<std::uint8_t>{'[', 'V', 'e', 'r', 's', 'i', 'o', 'n', ']'}),
            ports::winerr::Success);
    }

    testing_support::TempFolder folder;
    fs::path stateFile = folder.path() / "machine.json";
    testing_support::TestMachine machine;
    engine_test::HostProcesses processes;
    engine_test::OverridePlatform platform{machine.platform()};
    msglog::RecordingMessageLog log;
    OutputPipe pipe;
    EngineContext ctx{.platform = platform,
                      .debugMode = [] { return true; },
                      .workingFolder = text::fromUtf8(folder.path().string() + "/"),
                      .deviceConsoleTool = L"devcon32.exe",
                      .outputPipe = &pipe};
};

// The simulated device tree may not serve a call yet; the test then names it and stops.
#define SKIP_IF_NOT_SIMULATED(result, call)                                                                  \
    if ((result).output.find(L"error 120 ") != std::wstring::npos ||                                         \
        (result).output.find(L"CONFIGRET 0x34") != std::wstring::npos)                                       \
    GTEST_SKIP() << "the simulated DeviceTree does not implement " call " yet"

TEST_F(DevconProcess, WrongUsageAnswersThree) {
    for (const auto* args : {L"", L" bogus", L" update \"C:\\x.inf\"", L"/r remove \"ROOT\\X\\0000\""}) {
        SCOPED_TRACE(testing::PrintToString(args));
        const auto r = run(args);
        EXPECT_EQ(r.exitCode, 3);
        EXPECT_NE(r.output.find(L"Usage:"), std::wstring::npos);
    }
}

TEST_F(DevconProcess, UpdateWithoutTheInfOnTheMachineFails) {
    const auto r =
        run(L" /r update \"C:\\Program Files\\LabelPrinterDriver\\CorvaneExNew.inf\" \"USBPRINT\\X\"");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.output.find(L"C:\\Program Files\\LabelPrinterDriver\\CorvaneExNew.inf"), std::wstring::npos);
}

TEST_F(DevconProcess, UpdateForAHardwareIdNoDeviceHasFails) {
    writeOnMachine(L"C:\\Program Files\\LabelPrinterDriver\\CorvaneExNew.inf");
    const auto r =
        run(L" /r update \"C:\\Program Files\\LabelPrinterDriver\\CorvaneExNew.inf\" \"USBPRINT\\NOBODY\"");
    SKIP_IF_NOT_SIMULATED(r, "UpdateDriverForPlugAndPlayDevicesW");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.output.find(L"No present device"), std::wstring::npos);
}

TEST_F(DevconProcess, RemoveOfAnUnknownNodeHasNothingToDo) {
    const auto r = run(L"/r remove \"@ROOT\\NOTHERE\\0000\"");
    SKIP_IF_NOT_SIMULATED(r, "SetupDiGetClassDevsW");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.output.find(L"nothing was removed"), std::wstring::npos);
}

TEST_F(DevconProcess, RescanSucceeds) {
    const auto r = run(L" rescan");
    SKIP_IF_NOT_SIMULATED(r, "CM_Locate_DevNodeW");
    EXPECT_EQ(r.exitCode, 0);
}

} // namespace
