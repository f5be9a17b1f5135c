// Orvello.exe itself, started under Wine (or Windows) on a simulated machine: start-up gets as far
// as the main window with the embedded catalogue and the machine's language, and ends with 0.
#include "platform/sim/SimMachine.h"
#include "platform/win32/Win32Processes.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
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
};

// Runs the program through the real Win32 Processes port with its standard output in a pipe; it
// writes its report lines there.
ProgramRun runProgram(const std::wstring& arguments) {
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
    std::vector<std::uint8_t> chunk;
    while (processes.readPipe(readEnd, 4096, chunk) == winerr::Success && !chunk.empty())
        run.output.append(chunk.begin(), chunk.end());
    EXPECT_EQ(processes.wait(process, ports::kInfinite), winerr::Success);
    EXPECT_EQ(processes.exitCode(process, run.exitCode), winerr::Success);
    return run;
}

TEST(OrvelloExe, SimulatedStartUpReachesTheMainWindowWithCatalogueAndLanguage) {
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
        const ProgramRun run = runProgram(L"\"-simulate=" + file.wstring() + L"\"");
        EXPECT_EQ(run.exitCode, 0u) << run.output;
        for (const char* line :
             {"catalogue loaded: manufacturer CorvaneEx, version 3.0.2.465; manufacturer records loaded\n",
              c.language, "start-up stops here: the main window is not built yet\n"})
            EXPECT_NE(run.output.find(line), std::string::npos) << line << run.output;
    }
}

} // namespace
