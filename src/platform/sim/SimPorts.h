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

// The ports time their delays (service start and stop, a Bluetooth inquiry, the USB name query's
// waits) on `clock`, which must outlive them.
std::unique_ptr<ports::PrintSpooler> makeSimPrintSpooler(SimMachine& machine, ports::Clock& clock);
std::unique_ptr<ports::DeviceTree> makeSimDeviceTree(SimMachine& machine, ports::Clock& clock);
std::unique_ptr<ports::Bluetooth> makeSimBluetooth(SimMachine& machine, ports::Clock& clock);
std::unique_ptr<ports::ServiceControl> makeSimServiceControl(SimMachine& machine, ports::Clock& clock);
std::unique_ptr<ports::Processes> makeSimProcesses(SimMachine& machine);

} // namespace sim
