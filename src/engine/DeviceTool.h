#pragma once
// Runs the device-console tool (its commands update, remove and rescan; see tools/devcon) from the
// working folder's "Drivers\" folder, hidden, with its standard output and error going into the
// output pipe, and waits for it.
#include "app/AppContext.h"

#include <string>
#include <string_view>

// RunDeviceTool's results besides the tool's own exit codes (0 done, 1 done but a restart is
// needed, 2 failed, 3 wrong arguments).
inline constexpr int kDeviceToolNotStarted = -2;
inline constexpr int kDeviceToolNoExitCode = -1;

// The command line: the quoted tool path directly followed by `arguments` (no blank is added: the
// update and rescan arguments begin with one, the remove arguments do not).
std::wstring DeviceToolCommandLine(const app::AppContext& ctx, std::wstring_view arguments);

// Blocks until the tool ends and returns its exit code; kDeviceToolNotStarted, with nothing
// reported, when it cannot be started (a missing tool file among other reasons);
// kDeviceToolNoExitCode when its exit code cannot be read. In debug mode the command line and
// "return dwCode = N" are logged in black.
int RunDeviceTool(const app::AppContext& ctx, std::wstring_view arguments);
