#pragma once
// A simulated machine for one test: its own state (from the demo machine unless given) and its own
// C: drive in a fresh temporary folder that is removed afterwards.
#include "platform/ports/Resources.h"
#include "platform/sim/SimPlatform.h"

#include <filesystem>
#include <memory>

namespace testing_support {

// The program's own embedded resources (the linked blobs on Linux, the executable's on Windows).
ports::Resources& programResources();

class TestMachine {
public:
    TestMachine();
    explicit TestMachine(sim::Json state);
    ~TestMachine();
    TestMachine(const TestMachine&) = delete;
    TestMachine& operator=(const TestMachine&) = delete;

    sim::SimMachine& machine() { return *machine_; }
    sim::SimPlatform& platform() { return *platform_; }
    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
    std::unique_ptr<sim::SimMachine> machine_;
    std::unique_ptr<sim::SimPlatform> platform_;
};

// A fresh, empty temporary folder removed when the object dies.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace testing_support
