#pragma once
// Clocks of the simulated machine. The platform's clock is real time unless a test puts a
// VirtualClock in its place; the simulated services and devices time their delays on the same clock,
// so a 38-second spooler stop takes no real time in a test.
#include "platform/ports/Clock.h"
#include "platform/sim/SimMachine.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace sim {

// Real time: steady milliseconds, real sleeps, the host's local time, or the fixed local time of
// the machine state's "system.localTime" ("2024-05-29 23:59:59.500") when a test wants the date
// under control.
class WallClock final : public ports::Clock {
public:
    explicit WallClock(SimMachine* machine = nullptr) : machine_(machine) {}
    std::uint64_t nowMs() noexcept override;
    void sleepMs(std::uint32_t ms) noexcept override;
    ports::SystemTime localTime() noexcept override;

private:
    SimMachine* machine_;
};

// Time that moves only when asked: sleepMs advances it at once and is recorded, advance() moves it by
// hand; both from any thread. The local time starts at `start` and follows the elapsed milliseconds.
// The one test clock of the project: the simulated machine's tests and the engine's use it.
class VirtualClock final : public ports::Clock {
public:
    VirtualClock();
    explicit VirtualClock(ports::SystemTime start, std::uint64_t startMs = 0);

    std::uint64_t nowMs() noexcept override { return now_.load(); }
    void sleepMs(std::uint32_t ms) noexcept override;
    ports::SystemTime localTime() noexcept override;

    void advance(std::uint64_t ms) noexcept { now_ += ms; }
    // Total milliseconds slept or advanced since construction.
    std::uint64_t elapsedMs() const noexcept { return now_.load() - startMs_; }
    // Every sleep asked for, in order.
    std::vector<std::uint32_t> sleeps() const;

private:
    ports::SystemTime start_;
    std::uint64_t startMs_;
    std::atomic<std::uint64_t> now_;
    mutable std::mutex mutex_;
    std::vector<std::uint32_t> sleeps_;
};

// The clock a SimPlatform hands out: forwards to a wall clock until use() names another one.
class ClockSwitch final : public ports::Clock {
public:
    explicit ClockSwitch(SimMachine* machine = nullptr) : wall_(machine) {}
    std::uint64_t nowMs() noexcept override { return target().nowMs(); }
    void sleepMs(std::uint32_t ms) noexcept override { target().sleepMs(ms); }
    ports::SystemTime localTime() noexcept override { return target().localTime(); }

    // `clock` must outlive every use of this switch; nullptr goes back to real time.
    void use(ports::Clock* clock) { target_.store(clock ? clock : &wall_); }

private:
    ports::Clock& target() { return *target_.load(); }

    WallClock wall_;
    std::atomic<ports::Clock*> target_{&wall_};
};

} // namespace sim
