#pragma once
// The services section of the simulated machine, shared by the service control port and the
// spooler (whose calls fail while the "Spooler" service is not running). A start or stop request
// records when the transition ends in clock time; until then the service is pending.
#include "platform/sim/SimMachine.h"

#include <cstdint>
#include <string_view>

namespace sim {

struct ServiceView {
    std::uint32_t state = 0; // ports::svc::Stopped ...
    std::uint32_t exitCode = 0;
    std::uint32_t waitHint = 0;
    std::uint32_t checkPoint = 0;
};

// The service's record, or nullptr when the machine has no such service. A machine without a
// "services" section has a running "Spooler" and nothing else.
const Json* findService(const Json& state, std::wstring_view name);
Json* findService(Json& state, std::wstring_view name);
ServiceView viewService(const Json& service, std::uint64_t nowMs);
bool spoolerRunning(const Json& state, std::uint64_t nowMs);

// What a start or stop request leaves in the record; the caller has checked that it is allowed.
void beginStart(Json& service, std::uint64_t nowMs);
void beginStop(Json& service, std::uint64_t nowMs);

} // namespace sim
