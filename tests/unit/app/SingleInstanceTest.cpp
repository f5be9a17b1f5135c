// One running copy per machine: two starts on one simulated machine's state file, as two processes
// would make them.
#include "unit/app/AppFakes.h"

#include "support/TestMachine.h"

#include <gtest/gtest.h>

namespace {

using app_fakes::RecordedApp;
using testing_support::TempFolder;

std::unique_ptr<sim::SimMachine> openMachine(const std::filesystem::path& file) {
    ports::Status st = 0;
    auto m = sim::SimMachine::openFile(file, st);
    EXPECT_TRUE(m) << st;
    return m;
}

bool contains(const app_fakes::Journal& j, const std::string& prefix) {
    return std::any_of(j.begin(), j.end(), [&](const std::string& s) { return s.starts_with(prefix); });
}

TEST(SingleInstance, ASecondStartSignalsTheFirstAndEndsWithoutAWindow) {
    TempFolder dir;
    const auto file = dir.path() / "machine.json";
    auto machineA = openMachine(file);
    auto machineB = openMachine(file);
    ASSERT_TRUE(machineA && machineB);

    RecordedApp first(*machineA, testing_support::programResources());
    ASSERT_TRUE(first.app->initInstance());
    EXPECT_FALSE(first.app->pollActivationRequests()); // nobody has asked yet

    RecordedApp second(*machineB, testing_support::programResources());
    EXPECT_EQ(app::runProcess(*second.app, {}), 0);
    // The second copy stops right after its claim: no window, no loop, nothing of the machine used.
    EXPECT_TRUE(contains(second.journal, "claimSingleInstance"));
    EXPECT_FALSE(contains(second.journal, "initialiseRichEdit"));
    EXPECT_FALSE(contains(second.journal, "startWinsock"));
    EXPECT_FALSE(contains(second.journal, "readInt"));
    EXPECT_FALSE(contains(second.journal, "loadLibrary"));
    EXPECT_FALSE(contains(second.journal, "createMainWindow"));
    EXPECT_FALSE(contains(second.journal, "runMessageLoop"));

    // The first copy comes forward once per request.
    EXPECT_TRUE(first.app->pollActivationRequests());
    EXPECT_EQ(first.ui->activations, 1);
    EXPECT_FALSE(first.app->pollActivationRequests());
    EXPECT_EQ(first.ui->activations, 1);

    // Once the first copy has ended, the next start runs.
    first.app->exitInstance();
    RecordedApp third(*machineB, testing_support::programResources());
    EXPECT_TRUE(third.app->initInstance());
    third.app->exitInstance();
}

TEST(SingleInstance, SeparateMachinesDoNotExcludeEachOther) {
    TempFolder dir;
    auto machineA = openMachine(dir.path() / "a.json");
    auto machineB = openMachine(dir.path() / "b.json");
    ASSERT_TRUE(machineA && machineB);
    RecordedApp first(*machineA, testing_support::programResources());
    RecordedApp second(*machineB, testing_support::programResources());
    EXPECT_TRUE(first.app->initInstance());
    EXPECT_TRUE(second.app->initInstance());
    second.app->exitInstance();
    first.app->exitInstance();
}

TEST(SingleInstance, TheNameIsTheIdentifier) {
    TempFolder dir;
    const auto file = dir.path() / "machine.json";
    auto machineA = openMachine(file);
    auto machineB = openMachine(file);
    ASSERT_TRUE(machineA && machineB);
    app::AppIdentity other;
    other.singleInstanceId = L"another-program";
    RecordedApp first(*machineA, testing_support::programResources());
    RecordedApp second(*machineB, testing_support::programResources(), other);
    EXPECT_TRUE(first.app->initInstance());
    EXPECT_TRUE(second.app->initInstance());
    EXPECT_FALSE(first.app->pollActivationRequests());
    second.app->exitInstance();
    first.app->exitInstance();
}

} // namespace
