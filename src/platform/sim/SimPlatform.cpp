#include "platform/sim/SimPlatform.h"

namespace sim {

SimPlatform::SimPlatform(SimMachine& machine, ports::Resources& resources)
    : machine_(machine), resources_(resources), profile_(machine, L"", L""), system_(machine),
      files_(machine, SimProgram::X86), clock_(&machine), spooler_(makeSimPrintSpooler(machine, clock_)),
      devices_(makeSimDeviceTree(machine, clock_)), bluetooth_(makeSimBluetooth(machine, clock_)),
      services_(makeSimServiceControl(machine, clock_)), processes_(makeSimProcesses(machine)),
      host_(machine), infFiles_(machine, files_) {}

} // namespace sim
