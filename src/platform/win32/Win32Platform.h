#pragma once
// The ports of the real Windows machine this program runs on.
#include "platform/host/HostNetwork.h"
#include "platform/ports/Platform.h"
#include "platform/win32/Win32AppHost.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Ports.h"
#include "platform/win32/Win32ProfileStore.h"
#include "platform/win32/Win32Resources.h"
#include "platform/win32/Win32SystemInfo.h"

#include <memory>

namespace win32 {

class Win32Platform final : public ports::Platform {
public:
    explicit Win32Platform(ports::Resources& resources)
        : resources_(resources), profile_(L"", L""), spooler_(makeWin32PrintSpooler()),
          devices_(makeWin32DeviceTree()), bluetooth_(makeWin32Bluetooth()),
          services_(makeWin32ServiceControl()), processes_(makeWin32Processes()), clock_(makeWin32Clock()),
          infFiles_(makeWin32InfFiles()) {}

    bool simulated() const noexcept override { return false; }
    ports::ProfileStore& profile() noexcept override { return profile_; }
    ports::SystemInfo& system() noexcept override { return system_; }
    ports::FileSystem& files() noexcept override { return files_; }
    ports::Resources& resources() noexcept override { return resources_; }
    ports::PrintSpooler& spooler() noexcept override { return *spooler_; }
    ports::DeviceTree& devices() noexcept override { return *devices_; }
    ports::Bluetooth& bluetooth() noexcept override { return *bluetooth_; }
    ports::ServiceControl& services() noexcept override { return *services_; }
    ports::Processes& processes() noexcept override { return *processes_; }
    ports::Clock& clock() noexcept override { return *clock_; }
    ports::Network& network() noexcept override { return network_; }
    ports::InfFiles& infFiles() noexcept override { return *infFiles_; }

    ports::AppHost& host() noexcept override { return host_; }

private:
    ports::Resources& resources_;
    Win32ProfileStore profile_;
    Win32SystemInfo system_;
    Win32FileSystem files_;
    std::unique_ptr<ports::PrintSpooler> spooler_;
    std::unique_ptr<ports::DeviceTree> devices_;
    std::unique_ptr<ports::Bluetooth> bluetooth_;
    std::unique_ptr<ports::ServiceControl> services_;
    std::unique_ptr<ports::Processes> processes_;
    std::unique_ptr<ports::Clock> clock_;
    std::unique_ptr<ports::InfFiles> infFiles_;
    host::HostNetwork network_;
    Win32AppHost host_;
};

} // namespace win32
