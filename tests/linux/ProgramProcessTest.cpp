// The real program, started as a separate process on a simulated machine that this test shares
// with it: the second start while another copy runs, and the "-debug" switch on its command line.
#include "unit/app/AppFakes.h"

#include "platform/host/HostProcess.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testing_support::TempFolder;

struct ProcessResult {
    int exitCode = -1;
    std::string output;
};

// Runs the Linux program with `args` through the host processes that the simulated machine's
// Processes port is built on; its standard output and error are captured.
ProcessResult runProgram(const std::vector<std::string>& args) {
    ProcessResult r;
    std::shared_ptr<host::PipeEnd> readEnd, writeEnd;
    if (host::createPipe(false, readEnd, writeEnd) != ports::winerr::Success)
        return r;
    host::SpawnInfo info;
    info.program = fs::path(ORVELLO_BINARY_DIR) / "src" / "main" / "orvello";
    for (const auto& a : args)
        info.arguments.push_back(text::fromUtf8(a));
    info.output = writeEnd.get();
    std::unique_ptr<host::Child> child;
    if (host::spawn(info, child) != ports::winerr::Success)
        return r;
    writeEnd.reset();
    std::vector<std::uint8_t> chunk;
    while (readEnd->read(4096, chunk) == ports::winerr::Success && !chunk.empty())
        r.output.append(chunk.begin(), chunk.end());
    std::uint32_t code = 0;
    if (child->wait(ports::kInfinite) == ports::winerr::Success &&
        child->exitCode(code) == ports::winerr::Success)
        r.exitCode = static_cast<int>(code);
    return r;
}

class ProgramProcess : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(fs::path(ORVELLO_BINARY_DIR) / "src" / "main" / "orvello"))
            GTEST_SKIP() << "the program is not built";
        ports::Status st = 0;
        machine = sim::SimMachine::openFile(file, st);
        ASSERT_TRUE(machine) << st;
        machine->write([](sim::Json& s) { s["system"]["localTime"] = "2024-05-29 10:11:12.345"; });
    }
    std::string simulate() const { return "-simulate=" + file.string(); }
    fs::path logFolder() const {
        return fs::path(file.string() + ".drive") / "C" / "Program Files (x86)" / "Orvello" / "Log";
    }

    TempFolder dir;
    fs::path file = dir.path() / "machine.json";
    std::unique_ptr<sim::SimMachine> machine;
};

TEST_F(ProgramProcess, ASecondStartSignalsTheRunningCopyAndEndsWithZero) {
    app_fakes::RecordedApp running(*machine, testing_support::programResources());
    ASSERT_TRUE(running.app->initInstance());

    const ProcessResult second = runProgram({simulate(), "-debug"});
    EXPECT_EQ(second.exitCode, 0) << second.output;
    EXPECT_NE(second.output.find("another copy is running"), std::string::npos) << second.output;
    EXPECT_EQ(second.output.find("main window"), std::string::npos) << second.output;
    // It never got as far as the log, debug switch or not.
    EXPECT_FALSE(fs::exists(logFolder()));

    EXPECT_TRUE(running.app->pollActivationRequests());
    EXPECT_EQ(running.ui->activations, 1);
    running.app->exitInstance();
}

TEST_F(ProgramProcess, StartUpLoadsTheCatalogueAndPicksTheMachinesLanguageBeforeTheMainWindow) {
    machine->write([](sim::Json& s) { s["system"]["uiLanguage"] = 0x0407; });
    const ProcessResult run = runProgram({simulate()});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    for (const char* line :
         {"catalogue loaded: manufacturer CorvaneEx, version 3.0.2.465; manufacturer records loaded\n",
          "language German (Lang\\German)\n", "device-console tool devcon64.exe\n",
          "start-up stops here: the main window is not built yet\n"})
        EXPECT_NE(run.output.find(line), std::string::npos) << line << run.output;
}

TEST_F(ProgramProcess, TheDebugSwitchOnTheCommandLineStartsTheLog) {
    const ProcessResult upper = runProgram({simulate(), "-DEBUG"});
    EXPECT_EQ(upper.exitCode, 0) << upper.output;
    EXPECT_FALSE(fs::exists(logFolder()));

    const ProcessResult run = runProgram({simulate(), "x-debugger"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("start-up stops here: the main window is not built yet"), std::string::npos)
        << run.output;
    std::ifstream in(logFolder() / "Orvello 2024-05-29.log", std::ios::binary);
    ASSERT_TRUE(in);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string expected = "\xFF\xFE";
    for (char c : std::string("2024-05-29 10:11:12.345 : Run Orvello application\r\n")) {
        expected += c;
        expected += '\0';
    }
    EXPECT_EQ(bytes, expected);
}

// Unattended runs of the real program: the exit status carries the low eight bits of the code.
TEST_F(ProgramProcess, UnattendedRunsEndWithTheDeploymentToolsExitCodes) {
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* says;
    } cases[] = {
        {{"/list:models", "/filter:JN-2232T"}, 0, "JN-2232T  USBPRINT\\CorvaneExJN-2232TFA69"},
        {{"/version"}, 0, "Orvello 3.0.2.465\n"},
        {{"/install", "/bogus"}, 1639 & 0xFF, "unknown switch /bogus\n\nUsage: Orvello.exe"},
        {{"/delete", "/all"}, 50, "ERROR /delete is not available in this version: nothing was changed\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back(simulate());
        const ProcessResult run = runProgram(args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args[0] << "\n" << run.output;
        EXPECT_NE(run.output.find(c.says), std::string::npos) << c.args[0] << "\n" << run.output;
    }
}

// The skin archive carries the driver package the build packs: the program installs from it.
TEST_F(ProgramProcess, AnInstallFromTheProgramsOwnDriverPackageMakesTheQueue) {
    const ProcessResult run = runProgram(
        {simulate(), "/install", "/model:JN-2232T", "/port:FILE:", "/quiet", "/log:C:\\Logs\\x.log"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    std::ifstream in(fs::path(file.string() + ".drive") / "C" / "Logs" / "x.log", std::ios::binary);
    const std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(log.ends_with(" OK    Installation completed.\r\n"
                              "2024-05-29 10:11:12.345 INFO  exit code 0\r\n"))
        << log;
    bool made = false;
    machine->read([&](const sim::Json& s) {
        for (const auto& p : s["spooler"].value("printers", sim::Json::array()))
            made = made || (p.value("name", "") == "JN-2232T" && p.value("port", "") == "FILE:");
    });
    EXPECT_TRUE(made);
}

TEST_F(ProgramProcess, AnUnattendedRunBesideTheWizardChangesNothing) {
    app_fakes::RecordedApp running(*machine, testing_support::programResources());
    ASSERT_TRUE(running.app->initInstance());
    const ProcessResult run = runProgram({simulate(), "/install", "/model:JN-2232T", "/port:FILE:"});
    EXPECT_EQ(run.exitCode, 1618 & 0xFF) << run.output;
    EXPECT_NE(run.output.find("another copy of the wizard is running: nothing was changed"),
              std::string::npos)
        << run.output;
    running.app->exitInstance();
}

} // namespace
