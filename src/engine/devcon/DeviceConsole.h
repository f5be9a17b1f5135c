#pragma once
// The device-console tool's commands, written once over the DeviceTree and FileSystem ports so that
// the Windows program (the real SetupAPI and newdev calls) and the simulated one (the simulated
// machine's device tree) differ only in the ports they are given. See tools/devcon.
//
//   [/r] update <inf> <hardware id>   installs the INF's driver on every present device with that
//                                     hardware ID (the INF path is made absolute and must exist)
//   [/r] remove @<instance id>        removes the device node with that instance ID, present or not
//   [/r] rescan                       looks for new hardware
//
// Exit codes: 0 done, 1 done but a restart of the system is needed, 2 failed, 3 wrong usage.
// "/r" (or "-r") is accepted for the wizard's sake; the tool never restarts the system itself, it
// says so and answers 1.
#include "platform/ports/DeviceTree.h"
#include "platform/ports/FileSystem.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace devcon {

inline constexpr int kExitDone = 0;
inline constexpr int kExitRestartNeeded = 1;
inline constexpr int kExitFailed = 2;
inline constexpr int kExitUsage = 3;

enum class Command { Update, Remove, Rescan };

struct Invocation {
    Command command = Command::Rescan;
    bool restartOption = false; // "/r"
    std::wstring infPath;       // update: as given
    std::wstring hardwareId;    // update
    std::wstring instanceId;    // remove: without the "@"
    friend bool operator==(const Invocation&, const Invocation&) = default;
};

// The arguments after the program's name; none for wrong usage. Options and command names ignore
// letter case.
std::optional<Invocation> parseArguments(std::span<const std::wstring> args);

std::wstring usageText();

// What a command acts on, and where its lines go.
struct ToolEnvironment {
    ports::DeviceTree& devices;
    ports::FileSystem& files;
    // Makes a path absolute as GetFullPathNameW does; "" when it cannot.
    std::function<std::wstring(std::wstring_view)> fullPath;
    // One line of output, without its line end.
    std::function<void(std::wstring_view)> say;
};

int run(const Invocation& invocation, ToolEnvironment& env);

// parseArguments, then run; wrong usage prints the usage text and answers kExitUsage.
int runDeviceConsole(std::span<const std::wstring> args, ToolEnvironment& env);

// A Windows path made absolute against `currentFolder` (itself absolute) with "." and ".." taken
// out and "/" turned into "\": the simulated machine's GetFullPathNameW. Drive letters, UNC paths
// ("\\server\share\...") and "\\?\" paths (left as they are) are understood.
std::wstring absoluteWindowsPath(std::wstring_view path, std::wstring_view currentFolder);

} // namespace devcon
