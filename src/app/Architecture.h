#pragma once
// The machine's architecture and what follows from it: the package's architecture folder, the
// print environment and the device-console tool. Decided afresh from the system at every call.
#include "platform/ports/SystemInfo.h"

#include <string>

namespace app {

// The native machine is x64 (not ARM64, which is asked apart).
bool is64BitOs(ports::SystemInfo& system);
// The native machine is ARM64 (only IsWow64Process2 can tell).
bool isArm64(ports::SystemInfo& system);
// Windows 6.0 (Vista) or later.
bool isVistaOrLater(ports::SystemInfo& system);

// "arm64", "amd64" or "i386".
std::wstring architectureFolder(ports::SystemInfo& system);
// "Windows ARM64", "Windows x64" or "Windows NT x86".
std::wstring printEnvironment(ports::SystemInfo& system);
// "devconXP32.exe" before Windows 6.0, else "devconARM64.exe", "devcon64.exe" or "devcon32.exe".
std::wstring deviceConsoleTool(ports::SystemInfo& system);

} // namespace app
