#pragma once
// Factories of the simulated machine's spooler, device, Bluetooth, service, process and clock
// ports, so that SimPlatform does not depend on their classes.
#include "platform/ports/Bluetooth.h"
#include "platform/ports/Clock.h"
#include "platform/ports/DeviceTree.h"
#include "platform/ports/PrintSpooler.h"
#include "platform/ports/Processes.h"
#include "platform/ports/ServiceControl.h"

#include <memory>

namespace sim {

class SimMachine; // only passed by reference

std::unique_ptr<ports::PrintSpooler> makeSimPrintSpooler(SimMachine& machine);
std::unique_ptr<ports::DeviceTree> makeSimDeviceTree(SimMachine& machine);
std::unique_ptr<ports::Bluetooth> makeSimBluetooth(SimMachine& machine);
std::unique_ptr<ports::ServiceControl> makeSimServiceControl(SimMachine& machine);
std::unique_ptr<ports::Processes> makeSimProcesses(SimMachine& machine);
std::unique_ptr<ports::Clock> makeSimClock(SimMachine& machine);

} // namespace sim
