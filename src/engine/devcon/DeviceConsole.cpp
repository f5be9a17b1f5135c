#include "engine/devcon/DeviceConsole.h"

#include "base/Compare.h"
#include "base/Format.h"

#include <cstdint>
#include <tuple>
#include <utility>
#include <vector>

namespace devcon {
namespace {

namespace winerr = ports::winerr;
namespace cr = ports::cr;

bool isOption(std::wstring_view arg, std::wstring_view name) {
    return arg.size() == name.size() + 1 && (arg[0] == L'/' || arg[0] == L'-') &&
           text::equalsNoCase(arg.substr(1), name);
}

int update(const Invocation& inv, ToolEnvironment& env) {
    const std::wstring inf = env.fullPath(inv.infPath);
    if (inf.empty() || !env.files.fileExists(inf)) {
        env.say(text::format(L"The INF file \"%s\" does not exist.", inf.empty() ? inv.infPath : inf));
        return kExitFailed;
    }
    env.say(text::format(L"Updating drivers for %s from %s.", inv.hardwareId, inf));
    bool rebootRequired = false;
    const auto status = env.devices.updateDriverForPlugAndPlayDevices(
        0, inv.hardwareId, inf, ports::InstallFlagForce, rebootRequired);
    if (status == winerr::NoSuchDevinst) {
        env.say(text::format(L"No present device has the hardware ID %s.", inv.hardwareId));
        return kExitFailed;
    }
    if (status != winerr::Success) {
        env.say(text::format(L"Updating drivers failed: error %u (0x%08X).", status, status));
        return kExitFailed;
    }
    if (rebootRequired) {
        env.say(L"Drivers installed; a restart of the system is needed to complete the installation.");
        return kExitRestartNeeded;
    }
    env.say(L"Drivers installed successfully.");
    return kExitDone;
}

// The whole tree without DIGCF_PRESENT, so that nodes of unplugged devices are found as well.
int remove(const Invocation& inv, ToolEnvironment& env) {
    ports::DeviceInfoSet set;
    if (const auto status = env.devices.getClassDevs(std::nullopt, L"", ports::digcf::AllClasses, set);
        status != winerr::Success) {
        env.say(text::format(L"Listing the devices failed: error %u (0x%08X).", status, status));
        return kExitFailed;
    }
    for (std::uint32_t index = 0;; ++index) {
        ports::DeviceInfoData device;
        const auto status = env.devices.enumDeviceInfo(set, index, device);
        if (status == winerr::NoMoreItems)
            break;
        if (status != winerr::Success) {
            env.say(text::format(L"Listing the devices failed: error %u (0x%08X).", status, status));
            return kExitFailed;
        }
        std::wstring id;
        if (env.devices.getDeviceInstanceId(set, device, id) != winerr::Success ||
            !text::equalsNoCase(id, inv.instanceId))
            continue;
        bool restartNeeded = false;
        if (const auto removed = env.devices.removeDevice(set, device, restartNeeded);
            removed != winerr::Success) {
            env.say(text::format(L"%s: Remove failed: error %u (0x%08X).", id, removed, removed));
            return kExitFailed;
        }
        env.say(text::format(L"%s: Removed", id));
        if (restartNeeded) {
            env.say(L"A restart of the system is needed to complete the removal.");
            return kExitRestartNeeded;
        }
        return kExitDone;
    }
    // The node is gone already, which is what the caller wants.
    env.say(text::format(L"No device node has the instance ID %s; nothing was removed.", inv.instanceId));
    return kExitDone;
}

int rescan(ToolEnvironment& env) {
    env.say(L"Scanning for new hardware.");
    ports::DevInst root = 0;
    auto result = env.devices.locateDevNode(L"", ports::cmflag::LocateNormal, root);
    if (result == cr::Success)
        result = env.devices.reenumerateDevNode(root, ports::cmflag::ReenumerateNormal);
    if (result != cr::Success) {
        env.say(text::format(L"Scanning for new hardware failed: CONFIGRET 0x%X.", result));
        return kExitFailed;
    }
    env.say(L"Scanning completed.");
    return kExitDone;
}

// An absolute path's root ("C:", "\\server\share") and the rest after its backslash.
std::pair<std::wstring, std::wstring> splitRoot(std::wstring_view path) {
    if (path.starts_with(L"\\\\")) {
        const auto server = path.find(L'\\', 2);
        if (server == std::wstring_view::npos)
            return {std::wstring(path), L""};
        const auto share = path.find(L'\\', server + 1);
        if (share == std::wstring_view::npos)
            return {std::wstring(path), L""};
        return {std::wstring(path.substr(0, share)), std::wstring(path.substr(share + 1))};
    }
    const auto rest = path.size() > 2 ? path.substr(3) : std::wstring_view();
    return {std::wstring(path.substr(0, 2)), std::wstring(rest)};
}

bool hasDrive(std::wstring_view path) {
    return path.size() >= 2 && path[1] == L':' &&
           ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

} // namespace

std::optional<Invocation> parseArguments(std::span<const std::wstring> args) {
    Invocation inv;
    std::size_t i = 0;
    for (; i < args.size() && isOption(args[i], L"r"); ++i)
        inv.restartOption = true;
    if (i == args.size())
        return std::nullopt;
    const std::wstring& command = args[i];
    const auto rest = args.subspan(i + 1);
    if (text::equalsNoCase(command, L"update")) {
        if (rest.size() != 2 || rest[0].empty() || rest[1].empty())
            return std::nullopt;
        inv.command = Command::Update;
        inv.infPath = rest[0];
        inv.hardwareId = rest[1];
        return inv;
    }
    if (text::equalsNoCase(command, L"remove")) {
        if (rest.size() != 1 || rest[0].size() < 2 || rest[0][0] != L'@')
            return std::nullopt;
        inv.command = Command::Remove;
        inv.instanceId = rest[0].substr(1);
        return inv;
    }
    if (text::equalsNoCase(command, L"rescan")) {
        if (!rest.empty())
            return std::nullopt;
        inv.command = Command::Rescan;
        return inv;
    }
    return std::nullopt;
}

std::wstring usageText() {
    return L"Usage: devcon [/r] update <inf> <hardware id>\n"
           L"       devcon [/r] remove @<device instance id>\n"
           L"       devcon [/r] rescan\n"
           L"Exit codes: 0 done, 1 done but a restart is needed, 2 failed, 3 wrong usage.";
}

int run(const Invocation& invocation, ToolEnvironment& env) {
    switch (invocation.command) {
    case Command::Update:
        return update(invocation, env);
    case Command::Remove:
        return remove(invocation, env);
    case Command::Rescan:
        return rescan(env);
    }
    return kExitUsage;
}

int runDeviceConsole(std::span<const std::wstring> args, ToolEnvironment& env) {
    const auto invocation = parseArguments(args);
    if (!invocation) {
        env.say(usageText());
        return kExitUsage;
    }
    return run(*invocation, env);
}

std::wstring absoluteWindowsPath(std::wstring_view path, std::wstring_view currentFolder) {
    std::wstring p(path);
    for (auto& c : p)
        if (c == L'/')
            c = L'\\';
    if (p.starts_with(L"\\\\?\\"))
        return p;

    std::wstring root;
    std::wstring rest;
    if (p.starts_with(L"\\\\") || (hasDrive(p) && p.size() > 2 && p[2] == L'\\')) {
        std::tie(root, rest) = splitRoot(p);
    } else if (!p.empty() && p[0] == L'\\') {
        root = splitRoot(currentFolder).first;
        rest = p.substr(1);
    } else if (hasDrive(p) && !(hasDrive(currentFolder) &&
                                text::upperOrdinal(p[0]) == text::upperOrdinal(currentFolder[0]))) {
        // "D:file" on another drive than the current folder's: that drive's root.
        root = p.substr(0, 2);
        rest = p.substr(2);
    } else {
        std::tie(root, rest) = splitRoot(currentFolder);
        rest += L'\\';
        rest += hasDrive(p) ? p.substr(2) : p;
    }

    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (start <= rest.size()) {
        auto end = rest.find(L'\\', start);
        if (end == std::wstring::npos)
            end = rest.size();
        const std::wstring part = rest.substr(start, end - start);
        if (part == L"..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != L".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::wstring result = root + L'\\';
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i)
            result += L'\\';
        result += parts[i];
    }
    return result;
}

} // namespace devcon
