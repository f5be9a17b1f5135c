#include "platform/sim/SimProcesses.h"

#include "base/Compare.h"
#include "platform/sim/HostPath.h"
#include "base/CommandLine.h"
#include "platform/sim/SimJson.h"
#include "platform/sim/SimPrintSystem.h"

#include <system_error>

namespace sim {
namespace fs = std::filesystem;
namespace winerr = ports::winerr;
using ports::Status;

namespace {

constexpr std::wstring_view kDeviceTools[] = {L"devcon32.exe", L"devcon64.exe", L"devconARM64.exe",
                                              L"devconXP32.exe"};

std::wstring fileNameOf(std::wstring_view path) {
    const auto slash = path.find_last_of(L"\\/");
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

// The device-console tool built for a simulated machine, which the build puts beside the program
// (and beside the test executables). On Windows the build also makes the real tools (devcon32.exe,
// devcon64.exe), which would act on the real machine: never those.
#ifdef _WIN32
constexpr const char* kDevconName = "devcon-sim.exe";
#else
constexpr const char* kDevconName = "orvello-devcon";
#endif

} // namespace

fs::path SimProcesses::hostDevcon() const {
    if (!machine_.hostDevcon().empty())
        return machine_.hostDevcon();
    std::error_code ec;
    const fs::path exe = host::executablePath();
    if (exe.empty())
        return {};
    fs::path candidate = exe.parent_path() / kDevconName;
    return fs::is_regular_file(candidate, ec) ? candidate : fs::path();
}

bool SimProcesses::hostProgramFor(std::wstring_view program, HostProgram& out) {
    std::wstring name = fileNameOf(program);
    if (name.find(L'.') == std::wstring::npos)
        name += L".exe";
    if (!loggedIgnoredPrograms_.exchange(true)) {
        if (machine_.read([](const Json& s) { return s.contains("hostPrograms"); }))
            machine_.log("\"hostPrograms\" in the state is ignored: only the simulated device-console tool "
                         "beside the program runs");
    }
    // A test's own mapping first, then the device-console tools.
    for (const auto& [mappedName, mapped] : machine_.hostPrograms()) {
        if (text::equalsNoCase(mappedName, name)) {
            out = mapped;
            return true;
        }
    }
    for (auto tool : kDeviceTools) {
        if (text::equalsNoCase(tool, name)) {
            out = {hostDevcon(), {}, true};
            return true;
        }
    }
    return false;
}

Status SimProcesses::start(const ports::ProcessStartInfo& info, ports::ProcessHandle& out) noexcept {
    out.reset();
    if (Status f = machine_.fault("CreateProcessW"))
        return f;
    const std::wstring program = text::programOf(info.commandLine);
    if (program.empty())
        return winerr::FileNotFound;
    HostProgram hostProgram;
    if (!hostProgramFor(program, hostProgram)) {
        machine_.write([&](Json& s) { arrayAt(s, "commandsRun").push_back(u8(info.commandLine)); });
        out = ports::ProcessHandle(*this, handles_.add({nullptr, 0, nullptr}));
        return winerr::Success;
    }
    // The tool must be on the simulated disk, where the wizard unpacked it.
    std::wstring toolPath = program;
    if (!(toolPath.size() > 1 && toolPath[1] == L':') && !info.workingDirectory.empty())
        toolPath = info.workingDirectory + L"\\" + toolPath;
    if (!simFileExists(machine_, toolPath))
        return winerr::FileNotFound;
    std::error_code ec;
    if (hostProgram.path.empty() || !fs::is_regular_file(hostProgram.path, ec))
        return winerr::FileNotFound;
    host::SpawnInfo spawn;
    spawn.program = hostProgram.path;
    spawn.arguments = hostProgram.prefix;
    if (hostProgram.machineArgument) {
        const fs::path file = machine_.shareThroughFile();
        if (file.empty())
            return winerr::AccessDenied;
        spawn.arguments.push_back(L"--machine=" + wideOf(file));
    }
    auto args = text::splitArguments(info.commandLine);
    spawn.arguments.insert(spawn.arguments.end(), args.begin() + 1, args.end());
    if (!info.workingDirectory.empty()) {
        const fs::path dir = machine_.hostPath(info.workingDirectory);
        if (fs::is_directory(dir, ec))
            spawn.workingDirectory = dir;
    }
    std::shared_ptr<host::PipeEnd> output;
    if (info.output) {
        auto e = handles_.find(*info.output, this);
        if (!e || !e->pipe)
            return winerr::InvalidHandle;
        output = e->pipe;
        spawn.output = output.get();
    }
    spawn.inheritStdHandles = info.inheritHandles;
    std::unique_ptr<host::Child> child;
    if (Status e = host::spawn(spawn, child))
        return e;
    out = ports::ProcessHandle(*this,
                               handles_.add({std::shared_ptr<host::Child>(std::move(child)), 0, nullptr}));
    return winerr::Success;
}

Status SimProcesses::wait(ports::ProcessHandle& process, std::uint32_t timeoutMs) noexcept {
    auto e = handles_.find(process, this);
    if (!e || e->pipe)
        return winerr::InvalidHandle;
    return e->child ? e->child->wait(timeoutMs) : winerr::Success;
}

Status SimProcesses::exitCode(ports::ProcessHandle& process, std::uint32_t& out) noexcept {
    out = 0;
    auto e = handles_.find(process, this);
    if (!e || e->pipe)
        return winerr::InvalidHandle;
    if (!e->child) {
        out = e->recordedExit;
        return winerr::Success;
    }
    return e->child->exitCode(out);
}

Status SimProcesses::terminate(ports::ProcessHandle& process, std::uint32_t code) noexcept {
    auto e = handles_.find(process, this);
    if (!e || e->pipe)
        return winerr::InvalidHandle;
    return e->child ? e->child->terminate(code) : winerr::AccessDenied;
}

Status SimProcesses::createPipe(bool inheritable, ports::PipeHandle& readEnd,
                                ports::PipeHandle& writeEnd) noexcept {
    readEnd.reset();
    writeEnd.reset();
    if (Status f = machine_.fault("CreatePipe"))
        return f;
    std::shared_ptr<host::PipeEnd> r, w;
    if (Status e = host::createPipe(inheritable, r, w))
        return e;
    readEnd = ports::PipeHandle(*this, handles_.add({nullptr, 0, std::move(r)}));
    writeEnd = ports::PipeHandle(*this, handles_.add({nullptr, 0, std::move(w)}));
    return winerr::Success;
}

Status SimProcesses::readPipe(ports::PipeHandle& readEnd, std::size_t maxBytes,
                              std::vector<std::uint8_t>& out) noexcept {
    out.clear();
    auto e = handles_.find(readEnd, this);
    if (!e || !e->pipe)
        return winerr::InvalidHandle;
    return e->pipe->read(maxBytes, out);
}

Status SimProcesses::writePipe(ports::PipeHandle& writeEnd, const std::vector<std::uint8_t>& data) noexcept {
    auto e = handles_.find(writeEnd, this);
    if (!e || !e->pipe)
        return winerr::InvalidHandle;
    return e->pipe->write(data);
}

Status SimProcesses::redirectStdOutput(const ports::PipeHandle& writeEnd) noexcept {
    auto e = handles_.find(writeEnd, this);
    if (!e || !e->pipe)
        return winerr::InvalidHandle;
    return host::redirectStdOutput(*e->pipe);
}

Status SimProcesses::restoreStdOutput() noexcept {
    return host::restoreStdOutput();
}

int SimProcesses::waitingReaders(const ports::PipeHandle& end) const noexcept {
    auto e = handles_.find(end, this);
    return e && e->pipe ? e->pipe->waitingReaders() : 0;
}

void SimProcesses::closeHandle(std::uint64_t id) noexcept {
    // A read blocked on a pipe end that is closed ends now; the end itself closes once no one uses it.
    if (auto e = handles_.remove(id); e && e->pipe)
        e->pipe->cancel();
}

} // namespace sim
