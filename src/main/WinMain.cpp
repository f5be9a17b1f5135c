// Entry of Orvello.exe: the real Windows machine, or the simulated one with -simulate[=FILE].
#include "main/Program.h"

#include "main/Win32UserInterface.h"

#include "base/Utf.h"
#include "platform/sim/SimPlatform.h"
#include "platform/win32/UniqueHandle.h"
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

HANDLE stdHandle(DWORD which) {
    HANDLE h = GetStdHandle(which);
    return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

// A GUI program has no console of its own. It writes to the handles it was given (a pipe or file,
// UTF-8) or, for an unattended run started from a console, to that console (UTF-16, so that every
// language shows).
class Output {
public:
    explicit Output(bool attachConsole) {
        if (!attachConsole || stdHandle(STD_OUTPUT_HANDLE) || !AttachConsole(ATTACH_PARENT_PROCESS))
            return;
        console_.reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    }

    void out(std::wstring_view line) { write(STD_OUTPUT_HANDLE, line); }
    void err(std::wstring_view line) { write(STD_ERROR_HANDLE, line); }

private:
    void write(DWORD which, std::wstring_view line) {
        const std::wstring text(line);
        OutputDebugStringW(text.c_str());
        HANDLE h = stdHandle(which);
        if (!h && console_)
            h = console_.get();
        if (!h)
            return;
        DWORD mode = 0, written = 0;
        if (GetConsoleMode(h, &mode)) {
            const std::wstring shown = text + L"\r\n";
            WriteConsoleW(h, shown.data(), static_cast<DWORD>(shown.size()), &written, nullptr);
            return;
        }
        const std::string utf8 = text::toUtf8(line) + "\n";
        WriteFile(h, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    }

    win32::UniqueHandle<win32::FileHandleTraits> console_;
};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const CommandLine cmd = parseCommandLine(arguments());
    Output output(isUnattended(cmd));
    const Say say = [&](std::wstring_view line) { output.out(line); };
    const Say sayError = [&](std::wstring_view line) { output.err(line); };
    win32::Win32Resources resources;
    const MakeUserInterface nativeWindows = [](const Say& report) {
        return std::make_unique<app::Win32UserInterface>(report);
    };
    if (!cmd.simulate) {
        win32::Win32Platform platform(resources);
        return runProgram(platform, cmd, say, sayError, nativeWindows);
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
    return runProgram(platform, cmd, say, sayError, nativeWindows);
}
