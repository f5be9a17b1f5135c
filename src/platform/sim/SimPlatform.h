#pragma once
// The ports of one simulated machine. Resources come from the program itself (they are not part of
// the machine), so the composition root passes them in.
#include "platform/host/HostNetwork.h"
#include "platform/ports/Platform.h"
#include "platform/sim/SimAppHost.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimInfFiles.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimPorts.h"
#include "platform/sim/SimProfileStore.h"
#include "platform/sim/SimSystemInfo.h"

#include <memory>

namespace sim {

// Not final: a test may put a recording port in front of one of these.
class SimPlatform : public ports::Platform {
public:
    SimPlatform(SimMachine& machine, ports::Resources& resources);

    bool simulated() const noexcept override { return true; }
    ports::ProfileStore& profile() noexcept override { return profile_; }
    ports::SystemInfo& system() noexcept override { return system_; }
    ports::FileSystem& files() noexcept override { return files_; }
    ports::Resources& resources() noexcept override { return resources_; }
    ports::PrintSpooler& spooler() noexcept override { return *spooler_; }
    ports::DeviceTree& devices() noexcept override { return *devices_; }
    ports::Bluetooth& bluetooth() noexcept override { return *bluetooth_; }
    ports::ServiceControl& services() noexcept override { return *services_; }
    ports::Processes& processes() noexcept override { return *processes_; }
    ports::Clock& clock() noexcept override { return clock_; }
    ports::Network& network() noexcept override { return network_; }
    ports::InfFiles& infFiles() noexcept override { return infFiles_; }

    // Puts a test's clock (a VirtualClock) in place of real time for this platform's clock and the
    // delays of its simulated services and devices; nullptr goes back to real time. `clock` must
    // outlive the platform or the next useClock call.
    void useClock(ports::Clock* clock) { clock_.use(clock); }

    ports::AppHost& host() noexcept override { return host_; }
    SimAppHost& simHost() { return host_; }

    SimMachine& machine() { return machine_; }
    SimSystemInfo& simSystem() { return system_; }

private:
    SimMachine& machine_;
    ports::Resources& resources_;
    SimProfileStore profile_;
    SimSystemInfo system_;
    SimFileSystem files_;
    ClockSwitch clock_;
    std::unique_ptr<ports::PrintSpooler> spooler_;
    std::unique_ptr<ports::DeviceTree> devices_;
    std::unique_ptr<ports::Bluetooth> bluetooth_;
    std::unique_ptr<ports::ServiceControl> services_;
    std::unique_ptr<ports::Processes> processes_;
    SimAppHost host_;
    host::HostNetwork network_;
    SimInfFiles infFiles_;
};

} // namespace sim
