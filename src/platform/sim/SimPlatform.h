#pragma once
// The ports of one simulated machine. Resources come from the program itself (they are not part of
// the machine), so the composition root passes them in.
#include "platform/ports/Platform.h"
#include "platform/sim/SimAppHost.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimProfileStore.h"
#include "platform/sim/SimSystemInfo.h"

namespace sim {

// Not final: a test may put a recording port in front of one of these.
class SimPlatform : public ports::Platform {
public:
    SimPlatform(SimMachine& machine, ports::Resources& resources);

    bool simulated() const override { return true; }
    ports::ProfileStore& profile() override { return profile_; }
    ports::SystemInfo& system() override { return system_; }
    ports::FileSystem& files() override { return files_; }
    ports::Resources& resources() override { return resources_; }

    // --- process start and end, and the local clock (application core) ---
    ports::AppHost& host() override { return host_; }
    ports::Clock& clock() override { return clock_; }
    SimAppHost& simHost() { return host_; }
    // --- end of the application core's ports ---

    SimMachine& machine() { return machine_; }
    SimSystemInfo& simSystem() { return system_; }

private:
    SimMachine& machine_;
    ports::Resources& resources_;
    SimProfileStore profile_;
    SimSystemInfo system_;
    SimFileSystem files_;
    // --- application core ---
    SimAppHost host_;
    SimClock clock_;
    // --- end of the application core's ports ---
};

} // namespace sim
