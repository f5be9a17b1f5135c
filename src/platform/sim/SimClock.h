#pragma once
// The simulated machine's local time: the host's local time, or the fixed time of the state's
// "system.localTime" ("2024-05-29 23:59:59.500") when a test wants the date under control.
#include "platform/ports/Clock.h"
#include "platform/sim/SimMachine.h"

namespace sim {

class SimClock final : public ports::Clock {
public:
    explicit SimClock(SimMachine& machine) : machine_(machine) {}
    ports::SystemTime localTime() override;

private:
    SimMachine& machine_;
};

} // namespace sim
