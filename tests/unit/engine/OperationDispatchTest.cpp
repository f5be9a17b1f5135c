// The operation thread's choice of routine by setupMode and portType, its result, the order of the
// delete steps, and the close request that always comes, on a thread that its owner joins.
#include "engine/operation/RunOperations.h"
#include "platform/sim/SimSystemInfo.h"
#include "unit/engine/InstallFixture.h"

#include <mutex>

namespace {

using msglog::LogMessage;

class OperationDispatch : public engine_test::InstallFixture {
protected:
    // Routines that only write down that they ran, and succeed as told.
    engine::OperationRoutines recording(bool succeed = true) {
        engine::OperationRoutines r;
        auto install = [this, succeed](std::string name) {
            return [this, succeed, name](const engine::InstallContext&) {
                note(name);
                return succeed;
            };
        };
        r.installNetwork = install("network");
        r.installBluetooth = install("bluetooth");
        r.installOnExistingPort = install("existing port");
        r.installWithDeviceTool = install("device tool");
        r.upgradePrinters = [this](const engine::InstallContext&) { note("upgrade"); };
        r.deletePrinters = [this](const engine::InstallContext&, std::vector<std::wstring>& ports) {
            note("delete printers");
            ports = {L"IP_10.0.0.1", L"USB001", L"IP_10.0.0.1"};
        };
        r.deleteDrivers = [this](const engine::InstallContext&) { note("delete drivers"); };
        r.removeStaleUsbDevices = [this](const engine::InstallContext&) { note("remove stale USB devices"); };
        r.deletePortIfTcpIp = [this](const app::AppContext&, std::wstring_view port) {
            note("delete port " + text::toUtf8(port));
            return true;
        };
        r.runDeviceTool = [this](const app::AppContext&, std::wstring_view arguments) {
            note("device tool" + text::toUtf8(arguments));
            return 0;
        };
        return r;
    }
    void note(std::string step) {
        std::lock_guard lock(mutex);
        steps.push_back(std::move(step));
    }
    // Runs one operation the way the pages do and returns whether it succeeded.
    bool run(const engine::OperationRoutines& routines) {
        steps.clear();
        engine::WaitingProgressWindow window;
        bool result = false;
        int closes = 0;
        window.runModal([&](engine::ProgressWindow::Close close) {
            operation.emplace(ctx, routines, [&closes, close] {
                ++closes;
                close();
            });
            EXPECT_TRUE(operation->start());
        });
        operation->join();
        result = operation->succeeded();
        EXPECT_EQ(closes, 1);
        operation.reset();
        return result;
    }

    std::mutex mutex;
    std::vector<std::string> steps;
    std::optional<engine::CThreadOperation> operation;
};

TEST_F(OperationDispatch, InstallPicksTheRoutineByConnection) {
    struct Case {
        std::int32_t portType;
        const char* routine;
    };
    const std::vector<Case> cases = {
        {0, "device tool"},   {1, "network"},       {2, "bluetooth"},
        {3, "device tool"},   {4, "existing port"}, {5, "existing port"},
        {6, "existing port"}, {7, "device tool"},   {-1, "device tool"},
    };
    session.setupMode = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.portType);
        session.portType = c.portType;
        EXPECT_TRUE(run(recording(true)));
        EXPECT_EQ(steps, (std::vector<std::string>{c.routine}));
        EXPECT_FALSE(run(recording(false)));
    }
}

TEST_F(OperationDispatch, DeleteRunsEveryStepInOrderAndNeverSucceeds) {
    session.setupMode = 2;
    EXPECT_FALSE(run(recording()));
    EXPECT_EQ(steps,
              (std::vector<std::string>{"delete printers", "delete drivers", "remove stale USB devices",
                                        "delete port IP_10.0.0.1", "delete port USB001",
                                        "delete port IP_10.0.0.1", "device tool rescan"}));
}

TEST_F(OperationDispatch, UpgradeAndUnknownModes) {
    session.setupMode = 1;
    EXPECT_FALSE(run(recording()));
    EXPECT_EQ(steps, (std::vector<std::string>{"upgrade"}));
    session.setupMode = 7;
    EXPECT_FALSE(run(recording()));
    EXPECT_TRUE(steps.empty());
}

TEST_F(OperationDispatch, BranchWithoutItsRoutineSaysSoAndStillCloses) {
    session.setupMode = 0;
    session.portType = 2;
    auto routines = recording();
    routines.installBluetooth = nullptr;
    EXPECT_FALSE(run(routines));
    ASSERT_EQ(log.messages().size(), 1u);
    EXPECT_EQ(log.messages()[0].colour, msglog::kRed);
}

TEST_F(OperationDispatch, TheRoutinesRunWithComInitialisedOnTheirThread) {
    session.setupMode = 0;
    session.portType = 1;
    auto routines = recording();
    int depthInRoutine = -1;
    routines.installNetwork = [&](const engine::InstallContext&) {
        depthInRoutine = sim::SimSystemInfo::comDepthOfThisThread();
        return true;
    };
    EXPECT_TRUE(run(routines));
    EXPECT_EQ(depthInRoutine, 1);
    EXPECT_EQ(sim::SimSystemInfo::comDepthOfThisThread(), 0); // the UI thread's own is untouched
}

} // namespace
