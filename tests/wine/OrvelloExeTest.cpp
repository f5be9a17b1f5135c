// Orvello.exe itself, started under Wine (or Windows) on a simulated machine: start-up gets as far
// as the main window with the embedded catalogue and the machine's language, and ends with 0.
#include "platform/sim/SimMachine.h"
#include "platform/win32/UniqueHandle.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

using win32::UniqueKernelHandle;

// build\windows\tests\orvello_tests.exe -> build\windows\src\main\Orvello.exe
std::wstring programPath() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    for (int i = 0; i < 2; ++i)
        path.resize(path.rfind(L'\\'));
    return path + L"\\src\\main\\Orvello.exe";
}

struct ProgramRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
};

// Runs the program with its standard output in a pipe; it writes its report lines there.
ProgramRun runProgram(const std::wstring& arguments) {
    ProgramRun run;
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    UniqueKernelHandle readEnd, writeEnd;
    EXPECT_TRUE(CreatePipe(readEnd.out(), writeEnd.out(), &sa, 0));
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = writeEnd.get();
    std::wstring commandLine = L"\"" + programPath() + L"\" " + arguments;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        ADD_FAILURE() << "cannot start Orvello.exe: error " << GetLastError();
        return run;
    }
    UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    writeEnd.reset();
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(readEnd.get(), buf, sizeof buf, &got, nullptr) && got)
        run.output.append(buf, got);
    WaitForSingleObject(process.get(), INFINITE);
    GetExitCodeProcess(process.get(), &run.exitCode);
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
