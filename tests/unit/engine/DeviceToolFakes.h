#pragma once
// Test doubles for the spooler routines: a "Spooler" service that changes state after a delay on
// the test's clock, and a platform that swaps ports in over a simulated machine's ones.
#include "platform/ports/Platform.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace engine_test {

namespace winerr = ports::winerr;

// The "Spooler" service: a stop or start request moves it to the pending state, and it reaches the
// final state once its delay has passed on the virtual clock.
class FakeSpoolerService final : public ports::ServiceControl, public ports::HandleCloser {
public:
    explicit FakeSpoolerService(ports::Clock& clock) : clock_(clock) {}

    std::uint32_t state = ports::svc::Running;
    std::uint64_t stopTakesMs = 3000;
    std::uint64_t startTakesMs = 3000;
    // Calls that fail, by name: "OpenSCManager", "OpenService", "ControlService", "StartService",
    // "QueryServiceStatus".
    std::map<std::string, ports::Status> failures;

    std::vector<std::string> calls;
    std::vector<std::string> closed; // "manager" or "service", in closing order

    ports::Status openManager(std::uint32_t access, ports::ServiceManagerHandle& out) noexcept override {
        calls.push_back("OpenSCManager " + hex(access));
        if (auto f = failure("OpenSCManager"))
            return f;
        out = ports::ServiceManagerHandle(*this, add("manager"));
        return winerr::Success;
    }
    ports::Status openService(ports::ServiceManagerHandle& manager, std::wstring_view name,
                              std::uint32_t access, ports::ServiceHandle& out) noexcept override {
        calls.push_back("OpenService " + std::string(name.begin(), name.end()) + " " + hex(access));
        if (!manager)
            return winerr::InvalidHandle;
        if (auto f = failure("OpenService"))
            return f;
        out = ports::ServiceHandle(*this, add("service"));
        return winerr::Success;
    }
    ports::Status queryStatus(ports::ServiceHandle&, ports::ServiceStatus& out) noexcept override {
        calls.push_back("QueryServiceStatus");
        if (auto f = failure("QueryServiceStatus"))
            return f;
        settle();
        out.currentState = state;
        return winerr::Success;
    }
    ports::Status start(ports::ServiceHandle&) noexcept override {
        calls.push_back("StartService");
        if (auto f = failure("StartService"))
            return f;
        settle();
        if (state != ports::svc::Stopped)
            return winerr::ServiceAlreadyRunning;
        state = ports::svc::StartPending;
        target_ = ports::svc::Running;
        at_ = clock_.nowMs() + startTakesMs;
        return winerr::Success;
    }
    ports::Status control(ports::ServiceHandle&, std::uint32_t code,
                          ports::ServiceStatus& out) noexcept override {
        calls.push_back("ControlService " + std::to_string(code));
        if (auto f = failure("ControlService"))
            return f;
        settle();
        if (state == ports::svc::Stopped)
            return winerr::ServiceNotActive;
        state = ports::svc::StopPending;
        target_ = ports::svc::Stopped;
        at_ = clock_.nowMs() + stopTakesMs;
        out.currentState = state;
        return winerr::Success;
    }

    void closeHandle(std::uint64_t id) noexcept override {
        closed.push_back(open_[id]);
        open_.erase(id);
    }
    std::size_t openHandles() const { return open_.size(); }

    // The state now, as the service manager would report it.
    std::uint32_t stateNow() {
        settle();
        return state;
    }

private:
    static std::string hex(std::uint32_t v) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "0x%X", v);
        return buf;
    }
    ports::Status failure(const std::string& call) const {
        auto it = failures.find(call);
        return it == failures.end() ? winerr::Success : it->second;
    }
    std::uint64_t add(const char* kind) {
        open_[next_] = kind;
        return next_++;
    }
    void settle() {
        if (target_ && clock_.nowMs() >= at_) {
            state = target_;
            target_ = 0;
        }
    }

    ports::Clock& clock_;
    std::uint32_t target_ = 0;
    std::uint64_t at_ = 0;
    std::map<std::uint64_t, std::string> open_;
    std::uint64_t next_ = 1;
};

// A simulated machine's ports with some of them replaced by test doubles.
class OverridePlatform final : public ports::Platform {
public:
    explicit OverridePlatform(ports::Platform& base) : base_(base) {}

    ports::Processes* processesOverride = nullptr;
    ports::ServiceControl* servicesOverride = nullptr;
    ports::Clock* clockOverride = nullptr;

    bool simulated() const noexcept override { return base_.simulated(); }
    ports::ProfileStore& profile() noexcept override { return base_.profile(); }
    ports::SystemInfo& system() noexcept override { return base_.system(); }
    ports::FileSystem& files() noexcept override { return base_.files(); }
    ports::Resources& resources() noexcept override { return base_.resources(); }
    ports::PrintSpooler& spooler() noexcept override { return base_.spooler(); }
    ports::DeviceTree& devices() noexcept override { return base_.devices(); }
    ports::Bluetooth& bluetooth() noexcept override { return base_.bluetooth(); }
    ports::ServiceControl& services() noexcept override {
        return servicesOverride ? *servicesOverride : base_.services();
    }
    ports::Processes& processes() noexcept override {
        return processesOverride ? *processesOverride : base_.processes();
    }
    ports::Clock& clock() noexcept override { return clockOverride ? *clockOverride : base_.clock(); }
    ports::Network& network() noexcept override { return base_.network(); }
    ports::InfFiles& infFiles() noexcept override { return base_.infFiles(); }
    ports::AppHost& host() noexcept override { return base_.host(); }

private:
    ports::Platform& base_;
};

} // namespace engine_test
