#include "platform/sim/SimFileSystem.h"

#include "platform/sim/HostPath.h"

#include "base/Utf.h"
#include "base/Compare.h"
#include "platform/sim/SimJson.h"
#include "platform/sim/SimPrintSystem.h"

#include <cstdio>
#include <fstream>
#include <system_error>

namespace sim {
namespace fs = std::filesystem;
using ports::Status;
namespace winerr = ports::winerr;

namespace {

// FileNotFound when the folder exists but the file does not, PathNotFound when the folder is missing.
Status missing(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p.parent_path(), ec) ? winerr::FileNotFound : winerr::PathNotFound;
}

Status fromErrorCode(const std::error_code& ec, const fs::path& p) {
    if (!ec)
        return winerr::Success;
#ifdef _WIN32
    // The host is Windows itself: its own code is the answer.
    if (ec.category() == std::system_category())
        return static_cast<Status>(ec.value());
#endif
    if (ec == std::errc::no_such_file_or_directory)
        return missing(p);
    if (ec == std::errc::file_exists)
        return winerr::AlreadyExists;
    if (ec == std::errc::directory_not_empty)
        return winerr::DirNotEmpty;
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted)
        return winerr::AccessDenied;
    if (ec == std::errc::filename_too_long)
        return winerr::FilenameExcedRange;
    if (ec == std::errc::not_a_directory)
        return winerr::PathNotFound;
    return winerr::AccessDenied;
}

Status createExclusive(const fs::path& p, std::span<const std::uint8_t> data) {
    return host::createNewFile(p, data);
}

// What decides the wizard's view of System32 and the answer of the redirection switch.
struct Wow64Facts {
    bool entryPointMissing = false;
    bool machineIs64Bit = true;
    bool driverStoreExempt = true;
    std::wstring windowsFolder;
};

Wow64Facts wow64Facts(const Json& state) {
    const Json& system = memberOf(state, "system");
    Wow64Facts facts;
    for (const auto& name : textsOf(system, "missingEntryPoints"))
        facts.entryPointMissing = facts.entryPointMissing || name == L"Wow64EnableWow64FsRedirection";
    facts.machineIs64Bit = textOf(system, "architecture", L"x64") != L"x86";
    unsigned major = 0, minor = 0;
    std::sscanf(u8(textOf(system, "windowsVersion", L"10.0.19045")).c_str(), "%u.%u", &major, &minor);
    facts.driverStoreExempt = major > 6 || (major == 6 && minor >= 1);
    facts.windowsFolder = windowsFolder(state);
    return facts;
}

} // namespace

fs::path SimFileSystem::hostPath(std::wstring_view path) {
    // Only a path into System32 can move, so the others never need the machine's state.
    if (program_ != SimProgram::X86 || !text::containsNoCase(path, L"system32") || !redirection_.enabled())
        return machine_.hostPath(path);
    const Wow64Facts facts = machine_.read(wow64Facts);
    return machine_.hostPath(facts.machineIs64Bit
                                 ? wow64RedirectedPath(path, facts.driverStoreExempt, facts.windowsFolder)
                                 : std::wstring(path));
}

Status SimFileSystem::enableWow64FsRedirection(bool enable) noexcept {
    const Wow64Facts facts = machine_.read(wow64Facts);
    if (facts.entryPointMissing)
        return winerr::ProcNotFound;
    if (Status f = machine_.fault("Wow64EnableWow64FsRedirection"))
        return f;
    // 32-bit Windows and 64-bit processes have nothing to redirect, and Windows says so.
    if (program_ != SimProgram::X86 || !facts.machineIs64Bit)
        return winerr::InvalidFunction;
    redirection_.set(enable);
    return winerr::Success;
}

Status SimFileSystem::fault(const char* operation) {
    return machine_.fault(operation); // a write (and save) of the state only when a fault is due
}

Status SimFileSystem::readFile(std::wstring_view path, std::vector<std::uint8_t>& out) noexcept {
    out.clear();
    const fs::path p = hostPath(path);
    if (p.empty())
        return winerr::PathNotFound;
    if (Status f = fault("ReadFile"))
        return f;
    std::error_code ec;
    if (fs::is_directory(p, ec))
        return winerr::AccessDenied;
    std::ifstream in(p, std::ios::binary);
    if (!in)
        return fs::exists(p, ec) ? winerr::AccessDenied : missing(p);
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return winerr::Success;
}

