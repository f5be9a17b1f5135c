// Entry of the Linux build: always the simulated machine, from FILE with -simulate=FILE.
#include "main/Program.h"

#include "base/Utf.h"
#include "platform/blob/EmbeddedResources.h"
#include "platform/sim/SimPlatform.h"

#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(text::fromUtf8(argv[i]));
    const CommandLine cmd = parseCommandLine(std::move(args));
    blob::EmbeddedResources resources(blob::linkedResources());
    ports::Status status = ports::winerr::Success;
    std::unique_ptr<sim::SimMachine> machine = cmd.simulateFile.empty()
                                                   ? sim::SimMachine::demo()
                                                   : sim::SimMachine::openFile(cmd.simulateFile, status);
    if (!machine) {
        std::fprintf(stderr, "cannot open the simulated machine's state file (error %u)\n", status);
        return 1;
    }
    sim::SimPlatform platform(*machine, resources);
    return runProgram(
        platform, cmd, [](std::wstring_view line) { std::printf("%s\n", text::toUtf8(line).c_str()); },
        [](std::wstring_view line) { std::fprintf(stderr, "%s\n", text::toUtf8(line).c_str()); });
}
