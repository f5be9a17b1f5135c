#pragma once
// Child processes of the simulated machine. Pipes and the standard output are the host's own.
// A command line whose program is one of the device-console tools ("devcon32.exe", "devcon64.exe",
// "devconARM64.exe", "devconXP32.exe") runs the host's devcon program against this machine's state
// file ("--machine=<file>" before the original arguments), but only when the tool file exists on the
// simulated disk; otherwise starting fails with ERROR_FILE_NOT_FOUND, as CreateProcessW would.
// Any other command line (the printer test page, the icon refresh) is recorded in the state's "commandsRun"
// and ends at once with exit code 0. Faults: "CreateProcessW", "CreatePipe".
//
// The host devcon is the simulated device-console tool beside the running executable under its fixed
// name ("orvello-devcon", "devcon-sim.exe" on Windows), which the build puts there. Nothing in the
// state or the environment can name another host program (the wizard runs elevated); the state's
// "hostPrograms" is ignored and logged. Only a test, through SimMachine::setHostDevcon and
// SimMachine::mapHostProgram, runs something else.
#include "platform/ports/Processes.h"
#include "platform/host/HostProcess.h"
#include "platform/common/HandleTable.h"
#include "platform/sim/SimMachine.h"

#include <atomic>
#include <filesystem>
#include <memory>

namespace sim {

class SimProcesses final : public ports::Processes, public ports::HandleCloser {
public:
    explicit SimProcesses(SimMachine& machine) : machine_(machine) {}

    ports::Status start(const ports::ProcessStartInfo& info, ports::ProcessHandle& out) noexcept override;
    ports::Status wait(ports::ProcessHandle& process, std::uint32_t timeoutMs) noexcept override;
    ports::Status exitCode(ports::ProcessHandle& process, std::uint32_t& out) noexcept override;
    ports::Status terminate(ports::ProcessHandle& process, std::uint32_t exitCode) noexcept override;
    ports::Status createPipe(bool inheritable, ports::PipeHandle& readEnd,
                             ports::PipeHandle& writeEnd) noexcept override;
    ports::Status readPipe(ports::PipeHandle& readEnd, std::size_t maxBytes,
                           std::vector<std::uint8_t>& out) noexcept override;
    ports::Status writePipe(ports::PipeHandle& writeEnd,
                            const std::vector<std::uint8_t>& data) noexcept override;
    ports::Status redirectStdOutput(const ports::PipeHandle& writeEnd) noexcept override;
    ports::Status restoreStdOutput() noexcept override;

    void closeHandle(std::uint64_t id) noexcept override;

    // How many reads wait for data on this pipe end now (for tests; 0 for a handle that is not one).
    int waitingReaders(const ports::PipeHandle& end) const noexcept;

    // Where the host devcon is found (empty when nowhere).
    std::filesystem::path hostDevcon() const;

private:
    struct Entry {
        std::shared_ptr<host::Child> child; // a real child
        std::uint32_t recordedExit = 0;     // a recorded command's exit code
        std::shared_ptr<host::PipeEnd> pipe;
    };
    // The host program that stands for `program` on this machine, with the arguments it gets before
    // the command line's own; false when the command line is only recorded.
    using HostProgram = SimMachine::HostProgram;
    bool hostProgramFor(std::wstring_view program, HostProgram& out);

    SimMachine& machine_;
    std::atomic<bool> loggedIgnoredPrograms_{false};
    platform::HandleTable<Entry> handles_;
};

} // namespace sim
