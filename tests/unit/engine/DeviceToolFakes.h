#pragma once
// Test doubles for the child-process and spooler routines: a virtual clock, child processes that
// run a function on their own thread and write into in-memory pipes of a fixed capacity (a writer
// blocks while the pipe is full, as on Windows), a "Spooler" service that changes state after a
// delay on the virtual clock, and a platform that swaps these in over a simulated machine's ports.
#include "platform/ports/Platform.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace engine_test {

namespace winerr = ports::winerr;

class VirtualClock final : public ports::Clock {
public:
    std::uint64_t nowMs() noexcept override {
        std::lock_guard lock(mutex_);
        return now_;
    }
    void sleepMs(std::uint32_t ms) noexcept override {
        std::lock_guard lock(mutex_);
        now_ += ms;
        sleeps_.push_back(ms);
    }
    ports::SystemTime localTime() noexcept override { return {2024, 5, 3, 17, 9, 30, 0, 0}; }

    std::vector<std::uint32_t> sleeps() const {
        std::lock_guard lock(mutex_);
        return sleeps_;
    }

private:
    mutable std::mutex mutex_;
    std::uint64_t now_ = 0;
    std::vector<std::uint32_t> sleeps_;
};

class FakeProcesses final : public ports::Processes, public ports::HandleCloser {
public:
    struct Started {
        std::wstring commandLine;
        std::wstring workingDirectory;
        bool hidden = false;
        bool inheritHandles = false;
        std::uint64_t outputPipe = 0; // the write end's handle id, 0 for none
    };
    // Sends bytes to the child's standard output; false when the pipe stayed full too long.
    using Write = std::function<bool(std::string_view)>;
    // A child's life: runs on its own thread; its result is the exit code.
    using Child = std::function<std::uint32_t(const Started&, const Write&)>;

    Child child = [](const Started&, const Write&) { return 0u; };
    ports::Status startStatus = winerr::Success;    // CreateProcessW fails with this
    ports::Status exitCodeStatus = winerr::Success; // GetExitCodeProcess fails with this
    std::size_t pipeCapacity = 4096;
    // How long a write waits on a full pipe before the fake gives up (a real one would block).
    std::chrono::milliseconds blockedWriteLimit{10000};

    ~FakeProcesses() {
        std::vector<std::thread> threads;
        {
            std::lock_guard lock(mutex_);
            for (auto& [id, h] : handles_)
                if (h.proc && h.proc->thread.joinable())
                    threads.push_back(std::move(h.proc->thread));
        }
        for (auto& t : threads)
            t.join();
    }

    ports::Status start(const ports::ProcessStartInfo& info, ports::ProcessHandle& out) noexcept override {
        std::lock_guard lock(mutex_);
        Started s{info.commandLine, info.workingDirectory, info.hidden, info.inheritHandles,
                  info.output ? info.output->id() : 0};
        started_.push_back(s);
        changed_.notify_all();
        if (startStatus != winerr::Success)
            return startStatus;
        auto proc = std::make_shared<Proc>();
        std::shared_ptr<Pipe> pipe;
        if (info.output) {
            auto it = handles_.find(info.output->id());
            if (it == handles_.end() || it->second.kind != Kind::Write)
                return winerr::InvalidHandle;
            pipe = it->second.pipe;
            ++pipe->writers; // the child inherits the write end
        }
        const std::uint64_t id = next_++;
        handles_[id] = {Kind::Process, nullptr, proc};
        proc->thread = std::thread([this, s, proc, pipe] {
            const std::uint32_t code =
                child(s, [this, pipe](std::string_view bytes) { return pipe ? write(*pipe, bytes) : true; });
            std::lock_guard lock(mutex_);
            proc->code = code;
            proc->done = true;
            if (pipe)
                --pipe->writers;
            changed_.notify_all();
        });
        out = ports::ProcessHandle(*this, id);
        return winerr::Success;
    }

    ports::Status wait(ports::ProcessHandle& process, std::uint32_t) noexcept override {
        std::unique_lock lock(mutex_);
        auto proc = procOf(process);
        if (!proc)
            return winerr::InvalidHandle;
        changed_.wait(lock, [&] { return proc->done; });
        return winerr::Success;
    }

    ports::Status exitCode(ports::ProcessHandle& process, std::uint32_t& out) noexcept override {
        std::lock_guard lock(mutex_);
        auto proc = procOf(process);
        if (!proc)
            return winerr::InvalidHandle;
        if (exitCodeStatus != winerr::Success)
            return exitCodeStatus;
        out = proc->done ? proc->code : 259;
        return winerr::Success;
    }

    ports::Status terminate(ports::ProcessHandle&, std::uint32_t) noexcept override {
        return winerr::CallNotImplemented;
    }

    ports::Status createPipe(bool inheritable, ports::PipeHandle& readEnd,
                             ports::PipeHandle& writeEnd) noexcept override {
        std::lock_guard lock(mutex_);
        pipesInheritable_.push_back(inheritable);
        auto pipe = std::make_shared<Pipe>();
        pipe->writers = 1;
        const std::uint64_t r = next_++;
        const std::uint64_t w = next_++;
        handles_[r] = {Kind::Read, pipe, nullptr};
        handles_[w] = {Kind::Write, pipe, nullptr};
        readEnd = ports::PipeHandle(*this, r);
        writeEnd = ports::PipeHandle(*this, w);
        return winerr::Success;
    }

