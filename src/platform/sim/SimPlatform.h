#pragma once
// The ports of one simulated machine. Resources come from the program itself (they are not part of
// the machine), so the composition root passes them in.
#include "platform/ports/Platform.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimProfileStore.h"
#include "platform/sim/SimSystemInfo.h"

namespace sim {

class SimPlatform final : public ports::Platform {
public:
    SimPlatform(SimMachine& machine, ports::Resources& resources);

    bool simulated() const override { return true; }
    ports::ProfileStore& profile() override { return profile_; }
    ports::SystemInfo& system() override { return system_; }
    ports::FileSystem& files() override { return files_; }
    ports::Resources& resources() override { return resources_; }

    SimMachine& machine() { return machine_; }
    SimSystemInfo& simSystem() { return system_; }

private:
    SimMachine& machine_;
    ports::Resources& resources_;
    SimProfileStore profile_;
    SimSystemInfo system_;
    SimFileSystem files_;
};

} // namespace sim
