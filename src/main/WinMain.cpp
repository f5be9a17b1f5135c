// Entry of Orvello.exe: the real Windows machine, or the simulated one with -simulate[=FILE].
#include "main/Program.h"

#include "base/Utf.h"
#include "platform/sim/SimPlatform.h"
#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

namespace {

std::vector<std::wstring> arguments() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args;
    for (int i = 1; argv && i < argc; ++i)
        args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
}

// A GUI program has no console of its own; it writes to the one it was started from, if any.
void say(std::wstring_view line) {
    const std::wstring text(line);
    OutputDebugStringW(text.c_str());
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE)
        return;
    const std::string utf8 = text::toUtf8(line) + "\n";
    DWORD written = 0;
    WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const CommandLine cmd = parseCommandLine(arguments());
    win32::Win32Resources resources;
    if (!cmd.simulate) {
        win32::Win32Platform platform(resources);
        return runProgram(platform, cmd, say);
    }
    ports::Status status = ports::winerr::Success;
    std::unique_ptr<sim::SimMachine> machine = cmd.simulateFile.empty()
                                                   ? sim::SimMachine::demo()
                                                   : sim::SimMachine::openFile(cmd.simulateFile, status);
    if (!machine) {
        say(L"cannot open the simulated machine's state file");
        return 1;
    }
    sim::SimPlatform platform(*machine, resources);
    return runProgram(platform, cmd, say);
}
