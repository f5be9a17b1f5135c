#pragma once
// Factories of the real Windows spooler, device, Bluetooth, service, process and clock ports, so
// that Win32Platform does not depend on their classes.
#include "platform/ports/Bluetooth.h"
#include "platform/ports/Clock.h"
#include "platform/ports/DeviceTree.h"
#include "platform/ports/InfFiles.h"
#include "platform/ports/PrintSpooler.h"
#include "platform/ports/Processes.h"
#include "platform/ports/ServiceControl.h"

#include <memory>

namespace win32 {

std::unique_ptr<ports::PrintSpooler> makeWin32PrintSpooler();
std::unique_ptr<ports::DeviceTree> makeWin32DeviceTree();
std::unique_ptr<ports::Bluetooth> makeWin32Bluetooth();
std::unique_ptr<ports::ServiceControl> makeWin32ServiceControl();
std::unique_ptr<ports::Processes> makeWin32Processes();
std::unique_ptr<ports::Clock> makeWin32Clock();
std::unique_ptr<ports::InfFiles> makeWin32InfFiles();

} // namespace win32
