#pragma once
// A watch in front of a real Processes port (the simulated machine's, or Win32's): it passes every
// call on and notes what the tests cannot see through the port itself: the start requests, the
// terminations, how many calls are under way, and calls that arrive after the test declared the port
// gone. Handles belong to the real port.
#include "platform/ports/Processes.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace engine_test {

class WatchedProcesses final : public ports::Processes {
public:
    struct Started {
        std::wstring commandLine;
        bool hidden = false;
        bool inheritHandles = false;
        std::uint64_t outputPipe = 0; // the write end's handle id, 0 for none
    };

    explicit WatchedProcesses(ports::Processes& inner) : inner_(inner) {}

    // From now on every call counts as a use of a port that no longer exists.
    void retire() { retired_ = true; }
    int usesAfterRetirement() const { return lateUses_.load(); }
    int callsUnderWay() const { return underWay_.load(); }

    std::vector<Started> started() const {
        std::lock_guard lock(mutex_);
        return started_;
    }
    int terminations() const { return terminations_.load(); }
    int pipesMade() const { return pipesMade_.load(); }
    int inheritablePipes() const { return inheritablePipes_.load(); }
    int redirections() const { return redirections_.load(); }
    int restorations() const { return restorations_.load(); }

    // GetExitCodeProcess fails with this (a child's exit code cannot be made unreadable otherwise).
    std::atomic<ports::Status> exitCodeFailure{ports::winerr::Success};

    ports::Status start(const ports::ProcessStartInfo& info, ports::ProcessHandle& out) noexcept override {
        Call call(*this);
        {
            std::lock_guard lock(mutex_);
            started_.push_back(
                {info.commandLine, info.hidden, info.inheritHandles, info.output ? info.output->id() : 0});
        }
        return inner_.start(info, out);
    }
    ports::Status wait(ports::ProcessHandle& process, std::uint32_t timeoutMs) noexcept override {
        Call call(*this);
        return inner_.wait(process, timeoutMs);
    }
    ports::Status exitCode(ports::ProcessHandle& process, std::uint32_t& out) noexcept override {
        Call call(*this);
        if (const ports::Status failure = exitCodeFailure.load())
            return failure;
        return inner_.exitCode(process, out);
    }
    ports::Status terminate(ports::ProcessHandle& process, std::uint32_t exitCode) noexcept override {
        Call call(*this);
        ++terminations_;
        return inner_.terminate(process, exitCode);
    }
    ports::Status createPipe(bool inheritable, ports::PipeHandle& readEnd,
                             ports::PipeHandle& writeEnd) noexcept override {
        Call call(*this);
        ++pipesMade_;
        if (inheritable)
            ++inheritablePipes_;
        return inner_.createPipe(inheritable, readEnd, writeEnd);
    }
    ports::Status readPipe(ports::PipeHandle& readEnd, std::size_t maxBytes,
                           std::vector<std::uint8_t>& out) noexcept override {
        Call call(*this);
        return inner_.readPipe(readEnd, maxBytes, out);
    }
    ports::Status writePipe(ports::PipeHandle& writeEnd,
                            const std::vector<std::uint8_t>& data) noexcept override {
        Call call(*this);
        return inner_.writePipe(writeEnd, data);
    }
    ports::Status redirectStdOutput(const ports::PipeHandle& writeEnd) noexcept override {
        Call call(*this);
        ++redirections_;
        return inner_.redirectStdOutput(writeEnd);
    }
    ports::Status restoreStdOutput() noexcept override {
        Call call(*this);
        ++restorations_;
        return inner_.restoreStdOutput();
    }

private:
    struct Call {
        explicit Call(WatchedProcesses& w) : watch(w) {
            if (watch.retired_)
                ++watch.lateUses_;
            ++watch.underWay_;
        }
        ~Call() { --watch.underWay_; }
        WatchedProcesses& watch;
    };

    ports::Processes& inner_;
    std::atomic<bool> retired_{false};
    std::atomic<int> lateUses_{0};
    std::atomic<int> underWay_{0};
    std::atomic<int> terminations_{0};
    std::atomic<int> pipesMade_{0};
    std::atomic<int> inheritablePipes_{0};
    std::atomic<int> redirections_{0};
    std::atomic<int> restorations_{0};
    mutable std::mutex mutex_;
    std::vector<Started> started_;
};

} // namespace engine_test
