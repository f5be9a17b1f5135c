#include "platform/sim/SimPorts.h"

#include "platform/sim/SimBluetooth.h"
#include "platform/sim/SimDeviceTree.h"
#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimServices.h"
#include "platform/sim/SimSpooler.h"

namespace sim {

std::unique_ptr<ports::PrintSpooler> makeSimPrintSpooler(SimMachine& machine, ports::Clock& clock) {
    return std::make_unique<SimSpooler>(machine, clock);
}
std::unique_ptr<ports::DeviceTree> makeSimDeviceTree(SimMachine& machine, ports::Clock& clock) {
    return std::make_unique<SimDeviceTree>(machine, clock);
}
std::unique_ptr<ports::Bluetooth> makeSimBluetooth(SimMachine& machine, ports::Clock& clock) {
    return std::make_unique<SimBluetooth>(machine, clock);
}
std::unique_ptr<ports::ServiceControl> makeSimServiceControl(SimMachine& machine, ports::Clock& clock) {
    return std::make_unique<SimServices>(machine, clock);
}
std::unique_ptr<ports::Processes> makeSimProcesses(SimMachine& machine) {
    return std::make_unique<SimProcesses>(machine);
}

} // namespace sim
