// The simulated machine composed as the Linux program composes it runs only its own device-console
// tool: a state file or the environment that names another host program cannot make the (elevated)
// wizard start it.
#include "platform/host/HostProcess.h"
#include "platform/sim/SimPlatform.h"
#include "platform/sim/SimProcesses.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;
namespace winerr = ports::winerr;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SimHostPrograms, AStateFileAndTheEnvironmentCannotNameTheProgramsTheMachineStarts) {
    testing_support::TempFolder folder;
    const fs::path marker = folder.path() / "marker";
    const fs::path script = folder.path() / "other-tool";
    {
        std::ofstream out(script);
        out << "#!/bin/sh\ntouch '" << marker.string() << "'\n";
    }
    fs::permissions(script, fs::perms::owner_all);
    const sim::Json makeMarker = {
        {"path", "/bin/sh"}, {"args", {"-c", "touch '" + marker.string() + "'"}}, {"machineArgument", false}};
    sim::Json state = sim::demoMachineState();
    for (const char* name : {"devcon64.exe", "notepad.exe"}) {
        sim::Json entry = makeMarker;
        entry["name"] = name;
        state["hostPrograms"].push_back(entry);
    }
    const fs::path stateFile = folder.path() / "machine.json";
    std::ofstream(stateFile) << state.dump(2);
    ScopedEnvironment devconOverride("ORVELLO_DEVCON", script.string());

    // As LinuxMain composes the program.
    ports::Status status = winerr::Success;
    auto machine = sim::SimMachine::openFile(stateFile, status);
    ASSERT_TRUE(machine) << status;
    std::string log;
    machine->setLog([&](std::string_view line) { log.append(line).append("\n"); });
    sim::SimPlatform platform(*machine, testing_support::programResources());

    auto& files = platform.files();
    ASSERT_EQ(files.createDirectories(L"C:\\Tools"), winerr::Success);
    for (const wchar_t* tool : {L"C:\\Tools\\devcon64.exe", L"C:\\Tools\\notepad.exe"})
        ASSERT_EQ(files.writeFile(tool, std::vector<std::uint8_t>{'M', 'Z'}), winerr::Success);

    auto& processes = platform.processes();
    const auto run = [&](const wchar_t* commandLine) {
        ports::ProcessStartInfo info;
        info.commandLine = commandLine;
        ports::ProcessHandle process;
        EXPECT_EQ(processes.start(info, process), winerr::Success) << commandLine;
        EXPECT_EQ(processes.wait(process, ports::kInfinite), winerr::Success);
        std::uint32_t code = 99;
        EXPECT_EQ(processes.exitCode(process, code), winerr::Success);
        return code;
    };
    // The device-console tool is the simulated devcon the build put beside this executable: it
    // knows "rescan" and ends with 0 (done), where the other program would have left the marker.
    EXPECT_EQ(run(L"\"C:\\Tools\\devcon64.exe\" rescan"), 0u);
    EXPECT_EQ(sim::SimProcesses(*machine).hostDevcon(),
              host::executablePath().parent_path() / "orvello-devcon");
    // Any other program is only recorded.
    EXPECT_EQ(run(L"C:\\Tools\\notepad.exe readme.txt"), 0u);
    machine->read([](const sim::Json& s) {
        ASSERT_TRUE(s.contains("commandsRun"));
        EXPECT_EQ(s["commandsRun"].back(), "C:\\Tools\\notepad.exe readme.txt");
    });

    EXPECT_FALSE(fs::exists(marker));
    EXPECT_NE(log.find("\"hostPrograms\" in the state is ignored"), std::string::npos) << log;
}

} // namespace
