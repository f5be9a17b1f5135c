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

// Runs the start-up on `platform`; `say` receives a line for whoever started the program.
// Returns the process exit code.
int runProgram(ports::Platform& platform, const CommandLine& cmd,
               const std::function<void(std::wstring_view)>& say);
