#include "support/TestMachine.h"

#include "app/CApp.h"

#include <atomic>
#include <chrono>
#include <string>

#ifdef _WIN32
#include "platform/win32/Win32Resources.h"
#else
#include "platform/blob/EmbeddedResources.h"
#endif

namespace testing_support {
namespace fs = std::filesystem;

namespace {
fs::path freshFolder() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path p = fs::temp_directory_path() /
                 ("orvello-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(p);
    return p;
}
} // namespace

ports::Resources& programResources() {
#ifdef _WIN32
    static win32::Win32Resources resources;
#else
    static blob::EmbeddedResources resources(blob::linkedResources());
#endif
    return resources;
}

TestMachine::TestMachine() : TestMachine(sim::demoMachineState()) {}

TestMachine::TestMachine(sim::Json state) : folder_(freshFolder()) {
    machine_ = sim::SimMachine::inMemory(std::move(state), folder_ / "drive");
    platform_ = std::make_unique<sim::SimPlatform>(*machine_, programResources());
    // The wizard's own key, as CApp sets it at start-up.
    const app::AppIdentity identity;
    platform_->profile().setApplicationKey(identity.companyKey, identity.appName);
}

TestMachine::~TestMachine() {
    platform_.reset();
    machine_.reset();
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

TempFolder::TempFolder() : path_(freshFolder()) {}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

} // namespace testing_support