Status SimFileSystem::write(std::wstring_view path, std::span<const std::uint8_t> data, Mode mode) {
    const fs::path p = hostPath(path);
    if (p.empty())
        return winerr::PathNotFound;
    if (Status f = fault("WriteFile"))
        return f;
    std::error_code ec;
    if (fs::is_directory(p, ec))
        return winerr::AccessDenied;
    if (!fs::is_directory(p.parent_path(), ec))
        return winerr::PathNotFound;
    if (mode == Mode::CreateNew)
        return createExclusive(p, data);
    std::ofstream out(p, std::ios::binary | (mode == Mode::Append ? std::ios::app : std::ios::trunc));
    if (!out)
        return winerr::AccessDenied;
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return out.flush() ? winerr::Success : winerr::AccessDenied;
}

Status SimFileSystem::writeFile(std::wstring_view path, std::span<const std::uint8_t> data) noexcept {
    return write(path, data, Mode::Replace);
}

Status SimFileSystem::createNewFile(std::wstring_view path, std::span<const std::uint8_t> data) noexcept {
    return write(path, data, Mode::CreateNew);
}

Status SimFileSystem::appendFile(std::wstring_view path, std::span<const std::uint8_t> data) noexcept {
    return write(path, data, Mode::Append);
}

Status SimFileSystem::copyFile(std::wstring_view from, std::wstring_view to, bool failIfExists) noexcept {
    const fs::path src = hostPath(from), dst = hostPath(to);
    if (src.empty() || dst.empty())
        return winerr::PathNotFound;
    if (Status f = fault("CopyFile"))
        return f;
    std::error_code ec;
    if (!fs::is_regular_file(src, ec))
        return fs::exists(src, ec) ? winerr::AccessDenied : missing(src);
    if (fs::exists(dst, ec) && failIfExists)
        return winerr::FileExists;
    if (!fs::is_directory(dst.parent_path(), ec))
        return winerr::PathNotFound;
    host::copyFileReplacing(src, dst, ec);
    return fromErrorCode(ec, dst);
}

Status SimFileSystem::deleteFile(std::wstring_view path) noexcept {
    const fs::path p = hostPath(path);
    if (p.empty())
        return winerr::PathNotFound;
    if (Status f = fault("DeleteFile"))
        return f;
    std::error_code ec;
    if (fs::is_directory(p, ec))
        return winerr::AccessDenied;
    if (!fs::exists(p, ec))
        return missing(p);
    fs::remove(p, ec);
    return fromErrorCode(ec, p);
}

Status SimFileSystem::createDirectories(std::wstring_view path) noexcept {
    const fs::path p = hostPath(path);
    if (p.empty())
        return winerr::PathNotFound;
    if (Status f = fault("CreateDirectory"))
        return f;
    std::error_code ec;
    if (fs::exists(p, ec) && !fs::is_directory(p, ec))
        return winerr::AlreadyExists;
    fs::create_directories(p, ec);
    return fromErrorCode(ec, p);
}

Status SimFileSystem::removeDirectory(std::wstring_view path) noexcept {
    const fs::path p = hostPath(path);
    if (p.empty())
        return winerr::PathNotFound;
    if (Status f = fault("RemoveDirectory"))
        return f;
    std::error_code ec;
    if (!fs::is_directory(p, ec))
        return fs::exists(p, ec) ? winerr::InvalidName : missing(p);
    // Asked first: the host's C library reports a non-empty folder in different ways.
    if (!fs::is_empty(p, ec))
        return winerr::DirNotEmpty;
    fs::remove(p, ec);
    return fromErrorCode(ec, p);
}

Status SimFileSystem::listDirectory(std::wstring_view path, std::vector<ports::FileEntry>& out) noexcept {
    out.clear();
    const fs::path p = hostPath(path);
    std::error_code ec;
    if (p.empty() || !fs::is_directory(p, ec))
        return winerr::PathNotFound;
    for (const auto& e : fs::directory_iterator(p, ec)) {
        ports::FileEntry entry;
        entry.name = wideOf(e.path().filename());
        entry.directory = e.is_directory(ec);
        entry.size = entry.directory ? 0 : e.file_size(ec);
        out.push_back(std::move(entry));
    }
    return fromErrorCode(ec, p);
}

bool SimFileSystem::fileExists(std::wstring_view path) noexcept {
    const fs::path p = hostPath(path);
    std::error_code ec;
    return !p.empty() && fs::is_regular_file(p, ec);
}

bool SimFileSystem::directoryExists(std::wstring_view path) noexcept {
    const fs::path p = hostPath(path);
    std::error_code ec;
    return !p.empty() && fs::is_directory(p, ec);
}

} // namespace sim
