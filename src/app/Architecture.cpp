#include "app/Architecture.h"

namespace app {

bool is64BitOs(ports::SystemInfo& system) {
    return system.nativeArchitecture() == ports::Architecture::X64;
}

bool isArm64(ports::SystemInfo& system) {
    return system.nativeArchitecture() == ports::Architecture::Arm64;
}

bool isVistaOrLater(ports::SystemInfo& system) {
    // Version 6.0 with service pack 0: any minor version and service pack of 6 qualifies.
    return system.windowsVersion().major >= 6;
}

std::wstring architectureFolder(ports::SystemInfo& system) {
    if (isArm64(system))
        return L"arm64";
    if (is64BitOs(system))
        return L"amd64";
    return L"i386";
}

std::wstring printEnvironment(ports::SystemInfo& system) {
    if (isArm64(system))
        return L"Windows ARM64";
    if (is64BitOs(system))
        return L"Windows x64";
    return L"Windows NT x86";
}

std::wstring deviceConsoleTool(ports::SystemInfo& system) {
    if (!isVistaOrLater(system))
        return L"devconXP32.exe";
    if (isArm64(system))
        return L"devconARM64.exe";
    if (is64BitOs(system))
        return L"devcon64.exe";
    return L"devcon32.exe";
}

} // namespace app
