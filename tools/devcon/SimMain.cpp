// The device-console tool on a simulated machine: the same commands acting on the machine's state
// file, which the wizard shares. The machine is "--machine=<state file>" (anywhere among the
// arguments) or the environment variable ORVELLO_SIM_MACHINE; its current folder is "C:\".
#include "engine/devcon/DeviceConsole.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimPorts.h"
#include "platform/sim/SimSystemInfo.h"
#include "ToolOutput.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/Utf.h"

namespace {

constexpr wchar_t kCurrentFolder[] = L"C:\\";

int runOnMachine(const std::filesystem::path& machineFile, const std::vector<std::wstring>& args) {
    const auto invocation = devcon::parseArguments(args);
    if (!invocation) {
        // The usage is plain ASCII, the same in every code page.
        std::fprintf(stdout, "%s\nThe simulated machine: --machine=<state file> or ORVELLO_SIM_MACHINE.\n",
                     text::toUtf8(devcon::usageText()).c_str());
        std::fflush(stdout);
        return devcon::kExitUsage;
    }
    if (machineFile.empty()) {
        std::fprintf(stderr, "devcon: no simulated machine: give --machine=<state file> or set "
                             "ORVELLO_SIM_MACHINE\n");
        return devcon::kExitFailed;
    }
    ports::Status status = ports::winerr::Success;
    auto machine = sim::SimMachine::openFile(machineFile, status);
    if (!machine) {
        std::fprintf(stderr, "devcon: cannot open the simulated machine (error %u)\n", status);
        return devcon::kExitFailed;
    }
    sim::SimSystemInfo system(*machine);
    sim::SimFileSystem files(*machine);
    sim::WallClock clock(machine.get());
    const auto devices = sim::makeSimDeviceTree(*machine, clock);
    devcon::ToolEnvironment env{
        *devices, files,
        [](std::wstring_view path) { return devcon::absoluteWindowsPath(path, kCurrentFolder); },
        [&](std::wstring_view line) { devcon::writeLine(system, line); }};
    return devcon::run(*invocation, env);
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    std::filesystem::path machineFile;
    if (const wchar_t* env = _wgetenv(L"ORVELLO_SIM_MACHINE"))
        machineFile = env;
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg.starts_with(L"--machine="))
            machineFile = arg.substr(10);
        else
            args.push_back(arg);
    }
    return runOnMachine(machineFile, args);
}
#else
int main(int argc, char** argv) {
    std::filesystem::path machineFile;
    if (const char* env = std::getenv("ORVELLO_SIM_MACHINE"))
        machineFile = env;
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.starts_with("--machine="))
            machineFile = arg.substr(10);
        else
            args.push_back(text::fromUtf8(arg));
    }
    return runOnMachine(machineFile, args);
}
#endif
