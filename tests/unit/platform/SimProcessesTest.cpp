// The simulated machine's child processes: commands that are only recorded, device-console tools that
// run a host program against the shared state, and real host pipes.
#include "support/TestMachine.h"

#include "platform/sim/SimJson.h"
#include "platform/sim/SimProcesses.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <string>

namespace {

using testing_support::TestMachine;
namespace winerr = ports::winerr;

constexpr wchar_t kTool[] = L"C:\\Program Files (x86)\\Orvello\\Drivers\\devcon64.exe";

// A host shell running one script, so the same tests run on Linux and under Wine.
#ifdef _WIN32
const std::string kShell = "C:\\windows\\system32\\cmd.exe";
std::vector<std::wstring> shellArgs(const std::string& script) {
    return {L"/c", sim::wide(script)};
}
const std::string kLotsOfOutput =
    "for /L %i in (1,1,700) do @echo 0123456789012345678901234567890123456789012345678901234567890123456789";
const std::string kForever = "for /L %i in (1,0,2) do @rem";
const std::string kSayHello = "echo hello";
#else
const std::string kShell = "/bin/sh";
std::vector<std::wstring> shellArgs(const std::string& script) {
    return {L"-c", sim::wide(script), L"tool"};
}
const std::string kLotsOfOutput = "head -c 200000 /dev/zero | tr '\\0' x";
const std::string kForever = "sleep 30";
const std::string kSayHello = "printf hello";
#endif

class SimProcessesTest : public ::testing::Test {
protected:
    ports::Processes& pr() { return m.platform().processes(); }
    // Makes "<name>" on the simulated disk run `script` in the host shell.
    void mapTool(const std::wstring& name, const std::string& script, bool machineArgument = false) {
        m.machine().mapHostProgram(name, {kShell, shellArgs(script), machineArgument});
        ASSERT_EQ(m.platform().files().createDirectories(L"C:\\Tools"), winerr::Success);
        ASSERT_EQ(m.platform().files().writeFile(L"C:\\Tools\\" + name, std::vector<std::uint8_t>{'M', 'Z'}),
                  winerr::Success);
    }
    // Everything the read end gives until the pipe ends.
    std::string drain(ports::PipeHandle& readEnd, ports::Status& last) {
        std::string all;
        std::vector<std::uint8_t> chunk;
        while ((last = pr().readPipe(readEnd, 4095, chunk)) == winerr::Success) {
            EXPECT_LE(chunk.size(), 4095u);
            all.append(chunk.begin(), chunk.end());
        }
        return all;
    }
    TestMachine m;
};

TEST_F(SimProcessesTest, SystemCommandsAreRecordedAndEndAtOnceWithZero) {
    for (const wchar_t* line : {L"rundll32 printui.dll,PrintUIEntry /k /q /n \"Label\"",
                                L"C:\\Windows\\System32\\ie4uinit.exe -show"}) {
        ports::ProcessStartInfo info;
        info.commandLine = line;
        ports::ProcessHandle p;
        ASSERT_EQ(pr().start(info, p), winerr::Success);
        EXPECT_EQ(pr().wait(p, 0), winerr::Success);
        std::uint32_t code = 99;
        ASSERT_EQ(pr().exitCode(p, code), winerr::Success);
        EXPECT_EQ(code, 0u);
    }
    m.machine().read([](const sim::Json& s) {
        ASSERT_EQ(s["commandsRun"].size(), 2u);
        EXPECT_EQ(s["commandsRun"][1], "C:\\Windows\\System32\\ie4uinit.exe -show");
    });
}

TEST_F(SimProcessesTest, ADeviceToolThatIsNotOnTheSimulatedDiskDoesNotStart) {
    for (const wchar_t* line :
         {L"\"C:\\Program Files (x86)\\Orvello\\Drivers\\devcon64.exe\" rescan",
          L"\"C:\\Program Files (x86)\\Orvello\\Drivers\\devconXP32.exe\"/r remove \"@X\""}) {
        ports::ProcessStartInfo info;
        info.commandLine = line;
        ports::ProcessHandle p;
        EXPECT_EQ(pr().start(info, p), winerr::FileNotFound);
        EXPECT_FALSE(p);
    }
    m.machine().read([](const sim::Json& s) { EXPECT_FALSE(s.contains("commandsRun")); });
}

TEST_F(SimProcessesTest, ADeviceToolRunsItsHostProgramOnTheSharedStateFile) {
#ifdef _WIN32
    mapTool(L"devcon64.exe", "exit 3", true);
#else
    mapTool(L"devcon64.exe", "printf '%s|' \"$@\"; exit 3", true);
#endif
    ports::PipeHandle readEnd, writeEnd;
    ASSERT_EQ(pr().createPipe(true, readEnd, writeEnd), winerr::Success);
    ports::ProcessStartInfo info;
    // As the removal builds it: no blank after the quoted tool, so "/r" joins the program's name.
    info.commandLine = L"\"C:\\Tools\\devcon64.exe\"/r remove \"@USBPRINT\\JN\\7&1&0&USB001\"";
    info.inheritHandles = true;
    info.output = &writeEnd;
    ports::ProcessHandle p;
    ASSERT_EQ(pr().start(info, p), winerr::Success);
    writeEnd.reset();
    ports::Status last = 0;
    const std::string out = drain(readEnd, last);
    ASSERT_EQ(pr().wait(p, ports::kInfinite), winerr::Success);
    std::uint32_t code = 0;
    ASSERT_EQ(pr().exitCode(p, code), winerr::Success);
    EXPECT_EQ(code, 3u);
    // The in-memory machine now lives in a file beside its drive, which the tool was given.
    const std::string file = m.machine().fileName();
    ASSERT_FALSE(file.empty());
    EXPECT_TRUE(std::filesystem::exists(file));
#ifndef _WIN32
    EXPECT_EQ(out, "--machine=" + file + "|remove|@USBPRINT\\JN\\7&1&0&USB001|");
#endif
    // Another machine opened on that file sees the same state and drive.
    ports::Status status = 0;
    auto other = sim::SimMachine::openFile(file, status);
    ASSERT_TRUE(other);
    EXPECT_EQ(other->driveRoot(), m.machine().driveRoot());
}

TEST_F(SimProcessesTest, TheHostDevconCanBeNamedForTheMachine) {
    sim::SimProcesses processes(m.machine());
    m.machine().setHostDevcon("/opt/orvello/devcon");
    EXPECT_EQ(processes.hostDevcon(), std::filesystem::path("/opt/orvello/devcon"));
}

TEST_F(SimProcessesTest, ALotOfOutputFlowsThroughARealPipe) {
    mapTool(L"chatty.exe", kLotsOfOutput);
    ports::PipeHandle readEnd, writeEnd;
    ASSERT_EQ(pr().createPipe(true, readEnd, writeEnd), winerr::Success);
    ports::ProcessStartInfo info;
    info.commandLine = L"C:\\Tools\\chatty.exe";
    info.inheritHandles = true;
    info.output = &writeEnd;
    ports::ProcessHandle p;
    ASSERT_EQ(pr().start(info, p), winerr::Success);
    writeEnd.reset();
    ports::Status last = 0;
    const std::string out = drain(readEnd, last);
    EXPECT_EQ(last, winerr::BrokenPipe);
#ifdef _WIN32
    EXPECT_EQ(out.size(), 700u * 72u);
#else
    EXPECT_EQ(out, std::string(200000, 'x'));
#endif
    ASSERT_EQ(pr().wait(p, ports::kInfinite), winerr::Success);
}

TEST_F(SimProcessesTest, ARunningChildCanBeWaitedForAndTerminated) {
    mapTool(L"slow.exe", kForever);
    ports::ProcessStartInfo info;
    info.commandLine = L"C:\\Tools\\slow.exe";
    ports::ProcessHandle p;
    ASSERT_EQ(pr().start(info, p), winerr::Success);
    EXPECT_EQ(pr().wait(p, 20), winerr::WaitTimeout);
    std::uint32_t code = 0;
    ASSERT_EQ(pr().exitCode(p, code), winerr::Success);
    EXPECT_EQ(code, 259u); // STILL_ACTIVE
    ASSERT_EQ(pr().terminate(p, 7), winerr::Success);
    ASSERT_EQ(pr().wait(p, ports::kInfinite), winerr::Success);
    ASSERT_EQ(pr().exitCode(p, code), winerr::Success);
    EXPECT_EQ(code, 7u);
}

TEST_F(SimProcessesTest, AChildInheritingOurRedirectedOutputWritesIntoThePipe) {
    mapTool(L"hello.exe", kSayHello);
    ports::PipeHandle readEnd, writeEnd;
    ASSERT_EQ(pr().createPipe(true, readEnd, writeEnd), winerr::Success);
    ASSERT_EQ(pr().redirectStdOutput(writeEnd), winerr::Success);
    ports::ProcessStartInfo info;
    info.commandLine = L"C:\\Tools\\hello.exe";
    info.inheritHandles = true;
    ports::ProcessHandle p;
    const auto started = pr().start(info, p);
    const auto waited = started ? started : pr().wait(p, ports::kInfinite);
    ASSERT_EQ(pr().restoreStdOutput(), winerr::Success);
    ASSERT_EQ(started, winerr::Success);
    ASSERT_EQ(waited, winerr::Success);
    writeEnd.reset();
    ports::Status last = 0;
    EXPECT_EQ(drain(readEnd, last).substr(0, 5), "hello");
}

TEST_F(SimProcessesTest, ClosingTheReadEndEndsARead) {
    auto& processes = dynamic_cast<sim::SimProcesses&>(pr());
    // Again and again, since a close that races the start of the read is what went wrong.
    for (int round = 0; round < 20; ++round) {
        ports::PipeHandle readEnd, writeEnd;
        ASSERT_EQ(pr().createPipe(false, readEnd, writeEnd), winerr::Success);
        auto reader = std::async(std::launch::async, [&] {
            std::vector<std::uint8_t> chunk;
            return pr().readPipe(readEnd, 4095, chunk);
        });
        // The read is known to wait for data before the handle closes under it.
        while (processes.waitingReaders(readEnd) == 0)
            std::this_thread::yield();
        readEnd.reset();
        EXPECT_EQ(reader.get(), winerr::OperationAborted);
        std::vector<std::uint8_t> chunk;
        EXPECT_EQ(pr().readPipe(readEnd, 10, chunk), winerr::InvalidHandle);
        // The write end still works as Windows has it: nobody reads any more.
        EXPECT_EQ(pr().writePipe(writeEnd, {1}), winerr::NoData);
    }
}

TEST_F(SimProcessesTest, StartAndPipeFailuresCanBeInjected) {
    m.machine().write([](sim::Json& s) {
        s["faults"] = {{{"operation", "CreateProcessW"}, {"code", 5}, {"count", 1}},
                       {{"operation", "CreatePipe"}, {"code", 8}, {"count", 1}}};
    });
    ports::ProcessStartInfo info;
    info.commandLine = L"rundll32 printui.dll,PrintUIEntry /k";
    ports::ProcessHandle p;
    EXPECT_EQ(pr().start(info, p), winerr::AccessDenied);
    EXPECT_EQ(pr().start(info, p), winerr::Success);
    ports::PipeHandle r, w;
    EXPECT_EQ(pr().createPipe(true, r, w), winerr::NotEnoughMemory);
    EXPECT_FALSE(r);
    EXPECT_EQ(pr().createPipe(true, r, w), winerr::Success);
    // A pipe written with nobody left to read fails instead of killing the process.
    r.reset();
    EXPECT_EQ(pr().writePipe(w, {1, 2, 3}), winerr::NoData);
}

} // namespace