    ports::Status readPipe(ports::PipeHandle& readEnd, std::size_t maxBytes,
                           std::vector<std::uint8_t>& out) noexcept override {
        std::unique_lock lock(mutex_);
        auto it = handles_.find(readEnd.id());
        if (it == handles_.end() || it->second.kind != Kind::Read)
            return winerr::InvalidHandle;
        auto pipe = it->second.pipe;
        readSizes_.push_back(maxBytes);
        changed_.wait(lock, [&] { return !pipe->data.empty() || pipe->writers == 0 || !pipe->readerOpen; });
        if (pipe->data.empty())
            return winerr::BrokenPipe;
        const std::size_t n = std::min(maxBytes, pipe->data.size());
        out.assign(pipe->data.begin(), pipe->data.begin() + static_cast<std::ptrdiff_t>(n));
        pipe->data.erase(pipe->data.begin(), pipe->data.begin() + static_cast<std::ptrdiff_t>(n));
        changed_.notify_all();
        return winerr::Success;
    }

    ports::Status writePipe(ports::PipeHandle& writeEnd,
                            const std::vector<std::uint8_t>& data) noexcept override {
        std::shared_ptr<Pipe> pipe;
        {
            std::lock_guard lock(mutex_);
            auto it = handles_.find(writeEnd.id());
            if (it == handles_.end() || it->second.kind != Kind::Write)
                return winerr::InvalidHandle;
            pipe = it->second.pipe;
        }
        return write(*pipe, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()))
                   ? winerr::Success
                   : winerr::Timeout;
    }

    ports::Status redirectStdOutput(const ports::PipeHandle& writeEnd) noexcept override {
        std::lock_guard lock(mutex_);
        redirectedTo_.push_back(writeEnd.id());
        return winerr::Success;
    }
    ports::Status restoreStdOutput() noexcept override {
        std::lock_guard lock(mutex_);
        ++restores_;
        return winerr::Success;
    }

    void closeHandle(std::uint64_t id) noexcept override {
        std::thread finished;
        {
            std::lock_guard lock(mutex_);
            auto it = handles_.find(id);
            if (it == handles_.end())
                return;
            Handle h = std::move(it->second);
            handles_.erase(it);
            if (h.kind == Kind::Write)
                --h.pipe->writers;
            if (h.kind == Kind::Read)
                h.pipe->readerOpen = false;
            if (h.proc)
                finished = std::move(h.proc->thread);
            changed_.notify_all();
        }
        if (finished.joinable())
            finished.join();
        std::lock_guard lock(mutex_);
        closed_.push_back(id);
        changed_.notify_all();
    }

    // Observations.
    std::vector<Started> started() const {
        std::lock_guard lock(mutex_);
        return started_;
    }
    std::vector<std::size_t> readSizes() const {
        std::lock_guard lock(mutex_);
        return readSizes_;
    }
    std::vector<bool> pipesInheritable() const {
        std::lock_guard lock(mutex_);
        return pipesInheritable_;
    }
    std::vector<std::uint64_t> redirectedTo() const {
        std::lock_guard lock(mutex_);
        return redirectedTo_;
    }
    int restores() const {
        std::lock_guard lock(mutex_);
        return restores_;
    }
    bool writeTimedOut() const {
        std::lock_guard lock(mutex_);
        return writeTimedOut_;
    }
    std::size_t openHandles() const {
        std::lock_guard lock(mutex_);
        return handles_.size();
    }
    // Waits until `count` starts were asked for; false after 10 s.
    bool waitForStarts(std::size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return started_.size() >= count; });
    }
    // Waits until `count` handles have been closed (for threads nobody joins); false after 10 s.
    bool waitForClosedHandles(std::size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return closed_.size() >= count; });
    }

private:
    enum class Kind { Process, Read, Write };
    struct Pipe {
        std::deque<std::uint8_t> data;
        int writers = 0;
        bool readerOpen = true;
    };
    struct Proc {
        std::thread thread;
        bool done = false;
        std::uint32_t code = 0;
    };
    struct Handle {
        Kind kind = Kind::Process;
        std::shared_ptr<Pipe> pipe;
        std::shared_ptr<Proc> proc;
    };

    std::shared_ptr<Proc> procOf(ports::ProcessHandle& process) {
        auto it = handles_.find(process.id());
        return it == handles_.end() ? nullptr : it->second.proc;
    }

    bool write(Pipe& pipe, std::string_view bytes) {
        std::unique_lock lock(mutex_);
        while (!bytes.empty()) {
            if (!changed_.wait_for(lock, blockedWriteLimit,
                                   [&] { return pipe.data.size() < pipeCapacity || !pipe.readerOpen; })) {
                writeTimedOut_ = true;
                return false;
            }
            if (!pipe.readerOpen)
                return false;
            const std::size_t n = std::min(bytes.size(), pipeCapacity - pipe.data.size());
            pipe.data.insert(pipe.data.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
            bytes.remove_prefix(n);
            changed_.notify_all();
        }
        return true;
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::uint64_t, Handle> handles_;
    std::uint64_t next_ = 1;
    std::vector<Started> started_;
    std::vector<std::size_t> readSizes_;
    std::vector<bool> pipesInheritable_;
    std::vector<std::uint64_t> redirectedTo_;
    std::vector<std::uint64_t> closed_;
    int restores_ = 0;
    bool writeTimedOut_ = false;
};

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
    ports::AppHost& host() noexcept override { return base_.host(); }

private:
    ports::Platform& base_;
};

} // namespace engine_test
