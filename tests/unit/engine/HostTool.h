#pragma once
// Tools of the simulated machine that run a script in the host's shell (sh on Linux, cmd under
// Wine), so that tests of child processes use the simulated machine's real Processes port.
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimJson.h"
#include "platform/ports/FileSystem.h"

#include <string>
#include <string_view>
#include <vector>

namespace engine_test {

// A script that runs for far longer than any test.
#ifdef _WIN32
inline constexpr std::string_view kRunsForAges = "for /L %i in (1,0,2) do @rem";
#else
inline constexpr std::string_view kRunsForAges = "exec sleep 60";
#endif

// A script that writes `lines` to its standard output, each ended by CR LF, and ends with
// `exitCode`. The lines must hold no character the shell treats specially.
inline std::string printingScript(const std::vector<std::string>& lines, int exitCode) {
    std::string script;
#ifdef _WIN32
    for (const auto& line : lines)
        script += "echo " + line + "&";
    script += "exit " + std::to_string(exitCode);
#else
    script = "printf '";
    for (const auto& line : lines)
        script += line + "\\r\\n";
    script += "'; exit " + std::to_string(exitCode);
#endif
    return script;
}

// Makes the program `folder\name` on the simulated disk run `script` in the host's shell. The
// program's own arguments go to the script's positional parameters (sh), or after a "rem" (cmd,
// which appends them to its command line).
inline void installHostTool(sim::SimMachine& machine, ports::FileSystem& files, const std::wstring& folder,
                            const std::wstring& name, std::string_view script) {
#ifdef _WIN32
    sim::SimMachine::HostProgram host{"C:\\windows\\system32\\cmd.exe",
                                      {L"/c", sim::wide(std::string(script) + "&rem")}};
#else
    sim::SimMachine::HostProgram host{"/bin/sh", {L"-c", sim::wide(script), L"tool"}};
#endif
    // Only a test maps a program to a host program, in code: the state file cannot.
    machine.mapHostProgram(name, std::move(host));
    (void)files.createDirectories(folder);
    (void)files.writeFile(folder + L"\\" + name, std::vector<std::uint8_t>{'M', 'Z'});
}

} // namespace engine_test
