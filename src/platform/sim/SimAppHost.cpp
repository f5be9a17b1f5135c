#include "platform/sim/SimAppHost.h"

#include "base/Compare.h"
#include "base/Utf.h"
#include "platform/sim/SimJson.h"
#include "platform/sim/SimNamedMutex.h"

#include <algorithm>
#include <cstdio>

namespace sim {
using ports::Status;
namespace winerr = ports::winerr;

struct SimAppHost::Loaded {
    std::mutex mutex;
    std::vector<std::wstring> names;
};

namespace {

const Json& systemSection(const Json& s) {
    static const Json empty = Json::object();
    auto it = s.find("system");
    return it != s.end() && it->is_object() ? *it : empty;
}

bool listed(const Json& s, const char* list, std::wstring_view name, bool ignoreCase) {
    const Json& sys = systemSection(s);
    auto it = sys.find(list);
    if (it == sys.end() || !it->is_array())
        return false;
    for (const auto& v : *it) {
        if (!v.is_string())
            continue;
        const std::wstring entry = text::fromUtf8(v.get<std::string>());
        if (ignoreCase ? text::equalsNoCase(entry, name) : entry == name)
            return true;
    }
    return false;
}

// The name a mutex's lock file gets: the characters a file name may not hold become '_'.
std::string lockFileName(std::wstring_view id) {
    std::string name = text::toUtf8(id);
    for (char& c : name) {
        if (c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
            c == '|')
            c = '_';
    }
    return name + ".mutex";
}

class SimSingleInstance final : public ports::SingleInstance {
public:
    SimSingleInstance(SimMachine& machine, std::wstring_view id, std::unique_ptr<SimNamedMutex> mutex,
                      bool first)
        : machine_(machine), id_(text::toUtf8(id)), mutex_(std::move(mutex)), first_(first) {}

    bool first() const noexcept override { return first_; }
    std::uint32_t activationMessage() const noexcept override { return 0; }

    int takeActivationRequests() noexcept override {
        if (!first_)
            return 0;
        return machine_.write([&](Json& s) {
            auto section = s.find("singleInstance");
            if (section == s.end() || !section->is_object() || !section->contains(id_))
                return 0;
            Json& entry = (*section)[id_];
            const auto n = static_cast<int>(numberOf(entry, "activationRequests", 0));
            entry["activationRequests"] = 0;
            return n;
        });
    }

private:
    SimMachine& machine_;
    std::string id_;
    std::unique_ptr<SimNamedMutex> mutex_;
    bool first_;
};

class SimModule final : public ports::Module {
public:
    SimModule(SimMachine& machine, std::wstring name, std::shared_ptr<SimAppHost::Loaded> loaded)
        : machine_(machine), name_(std::move(name)), loaded_(std::move(loaded)) {
        std::lock_guard lock(loaded_->mutex);
        loaded_->names.push_back(name_);
    }
    ~SimModule() override {
        std::lock_guard lock(loaded_->mutex);
        auto it = std::find(loaded_->names.begin(), loaded_->names.end(), name_);
        if (it != loaded_->names.end())
            loaded_->names.erase(it);
    }

