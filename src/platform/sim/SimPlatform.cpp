#include "platform/sim/SimPlatform.h"

namespace sim {

SimPlatform::SimPlatform(SimMachine& machine, ports::Resources& resources)
    : machine_(machine), resources_(resources), profile_(machine, L"ZEVR", L"Orvello"), system_(machine),
      files_(machine), host_(machine), clock_(machine) {}

} // namespace sim
