#include "platform/sim/SimPlatform.h"

namespace sim {

SimPlatform::SimPlatform(SimMachine& machine, ports::Resources& resources)
    : machine_(machine), resources_(resources), profile_(machine, L"ZEVR", L"Orvello"), system_(machine),
      files_(machine), spooler_(makeSimPrintSpooler(machine)), devices_(makeSimDeviceTree(machine)),
      bluetooth_(makeSimBluetooth(machine)), services_(makeSimServiceControl(machine)),
      processes_(makeSimProcesses(machine)), clock_(makeSimClock(machine)), host_(machine) {}

} // namespace sim
