// Orvello.exe itself, started under Wine (or Windows) on a simulated machine: start-up shows the
// main window with the embedded catalogue and the machine's language, and closing it ends with 0.
#include "platform/sim/SimMachine.h"
#include "platform/win32/Win32Processes.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

// build\windows\tests\orvello_tests.exe -> build\windows\src\main\Orvello.exe
std::wstring programPath() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    for (int i = 0; i < 2; ++i)
        path.resize(path.rfind(L'\\'));
    return path + L"\\src\\main\\Orvello.exe";
}

struct ProgramRun {
    std::uint32_t exitCode = 0xFFFFFFFF;
    std::string output;
    bool windowShown = false;
};

// Waits (at most 60 seconds) for the program's main window, then closes it as its close box does.
// Returns whether a visible window of another process was found.
bool closeMainWindowOfOtherProcess() {
    for (int i = 0; i < 600; ++i) {
        HWND window = FindWindowW(L"Orvello.Window", nullptr);
        DWORD process = 0;
        if (window)
            GetWindowThreadProcessId(window, &process);
        if (window && process != GetCurrentProcessId() && IsWindowVisible(window)) {
            PostMessageW(window, WM_CLOSE, 0, 0);
            return true;
        }
        Sleep(100);
    }
    return false;
}

// Runs the program through the real Win32 Processes port with its standard output in a pipe; it
// writes its report lines there.
ProgramRun runProgram(const std::wstring& arguments, bool showsWindow = false) {
    namespace winerr = ports::winerr;
    ProgramRun run;
    win32::Win32Processes processes;
    ports::PipeHandle readEnd, writeEnd;
    EXPECT_EQ(processes.createPipe(true, readEnd, writeEnd), winerr::Success);
    ports::ProcessStartInfo info;
    info.commandLine = L"\"" + programPath() + L"\" " + arguments;
    info.inheritHandles = true;
    info.output = &writeEnd;
    ports::ProcessHandle process;
    if (const ports::Status status = processes.start(info, process); status != winerr::Success) {
        ADD_FAILURE() << "cannot start Orvello.exe: error " << status;
        return run;
    }
    writeEnd.reset();
    std::thread closer;
    if (showsWindow)
        closer = std::thread([&run] { run.windowShown = closeMainWindowOfOtherProcess(); });
    std::vector<std::uint8_t> chunk;
    while (processes.readPipe(readEnd, 4096, chunk) == winerr::Success && !chunk.empty())
        run.output.append(chunk.begin(), chunk.end());
    if (closer.joinable())
        closer.join();
    EXPECT_EQ(processes.wait(process, ports::kInfinite), winerr::Success);
    EXPECT_EQ(processes.exitCode(process, run.exitCode), winerr::Success);
    return run;
}

TEST(OrvelloExe, SimulatedStartUpShowsTheMainWindowWithCatalogueAndLanguage) {
    struct Case {
        int uiLanguage;
        const char* language;
    };
    const Case cases[] = {
        {0x0407, "language German (Lang\\German)\n"},
        {0x0404, "language ChineseSimplified (Lang\\ChineseSimplified)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        testing_support::TempFolder dir;
        const auto file = dir.path() / "machine.json";
        {
            ports::Status status = 0;
            auto machine = sim::SimMachine::openFile(file, status);
            ASSERT_TRUE(machine) << status;
            machine->write([&](sim::Json& s) { s["system"]["uiLanguage"] = c.uiLanguage; });
        }
        const ProgramRun run = runProgram(L"\"-simulate=" + file.wstring() + L"\"", true);
        EXPECT_EQ(run.exitCode, 0u) << run.output;
        EXPECT_TRUE(run.windowShown) << run.output;
        for (const char* line :
             {"catalogue loaded: manufacturer CorvaneEx, version 3.0.2.465; manufacturer records loaded\n",
              c.language, "main window shown: page form_main\n"})
            EXPECT_NE(run.output.find(line), std::string::npos) << line << run.output;
    }
}

// The command line of the Windows program: the full exit codes deployment tools read, the results on
// its standard output, the log on the simulated machine's disk.
TEST(OrvelloExe, UnattendedRunsGiveTheDeploymentToolsExitCodes) {
    testing_support::TempFolder dir;
    const auto file = dir.path() / "machine.json";
    {
        ports::Status status = 0;
        ASSERT_TRUE(sim::SimMachine::openFile(file, status)) << status;
    }
    const std::wstring simulate = L"\"-simulate=" + file.wstring() + L"\" ";
    const struct {
        const wchar_t* arguments;
        std::uint32_t exitCode;
        const char* says;
    } cases[] = {
        {L"/list:models /filter:JN-2232T", 0, "JN-2232T  USBPRINT\\CorvaneExJN-2232TFA69"},
        {L"/install /model:JN-2232T /ip:1.2.3", 1639, "/ip:1.2.3 is not an IPv4 address or a host name\n"},
        {L"/install /model:JN-2232T /serial:COM9:", 1639, "the port COM9: does not exist on this machine"},
        {L"/upgrade /all", 50, "/upgrade is not available in this version: nothing was changed"},
        // The driver package the build packs into the skin: the demo machine's plugged-in printer,
        // and a model on a named port (the results go to the log only).
        {L"/install /model:JN-2203T-S /usb", 0, ""},
        {L"/install /model:JN-2232T /port:FILE: /log:C:\\Logs\\x.log", 0, ""},
    };
    for (const auto& c : cases) {
        const ProgramRun run = runProgram(simulate + c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
        EXPECT_NE(run.output.find(c.says), std::string::npos) << c.says << "\n" << run.output;
    }
    std::ifstream in(std::filesystem::path(file.wstring() + L".drive") / "C" / "Logs" / "x.log",
                     std::ios::binary);
    const std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(log.find(" INFO  installing JN-2232T on FILE: as JN-2232T\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" OK    Installation completed.\r\n"), std::string::npos) << log;
    EXPECT_TRUE(log.ends_with(" INFO  exit code 0\r\n")) << log;
}

} // namespace
