#pragma once
// The simulated machine's local time: the host's local time, or the fixed time of the state's
// "system.localTime" ("2024-05-29 23:59:59.500") when a test wants the date under control; waits
// are real (tests that need instant waits give the code a clock of their own).
#include "platform/ports/Clock.h"
#include "platform/sim/SimMachine.h"

namespace sim {

class SimClock final : public ports::Clock {
public:
    explicit SimClock(SimMachine& machine) : machine_(machine) {}
    std::uint64_t nowMs() override;
    void sleepMs(std::uint32_t ms) override;
    ports::SystemTime localTime() override;

private:
    SimMachine& machine_;
};

} // namespace sim
