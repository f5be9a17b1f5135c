#pragma once
// The ports of the real Windows machine this program runs on.
#include "platform/ports/Platform.h"
#include "platform/win32/Win32AppHost.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ProfileStore.h"
#include "platform/win32/Win32Resources.h"
#include "platform/win32/Win32SystemInfo.h"

namespace win32 {

class Win32Platform final : public ports::Platform {
public:
    explicit Win32Platform(ports::Resources& resources)
        : resources_(resources), profile_(L"ZEVR", L"Orvello") {}

    bool simulated() const override { return false; }
    ports::ProfileStore& profile() override { return profile_; }
    ports::SystemInfo& system() override { return system_; }
    ports::FileSystem& files() override { return files_; }
    ports::Resources& resources() override { return resources_; }

    // --- process start and end, and the local clock (application core) ---
    ports::AppHost& host() override { return host_; }
    ports::Clock& clock() override { return clock_; }
    // --- end of the application core's ports ---

private:
    ports::Resources& resources_;
    Win32ProfileStore profile_;
    Win32SystemInfo system_;
    Win32FileSystem files_;
    // --- application core ---
    Win32AppHost host_;
    Win32Clock clock_;
    // --- end of the application core's ports ---
};

} // namespace win32
