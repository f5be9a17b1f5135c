// Stopping, starting and restarting the "Spooler" service on a virtual clock: the waits, the
// results and the red messages.
#include "app/msglog/RecordingMessageLog.h"
#include "engine/SpoolerService.h"
#include "platform/sim/SimClock.h"
#include "support/TestMachine.h"
#include "unit/engine/DeviceToolFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace svc = ports::svc;
namespace winerr = ports::winerr;
using msglog::LogMessage;

class Spooler : public ::testing::Test {
protected:
    Spooler() {
        platform.servicesOverride = &service;
        platform.clockOverride = &clock;
    }

    // The pair as the callers hold it: the manager opened, the service not yet.
    SpoolerControl openedManager() {
        SpoolerControl control;
        EXPECT_TRUE(OpenSpoolerManager(ctx, control));
        return control;
    }
    SpoolerControl openedService() {
        SpoolerControl control = openedManager();
        EXPECT_TRUE(OpenSpoolerService(ctx, control));
        service.calls.clear();
        return control;
    }
    std::uint64_t waitedMs() const { return clock.elapsedMs(); }
    int count(const std::string& call) const {
        return static_cast<int>(std::count(service.calls.begin(), service.calls.end(), call));
    }

    testing_support::TestMachine machine;
    sim::VirtualClock clock;
    engine_test::FakeSpoolerService service{clock};
    engine_test::OverridePlatform platform{machine.platform()};
    msglog::RecordingMessageLog log;
    app::AppContext ctx{.platform = platform, .systemErrorText = [](std::uint32_t code) {
                            return L"text " + std::to_wstring(code) + L"\r\n";
                        }};
};

struct WaitCase {
    std::uint64_t takesMs;
    bool reached;
    std::uint64_t waitedMs; // on the clock, the first pause included
    int polls;
};

// The request, a pause of one second, then up to 36 polls one second apart.
const WaitCase kWaitCases[] = {
    {0, true, 1000, 1},       {1000, true, 1000, 1},     {1500, true, 2000, 2},     {35000, true, 35000, 35},
    {36000, true, 36000, 36}, {36001, false, 37000, 36}, {37000, false, 37000, 36}, {38000, false, 37000, 36},
};

TEST_F(Spooler, StopWaitsUpToThirtySixPolls) {
    for (const auto& c : kWaitCases) {
        SCOPED_TRACE(c.takesMs);
        sim::VirtualClock caseClock;
        engine_test::FakeSpoolerService caseService{caseClock};
        platform.clockOverride = &caseClock;
        platform.servicesOverride = &caseService;
        caseService.stopTakesMs = c.takesMs;
        SpoolerControl control;
        ASSERT_TRUE(OpenSpoolerManager(ctx, control));
        ASSERT_TRUE(OpenSpoolerService(ctx, control));

        EXPECT_EQ(StopSpoolerAndWait(ctx, control), c.reached);
        EXPECT_EQ(caseClock.elapsedMs(), c.waitedMs);
        EXPECT_EQ(std::count(caseService.calls.begin(), caseService.calls.end(), "QueryServiceStatus"),
                  c.polls);
        EXPECT_EQ(std::count(caseService.calls.begin(), caseService.calls.end(), "ControlService 1"), 1);
        if (!c.reached) {
            EXPECT_EQ(control.lastError, winerr::ServiceRequestTimeout);
        }
    }
}

TEST_F(Spooler, StartWaitsUpToThirtySixPolls) {
    for (const auto& c : kWaitCases) {
        SCOPED_TRACE(c.takesMs);
        sim::VirtualClock caseClock;
        engine_test::FakeSpoolerService caseService{caseClock};
        platform.clockOverride = &caseClock;
        platform.servicesOverride = &caseService;
        caseService.state = svc::Stopped;
        caseService.startTakesMs = c.takesMs;
        SpoolerControl control;
        ASSERT_TRUE(OpenSpoolerManager(ctx, control));
        ASSERT_TRUE(OpenSpoolerService(ctx, control));

        EXPECT_EQ(StartSpoolerAndWait(ctx, control), c.reached);
        EXPECT_EQ(caseClock.elapsedMs(), c.waitedMs);
        EXPECT_EQ(std::count(caseService.calls.begin(), caseService.calls.end(), "QueryServiceStatus"),
                  c.polls);
        EXPECT_EQ(std::count(caseService.calls.begin(), caseService.calls.end(), "StartService"), 1);
    }
}

TEST_F(Spooler, RefusedRequestsFailAtOnceWithTheirError) {
    auto control = openedService();
    // Stopping a stopped service, starting a running one.
    service.state = svc::Stopped;
    EXPECT_FALSE(StopSpoolerAndWait(ctx, control));
    EXPECT_EQ(control.lastError, winerr::ServiceNotActive);
    service.state = svc::Running;
    EXPECT_FALSE(StartSpoolerAndWait(ctx, control));
    EXPECT_EQ(control.lastError, winerr::ServiceAlreadyRunning);
    EXPECT_EQ(waitedMs(), 0u);
    EXPECT_EQ(count("QueryServiceStatus"), 0);
}

TEST_F(Spooler, WithoutServiceHandleNothingIsAsked) {
    auto control = openedManager();
    service.calls.clear();
    EXPECT_FALSE(StopSpoolerAndWait(ctx, control));
    EXPECT_FALSE(StartSpoolerAndWait(ctx, control));
    EXPECT_TRUE(service.calls.empty());
}

