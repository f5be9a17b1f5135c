#pragma once
// One machine's set of ports: the real Windows one or the simulated one. The composition root (the
// program's entry, or a test fixture) creates it and hands it to CApp, the engine and the pages.
#include "platform/ports/AppHost.h"
#include "platform/ports/Bluetooth.h"
#include "platform/ports/Clock.h"
#include "platform/ports/DeviceTree.h"
#include "platform/ports/FileSystem.h"
#include "platform/ports/InfFiles.h"
#include "platform/ports/Network.h"
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
    [[nodiscard]] virtual bool simulated() const noexcept = 0;

    [[nodiscard]] virtual ProfileStore& profile() noexcept = 0;
    [[nodiscard]] virtual SystemInfo& system() noexcept = 0;
    [[nodiscard]] virtual FileSystem& files() noexcept = 0;
    [[nodiscard]] virtual Resources& resources() noexcept = 0;

    // The print system, the device tree, Bluetooth, services, child processes and time.
    [[nodiscard]] virtual PrintSpooler& spooler() noexcept = 0;
    [[nodiscard]] virtual DeviceTree& devices() noexcept = 0;
    [[nodiscard]] virtual Bluetooth& bluetooth() noexcept = 0;
    [[nodiscard]] virtual ServiceControl& services() noexcept = 0;
    [[nodiscard]] virtual Processes& processes() noexcept = 0;
    [[nodiscard]] virtual Clock& clock() noexcept = 0;
    // UDP sockets: the host's own in every build (the network search needs a real network).
    [[nodiscard]] virtual Network& network() noexcept = 0;
    [[nodiscard]] virtual InfFiles& infFiles() noexcept = 0;

    // Process start and end (application core).
    [[nodiscard]] virtual AppHost& host() noexcept = 0;
};

} // namespace ports
