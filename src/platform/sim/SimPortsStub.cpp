// Not yet implemented: the simulated spooler, devices, Bluetooth, services and processes answer
// ERROR_CALL_NOT_IMPLEMENTED until their real ports replace these factories. The clock is SimClock.
#include "platform/ports/NotYetImplemented.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimPorts.h"


namespace sim {

std::unique_ptr<ports::PrintSpooler> makeSimPrintSpooler(SimMachine&) {
    return std::make_unique<ports::notyet::NotYetSpooler>();
}
std::unique_ptr<ports::DeviceTree> makeSimDeviceTree(SimMachine&) {
    return std::make_unique<ports::notyet::NotYetDeviceTree>();
}
std::unique_ptr<ports::Bluetooth> makeSimBluetooth(SimMachine&) {
    return std::make_unique<ports::notyet::NotYetBluetooth>();
}
std::unique_ptr<ports::ServiceControl> makeSimServiceControl(SimMachine&) {
    return std::make_unique<ports::notyet::NotYetServices>();
}
std::unique_ptr<ports::Processes> makeSimProcesses(SimMachine&) {
    return std::make_unique<ports::notyet::NotYetProcesses>();
}
std::unique_ptr<ports::Clock> makeSimClock(SimMachine& machine) {
    return std::make_unique<SimClock>(machine);
}

} // namespace sim
