#include "platform/sim/SimProcesses.h"

#include "base/Compare.h"
#include "platform/sim/SimCommandLine.h"
#include "platform/sim/SimJson.h"
#include "platform/sim/SimPrintSystem.h"

#include <cstdlib>
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

fs::path hostPathOfUtf8(const std::string& text) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

// The device-console tool built for a simulated machine. On Windows the build also makes the real
// tools (devcon32.exe, devcon64.exe), which would act on the real machine: never those.
#ifdef _WIN32
constexpr const char* kDevconName = "devcon-sim.exe";
#else
constexpr const char* kDevconName = "devcon";
#endif

} // namespace

fs::path SimProcesses::hostDevcon() const {
    if (!machine_.hostDevcon().empty())
        return machine_.hostDevcon();
    if (const char* env = std::getenv("ORVELLO_DEVCON"); env && *env)
        return hostPathOfUtf8(env);
    // Next to the running executable's build tree: build/<preset>/tests/x -> build/<preset>/tools/devcon.
    std::error_code ec;
    fs::path dir = host::executablePath().parent_path();
    for (int up = 0; up < 4 && !dir.empty(); ++up, dir = dir.parent_path()) {
        const fs::path candidate = dir / "tools" / "devcon" / kDevconName;
        if (fs::is_regular_file(candidate, ec))
            return candidate;
        if (dir == dir.parent_path())
            break;
    }
    return {};
}

bool SimProcesses::hostProgramFor(std::wstring_view program, HostProgram& out) {
    std::wstring name = fileNameOf(program);
    if (name.find(L'.') == std::wstring::npos)
        name += L".exe";
    // The state's own mapping first, then the device-console tools.
    const bool mapped = machine_.read([&](const Json& s) {
        const Json* entry = findNamed(memberOf(s, "hostPrograms"), "name", name);
        if (!entry)
            return false;
        out.path =
            hostPathOfUtf8(memberOf(*entry, "path").is_string() ? (*entry)["path"].get<std::string>() : "");
        out.prefix = textsOf(*entry, "args");
        out.machineArgument = flagOf(*entry, "machineArgument");
        return true;
    });
    if (mapped)
        return true;
    for (auto tool : kDeviceTools) {
        if (text::equalsNoCase(tool, name)) {
            out.path = hostDevcon();
            out.machineArgument = true;
            return true;
        }
    }
    return false;
}

Status SimProcesses::start(const ports::ProcessStartInfo& info, ports::ProcessHandle& out) noexcept {
    out.reset();
    if (Status f = machine_.fault("CreateProcessW"))
        return f;
    const std::wstring program = programOf(info.commandLine);
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
        const auto u = file.u8string();
        spawn.arguments.push_back(L"--machine=" + wide(std::string(u.begin(), u.end())));
    }
    auto args = splitArguments(info.commandLine);
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

void SimProcesses::closeHandle(std::uint64_t id) noexcept {
    // A read blocked on a pipe end that is closed ends now; the end itself closes once no one uses it.
    if (auto e = handles_.remove(id); e && e->pipe)
        e->pipe->cancel();
}

} // namespace sim
