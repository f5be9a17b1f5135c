#include "platform/sim/SimMachine.h"

#include "base/Compare.h"
#include "base/Utf.h"
#include "platform/sim/HostPath.h"
#include "platform/sim/SimJson.h"
#include "platform/sim/SimStateCheck.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace sim {

using ports::Status;
namespace winerr = ports::winerr;

SimMachine::SimMachine(Json state, std::filesystem::path file, std::filesystem::path driveRoot, LogSink log)
    : state_(std::move(state)), file_(std::move(file)), driveRoot_(std::move(driveRoot)),
      log_(std::move(log)) {
    check();
    if (!file_.empty()) {
        savedText_ = state_.dump(2);
        noteFile();
    }
}

std::unique_ptr<SimMachine> SimMachine::inMemory(Json state, std::filesystem::path driveRoot, LogSink log) {
    std::error_code ec;
    std::filesystem::create_directories(driveRoot / "C", ec);
    return std::unique_ptr<SimMachine>(
        new SimMachine(std::move(state), {}, std::move(driveRoot), std::move(log)));
}

std::unique_ptr<SimMachine> SimMachine::demo() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    auto root = std::filesystem::temp_directory_path() /
                ("orvello-demo-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    auto machine = inMemory(demoMachineState(), root);
    machine->ownsDriveRoot_ = true;
    return machine;
}

SimMachine::~SimMachine() {
    if (ownsDriveRoot_) {
        std::error_code ec;
        std::filesystem::remove_all(driveRoot_, ec);
    }
}

std::unique_ptr<SimMachine> SimMachine::openFile(const std::filesystem::path& file, Status& status,
                                                 LogSink log) {
    status = winerr::Success;
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(file, ec);
    // The drive of a file-backed machine sits beside the file, so two processes share it too.
    auto drive = absolute;
    drive += ".drive";
    std::filesystem::create_directories(drive / "C", ec);
    Json state;
    // Held until the machine has noted the file's time and size, so no change slips in between.
    host::FileLock lock(std::filesystem::path(absolute).concat(".lock"));
    {
        std::ifstream in(absolute, std::ios::binary);
        if (!in) {
            state = demoMachineState();
            if (!host::replaceFileAtomically(absolute, state.dump(2))) {
                status = winerr::AccessDenied;
                return nullptr;
            }
        } else {
            state = Json::parse(in, nullptr, false);
            if (state.is_discarded() || !state.is_object()) {
                status = winerr::InvalidData;
                return nullptr;
            }
        }
    }
    // A machine shared by an in-memory one names its drive folder.
    const Json& hostDrive = state.contains("hostDrive") ? state["hostDrive"] : Json();
    if (hostDrive.is_string())
        drive = hostPathOfUtf8(hostDrive.get_ref<const std::string&>());
    return std::unique_ptr<SimMachine>(new SimMachine(std::move(state), absolute, drive, std::move(log)));
}

std::filesystem::path SimMachine::shareThroughFile() {
    std::lock_guard lock(mutex_);
    if (!file_.empty())
        return file_;
    const std::filesystem::path file = driveRoot_ / "machine.json";
    state_["hostDrive"] = utf8Of(driveRoot_);
    {
        host::FileLock fileLock(std::filesystem::path(file).concat(".lock"));
        if (!host::replaceFileAtomically(file, state_.dump(2)))
            return {};
    }
    file_ = file;
    savedText_ = state_.dump(2);
    noteFile();
    return file_;
}

SimMachine::Guard::Guard(SimMachine& m) : m_(m) {
    m_.mutex_.lock();
    if (m_.depth_++ == 0 && !m_.file_.empty()) {
        fileLock_ = std::make_unique<host::FileLock>(std::filesystem::path(m_.file_).concat(".lock"));
        m_.reloadIfChanged();
    }
}

SimMachine::Guard::~Guard() {
    --m_.depth_;
    fileLock_.reset();
    m_.mutex_.unlock();
}

SimMachine::SaveOnExit::~SaveOnExit() {
    if (m_.depth_ == 1)
        m_.save();
}

void SimMachine::noteFile() {
    std::error_code ec;
    seenTime_ = std::filesystem::last_write_time(file_, ec);
    seenSize_ = ec ? static_cast<std::uintmax_t>(-1) : std::filesystem::file_size(file_, ec);
}

void SimMachine::reloadIfChanged() {
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(file_, ec);
    const auto size = ec ? static_cast<std::uintmax_t>(-1) : std::filesystem::file_size(file_, ec);
    // The time may be as coarse as seconds (mingw's C++ library), so a file written in the last
    // moments is read whatever its time and size say; it is parsed only when its text differs.
    const bool recent = !ec && std::filesystem::file_time_type::clock::now() - time < std::chrono::seconds(3);
    if (!ec && !recent && time == seenTime_ && size == seenSize_)
        return;
    std::ifstream in(file_, std::ios::binary);
    if (!in)
        return; // keep what we have; the next save recreates the file
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    seenTime_ = time;
    seenSize_ = size;
    if (text == savedText_)
        return;
    Json fresh = Json::parse(text, nullptr, false);
    if (fresh.is_discarded() || !fresh.is_object()) {
        log("the state file no longer holds a JSON object: kept the state read before");
        return;
    }
    state_ = std::move(fresh);
    check();
    savedText_ = state_.dump(2) == text ? std::move(text) : state_.dump(2);
}