    bool hasEntryPoint(const char* name) const noexcept override {
        const std::wstring wanted = text::fromUtf8(name ? name : "");
        return !wanted.empty() &&
               !machine_.read([&](const Json& s) { return listed(s, "missingEntryPoints", wanted, false); });
    }

private:
    SimMachine& machine_;
    std::wstring name_;
    std::shared_ptr<SimAppHost::Loaded> loaded_;
};

constexpr const wchar_t* kKnownPrivileges[] = {L"SeLoadDriverPrivilege", L"SeShutdownPrivilege",
                                               L"SeDebugPrivilege", L"SeBackupPrivilege",
                                               L"SeRestorePrivilege"};

} // namespace

SimAppHost::SimAppHost(SimMachine& machine) : machine_(machine), loaded_(std::make_shared<Loaded>()) {}

std::unique_ptr<ports::SingleInstance> SimAppHost::claimSingleInstance(std::wstring_view id) noexcept {
    const auto folder = machine_.driveRoot() / ".objects";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    auto mutex = std::make_unique<SimNamedMutex>(folder / lockFileName(id));
    const bool first = !mutex->heldElsewhere();
    if (!first) {
        const std::string key = text::toUtf8(id);
        machine_.write([&](Json& s) {
            Json& section = s["singleInstance"];
            if (!section.is_object())
                section = Json::object();
            Json& entry = section[key];
            if (!entry.is_object())
                entry = Json::object();
            entry["activationRequests"] = numberOf(entry, "activationRequests", 0) + 1;
        });
    }
    return std::make_unique<SimSingleInstance>(machine_, id, std::move(mutex), first);
}

Status SimAppHost::startWinsock(std::uint16_t requested, std::uint16_t& reported) noexcept {
    const std::string offered =
        machine_.read([](const Json& s) { return u8(textOf(systemSection(s), "winsockVersion", L"2.2")); });
    unsigned major = 2, minor = 2;
    std::sscanf(offered.c_str(), "%u.%u", &major, &minor);
    reported = ports::winsockVersion(static_cast<std::uint8_t>(major), static_cast<std::uint8_t>(minor));
    if (Status f = machine_.write([](Json& s) { return SimMachine::takeFault(s, "WSAStartup"); }))
        return f;
    // As ws2_32 does: a version below the lowest it has (1.0) fails; a higher one than it offers gets
    // what it offers, reported in wVersion for the caller to check.
    const unsigned wantMajor = requested & 0xFF, wantMinor = requested >> 8;
    if (wantMajor < 1)
        return winerr::WsaVersionNotSupported;
    if (wantMajor < major || (wantMajor == major && wantMinor < minor))
        reported = requested;
    std::lock_guard lock(mutex_);
    ++winsockStarts_;
    return winerr::Success;
}

Status SimAppHost::cleanupWinsock() noexcept {
    std::lock_guard lock(mutex_);
    if (winsockStarts_ == 0)
        return winerr::WsaNotInitialised;
    --winsockStarts_;
    return winerr::Success;
}

Status SimAppHost::enablePrivilege(std::wstring_view name) noexcept {
    const bool known = std::any_of(std::begin(kKnownPrivileges), std::end(kKnownPrivileges),
                                   [&](const wchar_t* p) { return text::equalsNoCase(p, name); });
    if (!known)
        return winerr::NoSuchPrivilege;
    if (Status f = machine_.write([](Json& s) { return SimMachine::takeFault(s, "AdjustTokenPrivileges"); }))
        return f;
    std::lock_guard lock(mutex_);
    if (std::find(privileges_.begin(), privileges_.end(), name) == privileges_.end())
        privileges_.emplace_back(name);
    return winerr::Success;
}

std::unique_ptr<ports::Module> SimAppHost::loadLibrary(std::wstring_view name, Status& status) noexcept {
    status = machine_.write([](Json& s) { return SimMachine::takeFault(s, "LoadLibrary"); });
    if (status)
        return nullptr;
    if (name.empty() ||
        machine_.read([&](const Json& s) { return listed(s, "missingLibraries", name, true); })) {
        status = winerr::ModNotFound;
        return nullptr;
    }
    return std::make_unique<SimModule>(machine_, std::wstring(name), loaded_);
}

int SimAppHost::winsockStarts() const {
    std::lock_guard lock(mutex_);
    return winsockStarts_;
}

std::vector<std::wstring> SimAppHost::enabledPrivileges() const {
    std::lock_guard lock(mutex_);
    return privileges_;
}

std::vector<std::wstring> SimAppHost::loadedLibraries() const {
    std::lock_guard lock(loaded_->mutex);
    return loaded_->names;
}

} // namespace sim
