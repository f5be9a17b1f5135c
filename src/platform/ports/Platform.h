#pragma once
// One machine's set of ports: the real Windows one or the simulated one. The composition root (the
// program's entry, or a test fixture) creates it and hands it to CApp, the engine and the pages.
#include "platform/ports/AppHost.h"
#include "platform/ports/Bluetooth.h"
#include "platform/ports/Clock.h"
#include "platform/ports/DeviceTree.h"
#include "platform/ports/FileSystem.h"
#include "platform/ports/PrintSpooler.h"
#include "platform/ports/Processes.h"
#include "platform/ports/ProfileStore.h"
#include "platform/ports/Resources.h"
#include "platform/ports/ServiceControl.h"
#include "platform/ports/SystemInfo.h"

namespace ports {

class Platform {
public:
    virtual ~Platform() = default;
    virtual bool simulated() const = 0;

    virtual ProfileStore& profile() = 0;
    virtual SystemInfo& system() = 0;
    virtual FileSystem& files() = 0;
    virtual Resources& resources() = 0;

    // The print system, the device tree, Bluetooth, services, child processes and time.
    virtual PrintSpooler& spooler() = 0;
    virtual DeviceTree& devices() = 0;
    virtual Bluetooth& bluetooth() = 0;
    virtual ServiceControl& services() = 0;
    virtual Processes& processes() = 0;
    virtual Clock& clock() = 0;

    // Process start and end (application core).
    virtual AppHost& host() = 0;
};

} // namespace ports