void SimMachine::check() {
    checkState(state_, [this](std::string_view line) { log(line); });
}

void SimMachine::save() {
    check();
    if (file_.empty())
        return;
    std::string text = state_.dump(2);
    if (text == savedText_)
        return;
    if (host::replaceFileAtomically(file_, text)) {
        savedText_ = std::move(text);
        noteFile();
    }
}

void SimMachine::log(std::string_view line) const noexcept {
    try {
        if (log_) {
            log_(line);
            return;
        }
    } catch (...) {
        // a failing sink loses the line; the machine goes on
    }
    std::fprintf(stderr, "simulated machine: %.*s\n", static_cast<int>(line.size()), line.data());
}

namespace {

// An entry of "faults" for `operation`. The list is hand-written data: an entry of the wrong shape
// matches nothing rather than stopping the program.
bool isFaultFor(const Json& entry, std::string_view operation) {
    const Json& name = memberOf(entry, "operation");
    return name.is_string() && name.get_ref<const std::string&>() == operation;
}

} // namespace

Status SimMachine::takeFault(Json& state, std::string_view operation) {
    auto it = state.find("faults");
    if (it == state.end() || !it->is_array())
        return winerr::Success;
    for (size_t i = 0; i < it->size(); ++i) {
        Json& f = (*it)[i];
        if (!isFaultFor(f, operation))
            continue;
        const auto result = static_cast<Status>(numberOf(f, "code", winerr::AccessDenied));
        const auto count = static_cast<std::int64_t>(numberOf(f, "count", 1));
        if (count <= 1)
            it->erase(i);
        else
            f["count"] = count - 1;
        return result;
    }
    return winerr::Success;
}

bool SimMachine::hasFault(const Json& state, std::string_view operation) {
    auto it = state.find("faults");
    if (it == state.end() || !it->is_array())
        return false;
    for (const auto& f : *it) {
        if (isFaultFor(f, operation))
            return true;
    }
    return false;
}

Status SimMachine::fault(std::string_view operation) {
    if (!read([&](const Json& s) { return hasFault(s, operation); }))
        return winerr::Success;
    return write([&](Json& s) { return takeFault(s, operation); });
}

namespace {

// The entry of `folder` whose name equals `name` without regard to case, or an empty path.
std::filesystem::path entryIgnoringCase(const std::filesystem::path& folder, std::wstring_view name) {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        if (text::equalsNoCase(wideOf(e.path().filename()), name))
            return e.path().filename();
    return {};
}

} // namespace

std::filesystem::path SimMachine::hostPath(std::wstring_view windowsPath) const {
    std::wstring_view p = windowsPath;
    if (p.starts_with(L"\\\\?\\"))
        p.remove_prefix(4);
    if (p.size() < 2 || p[1] != L':' || !std::iswalpha(static_cast<wint_t>(p[0])))
        return {};
    const std::filesystem::path drive =
        driveRoot_ / std::string(1, static_cast<char>(text::upperOrdinal(p[0])));
    p.remove_prefix(2);
    // The names, with "." and ".." taken away (".." never climbs above the drive).
    std::vector<std::wstring_view> parts;
    for (size_t pos = 0; pos <= p.size();) {
        size_t end = p.find_first_of(L"\\/", pos);
        if (end == std::wstring_view::npos)
            end = p.size();
        const std::wstring_view part = p.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty() || part == L".")
            continue;
        if (part == L"..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::error_code ec;
    // Most paths are spelt as on the disk, or name a new entry of a folder that is: one look each.
    std::filesystem::path exact = drive;
    for (const auto part : parts)
        exact /= hostPathOf(part);
    if (std::filesystem::exists(exact, ec))
        return exact;
    if (!parts.empty() && std::filesystem::exists(exact.parent_path(), ec)) {
        const auto match = entryIgnoringCase(exact.parent_path(), parts.back());
        return match.empty() ? exact : exact.parent_path() / match;
    }
    // Windows file names ignore case: each folder's entry that differs only in case, as far as
    // the entries exist.
    std::filesystem::path host = drive;
    bool existing = true;
    for (const auto part : parts) {
        const std::filesystem::path name = hostPathOf(part);
        if (existing && !std::filesystem::exists(host / name, ec)) {
            const auto match = entryIgnoringCase(host, part);
            if (!match.empty()) {
                host /= match;
                continue;
            }
            existing = false;
        }
        host /= name;
    }
    return host;
}

} // namespace sim
