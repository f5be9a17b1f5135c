#pragma once
// The language monitor some models need: a print monitor DLL of the package that the spooler loads
// beside the port monitor. It is named after the manufacturer mode ("<mode> Language Monitor",
// "<mode>LM.dll") and lives in the system's own System32 folder, where the spooler looks for it.
#include "catalogue/DriverRef.h"
#include "engine/install/InstallContext.h"

#include <string>
#include <string_view>

namespace engine {

// RemoveLanguageMonitor's results.
inline constexpr int kMonitorNotRemoved = 0; // its removal failed, also after a spooler restart
inline constexpr int kMonitorRemoved = 1;    // removed, or it was not registered
inline constexpr int kMonitorInUse = 2;      // an installed driver names it; nothing was removed

std::wstring LanguageMonitorName(std::wstring_view mode); // "<mode> Language Monitor"
std::wstring LanguageMonitorDll(std::wstring_view mode);  // "<mode>LM.dll"

// Registers the model's language monitor and returns its name, or "" (reported) when the DLL cannot
// be copied or the spooler refuses the monitor. A monitor that an installed driver uses stays as it
// is: its name comes back without a copy or a registration. File-system redirection is switched off
// meanwhile, so that a 32-bit wizard on a 64-bit system writes into the native System32 folder.
std::wstring InstallLanguageMonitor(const InstallContext& ctx, DriverRef model);

// Unregisters the monitor unless an installed driver of this environment names it (exactly, letter
// case counts). A monitor the spooler will not let go is tried once more after a spooler restart.
// Reports nothing itself (the restart reports its own failures).
int RemoveLanguageMonitor(const InstallContext& ctx, std::wstring_view monitorName);

} // namespace engine
