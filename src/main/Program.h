#pragma once
// The program between the operating system's entry point and the application: command-line
// switches that choose the machine, and the start-up run on that machine.
#include "platform/ports/Platform.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct CommandLine {
    bool simulate = false;     // "-simulate" or "-simulate=FILE"
    std::wstring simulateFile; // empty: the embedded demo machine
    std::vector<std::wstring> args;
};

CommandLine parseCommandLine(std::vector<std::wstring> args);

using Say = std::function<void(std::wstring_view)>;

namespace app {
class AppUserInterface;
}
// The wizard's user interface for this program (empty: the stand-in that reports how far start-up
// got); `say` is what it may report to.
using MakeUserInterface = std::function<std::unique_ptr<app::AppUserInterface>(const Say& say)>;

// Runs the program on `platform`: the wizard (CApp's start-up, message loop and exit), or, when the
// arguments ask for it, an unattended run of the command line. `say` receives lines for whoever
// started the program (how far start-up got, an unattended run's results), `sayError` what went wrong
// with the command line (empty: `say`). Returns the process exit code.
int runProgram(ports::Platform& platform, const CommandLine& cmd, const Say& say, const Say& sayError = {},
               const MakeUserInterface& makeUi = {});

// Whether the arguments ask for an unattended run (the entry then makes the console reachable).
bool isUnattended(const CommandLine& cmd);