TEST_F(Spooler, FailingPollsCountAsMisses) {
    auto control = openedService();
    service.stopTakesMs = 0;
    service.failures["QueryServiceStatus"] = winerr::AccessDenied;
    EXPECT_FALSE(StopSpoolerAndWait(ctx, control));
    EXPECT_EQ(count("QueryServiceStatus"), 36);
    EXPECT_EQ(control.lastError, winerr::AccessDenied);
}

TEST_F(Spooler, RestartOfARunningSpoolerStopsAndStartsItWithoutMessages) {
    auto control = openedManager();
    service.calls.clear();
    EXPECT_TRUE(RestartSpooler(ctx, control));
    EXPECT_EQ(service.stateNow(), svc::Running);
    EXPECT_EQ(log.messages(), std::vector<LogMessage>{});
    // Opened with query, start and stop rights; the stop comes before the start.
    ASSERT_FALSE(service.calls.empty());
    EXPECT_EQ(service.calls.front(), "OpenService Spooler 0x34");
    const auto stop = std::find(service.calls.begin(), service.calls.end(), "ControlService 1");
    const auto start = std::find(service.calls.begin(), service.calls.end(), "StartService");
    EXPECT_LT(stop, start);
    EXPECT_NE(start, service.calls.end());
}

TEST_F(Spooler, RestartWhileStoppedReportsTheStopFailureAndLeavesItStopped) {
    service.state = svc::Stopped;
    auto control = openedManager();
    EXPECT_FALSE(RestartSpooler(ctx, control));
    EXPECT_EQ(service.stateNow(), svc::Stopped);
    EXPECT_EQ(count("StartService"), 0);
    EXPECT_EQ(log.messages(),
              (std::vector<LogMessage>{
                  {L"停止服务: Spooler 失败. 错误码: 1062. 错误描述: text 1062\r\n.", msglog::kRed}}));
}

TEST_F(Spooler, EachFailingRestartStepHasItsMessage) {
    struct Case {
        const char* name;
        std::function<void(engine_test::FakeSpoolerService&)> arrange;
        std::wstring message;
    };
    const Case cases[] = {
        {"service cannot be opened", [](auto& s) { s.failures["OpenService"] = winerr::ServiceDoesNotExist; },
         L"打开服务: Spooler 失败. 错误码: 1060. 错误描述: text 1060\r\n."},
        {"stop request refused", [](auto& s) { s.failures["ControlService"] = winerr::AccessDenied; },
         L"停止服务: Spooler 失败. 错误码: 5. 错误描述: text 5\r\n."},
        {"never stops", [](auto& s) { s.stopTakesMs = 40000; },
         L"停止服务: Spooler 失败. 错误码: 1053. 错误描述: text 1053\r\n."},
        {"start refused", [](auto& s) { s.failures["StartService"] = winerr::ServiceDisabled; },
         L"重启服务: Spooler 失败. 错误码: 1058. 错误描述: text 1058\r\n."},
        {"never starts", [](auto& s) { s.startTakesMs = 38000; },
         L"重启服务: Spooler 失败. 错误码: 1053. 错误描述: text 1053\r\n."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::VirtualClock caseClock;
        engine_test::FakeSpoolerService caseService{caseClock};
        platform.clockOverride = &caseClock;
        platform.servicesOverride = &caseService;
        c.arrange(caseService);
        log.clear();
        SpoolerControl control;
        ASSERT_TRUE(OpenSpoolerManager(ctx, control));
        EXPECT_FALSE(RestartSpooler(ctx, control));
        EXPECT_EQ(log.messages(), (std::vector<LogMessage>{{c.message, msglog::kRed}}));
    }
}

TEST_F(Spooler, MessagesAreTranslatedBeforeTheyAreFilledIn) {
    ctx.translate = [](std::wstring_view id) -> std::wstring {
        if (id == L"停止服务: Spooler 失败. 错误码: %d. 错误描述: %s.")
            return L"Stop service: Spooler failed Error code:%d. Error description:%s.";
        return std::wstring(id);
    };
    service.state = svc::Stopped;
    auto control = openedManager();
    EXPECT_FALSE(RestartSpooler(ctx, control));
    EXPECT_EQ(log.messages(),
              (std::vector<LogMessage>{
                  {L"Stop service: Spooler failed Error code:1062. Error description:text 1062\r\n.",
                   msglog::kRed}}));
}

TEST_F(Spooler, RestartReopensTheServiceAndReleaseClosesServiceBeforeManager) {
    auto control = openedService();
    EXPECT_TRUE(RestartSpooler(ctx, control));
    EXPECT_EQ(service.closed, std::vector<std::string>{"service"}); // the old service handle
    EXPECT_EQ(service.openHandles(), 2u);
    control.release();
    EXPECT_EQ(service.closed, (std::vector<std::string>{"service", "service", "manager"}));
}

TEST_F(Spooler, ManagerIsOpenedForExecution) {
    SpoolerControl control;
    EXPECT_TRUE(OpenSpoolerManager(ctx, control));
    EXPECT_EQ(service.calls, std::vector<std::string>{"OpenSCManager 0x20000000"});
    service.failures["OpenSCManager"] = winerr::AccessDenied;
    EXPECT_FALSE(OpenSpoolerManager(ctx, control));
    EXPECT_EQ(control.lastError, winerr::AccessDenied);
}

} // namespace
