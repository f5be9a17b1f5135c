// The device-console tool on the real machine: SetupAPI, newdev and the Configuration Manager
// through the Win32 device port.
#include "engine/devcon/DeviceConsole.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Ports.h"
#include "platform/win32/Win32SystemInfo.h"
#include "ToolOutput.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::wstring fullPath(std::wstring_view path) {
    const std::wstring in(path);
    DWORD size = GetFullPathNameW(in.c_str(), 0, nullptr, nullptr);
    while (size != 0) {
        std::wstring out(size, L'\0');
        const DWORD got = GetFullPathNameW(in.c_str(), size, out.data(), nullptr);
        if (got < size) {
            out.resize(got);
            return out;
        }
        size = got; // the path changed length between the calls (the current folder moved)
    }
    return {};
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    win32::Win32SystemInfo system;
    win32::Win32FileSystem files;
    const auto devices = win32::makeWin32DeviceTree();
    devcon::ToolEnvironment env{*devices, files, fullPath,
                                [&](std::wstring_view line) { devcon::writeLine(system, line); }};
    return devcon::runDeviceConsole(args, env);
}
