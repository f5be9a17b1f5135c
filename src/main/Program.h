#pragma once
// The program between the operating system's entry point and the application: command-line
// switches that choose the machine, and the start-up run on that machine.
#include "platform/ports/Platform.h"

#include <functional>
#include <string>
#include <vector>

struct CommandLine {
    bool simulate = false;     // "-simulate" or "-simulate=FILE"
    std::wstring simulateFile; // empty: the embedded demo machine
    std::vector<std::wstring> args;
};

CommandLine parseCommandLine(std::vector<std::wstring> args);

// Runs the program on `platform`: CApp's start-up, message loop and exit. `say` receives lines for
// whoever started the program (how far start-up got). Returns the process exit code.
int runProgram(ports::Platform& platform, const CommandLine& cmd,
               const std::function<void(std::wstring_view)>& say);
