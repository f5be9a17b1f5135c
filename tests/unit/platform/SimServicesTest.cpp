// The simulated "Spooler" service on a virtual clock: its states, delays and codes, and a spooler that
// answers only while it runs.
#include "support/TestMachine.h"

#include "platform/sim/SimClock.h"
#include "platform/sim/SimJson.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

using testing_support::TestMachine;
namespace winerr = ports::winerr;
namespace svc = ports::svc;

constexpr std::uint32_t kSpoolerAccess = svc::AccessQueryStatus | svc::AccessStart | svc::AccessStop; // 0x34

class SimServicesTest : public ::testing::Test {
protected:
    SimServicesTest() {
        m.platform().useClock(&clock);
        EXPECT_EQ(sc().openManager(svc::GenericExecute, manager), winerr::Success);
        EXPECT_EQ(sc().openService(manager, L"Spooler", kSpoolerAccess, spooler), winerr::Success);
    }
    ports::ServiceControl& sc() { return m.platform().services(); }
    std::uint32_t state() {
        ports::ServiceStatus s;
        EXPECT_EQ(sc().queryStatus(spooler, s), winerr::Success);
        return s.currentState;
    }
    ports::Status stop() {
        ports::ServiceStatus s;
        return sc().control(spooler, svc::ControlStop, s);
    }
    sim::VirtualClock clock;
    TestMachine m;
    ports::ServiceManagerHandle manager;
    ports::ServiceHandle spooler;
};

TEST_F(SimServicesTest, StopAndStartPassThroughTheirPendingStatesForTheirDelays) {
    ASSERT_EQ(state(), svc::Running);
    ASSERT_EQ(stop(), winerr::Success);
    EXPECT_EQ(state(), svc::StopPending);
    clock.advance(1499);
    EXPECT_EQ(state(), svc::StopPending);
    clock.advance(1);
    EXPECT_EQ(state(), svc::Stopped);
    ASSERT_EQ(sc().start(spooler), winerr::Success);
    EXPECT_EQ(state(), svc::StartPending);
    clock.advance(2000);
    EXPECT_EQ(state(), svc::Running);
}

TEST_F(SimServicesTest, RequestsThatDoNotFitTheStateGetTheManagersCodes) {
    EXPECT_EQ(sc().start(spooler), winerr::ServiceAlreadyRunning);
    ASSERT_EQ(stop(), winerr::Success);
    EXPECT_EQ(stop(), winerr::ServiceCannotAcceptCtrl); // still stopping
    clock.advance(1500);
    EXPECT_EQ(stop(), winerr::ServiceNotActive);
    ASSERT_EQ(sc().start(spooler), winerr::Success);
    EXPECT_EQ(sc().start(spooler), winerr::ServiceAlreadyRunning);
    ports::ServiceStatus s;
    EXPECT_EQ(sc().control(spooler, 99, s), winerr::InvalidServiceControl);
    ports::ServiceHandle other;
    EXPECT_EQ(sc().openService(manager, L"NoSuchService", kSpoolerAccess, other),
              winerr::ServiceDoesNotExist);
}

TEST_F(SimServicesTest, AccessIsCheckedPerRequest) {
    ports::ServiceHandle executeOnly, queryOnly;
    ASSERT_EQ(sc().openService(manager, L"spooler", svc::GenericExecute, executeOnly), winerr::Success);
    ASSERT_EQ(sc().openService(manager, L"Spooler", svc::AccessQueryStatus, queryOnly), winerr::Success);
    ports::ServiceStatus s;
    EXPECT_EQ(sc().queryStatus(executeOnly, s), winerr::AccessDenied); // GENERIC_EXECUTE does not query
    EXPECT_EQ(sc().control(queryOnly, svc::ControlStop, s), winerr::AccessDenied);
    EXPECT_EQ(sc().start(queryOnly), winerr::AccessDenied);
    EXPECT_EQ(sc().queryStatus(queryOnly, s), winerr::Success);
}

TEST_F(SimServicesTest, ADisabledOrFailingServiceDoesNotRun) {
    m.machine().write([](sim::Json& s) {
        s["services"]["Spooler"] = {{"state", "stopped"}, {"disabled", true}};
        s["services"]["Fax"] = {{"state", "stopped"}, {"startExitCode", 1067}, {"startDelayMs", 300}};
    });
    EXPECT_EQ(sc().start(spooler), winerr::ServiceDisabled);
    ports::ServiceHandle fax;
    ASSERT_EQ(sc().openService(manager, L"Fax", kSpoolerAccess, fax), winerr::Success);
    ASSERT_EQ(sc().start(fax), winerr::Success);
    clock.advance(300);
    ports::ServiceStatus s;
    ASSERT_EQ(sc().queryStatus(fax, s), winerr::Success);
    EXPECT_EQ(s.currentState, svc::Stopped);
    EXPECT_EQ(s.win32ExitCode, 1067u);
}

TEST_F(SimServicesTest, ASlowStopTakesItsWholeDelayOnTheClock) {
    m.machine().write([](sim::Json& s) { s["services"]["Spooler"]["stopDelayMs"] = 38000; });
    ASSERT_EQ(stop(), winerr::Success);
    clock.advance(37000);
    EXPECT_EQ(state(), svc::StopPending);
    clock.advance(1000);
    EXPECT_EQ(state(), svc::Stopped);
}

TEST_F(SimServicesTest, TheSpoolerAnswersOnlyWhileItsServiceRuns) {
    auto& sp = m.platform().spooler();
    std::vector<ports::PortInfo1> ports;
    ASSERT_EQ(stop(), winerr::Success);
    EXPECT_EQ(sp.enumPorts1(ports), 1722u); // RPC_S_SERVER_UNAVAILABLE
    ports::SpoolerHandle h;
    EXPECT_EQ(sp.openPrinter(L"Microsoft Print to PDF", ports::spool::PrinterAccessUse, h), 1722u);
    clock.advance(1500);
    ASSERT_EQ(sc().start(spooler), winerr::Success);
    EXPECT_EQ(sp.enumPorts1(ports), 1722u); // still starting
    clock.advance(2000);
    EXPECT_EQ(sp.enumPorts1(ports), winerr::Success);
}

TEST(SimClocks, AVirtualClockMovesOnlyWhenToldAndKeepsItsCalendar) {
    sim::VirtualClock clock({2024, 12, 0, 31, 23, 59, 59, 900}, 5000);
    EXPECT_EQ(clock.nowMs(), 5000u);
    clock.sleepMs(100);
    const auto t = clock.localTime();
    EXPECT_EQ(t.year, 2025);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 1);
    EXPECT_EQ(t.dayOfWeek, 3); // a Wednesday
    EXPECT_EQ(t.hour, 0);
    EXPECT_EQ(t.milliseconds, 0);
    clock.advance(86400000ULL * 59);
    EXPECT_EQ(clock.localTime().month, 3); // 2025 is no leap year: 1 January + 59 days
    EXPECT_EQ(clock.localTime().day, 1);
    EXPECT_EQ(clock.elapsedMs(), 100u + 86400000ULL * 59);
}

TEST(SimClocks, AVirtualClockTakesSleepsAndAdvancesFromManyThreads) {
    sim::VirtualClock clock({2024, 5, 5, 3, 17, 9, 30, 0}, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&clock, t] {
            for (int i = 0; i < 1000; ++i) {
                if (t % 2)
                    clock.sleepMs(3);
                else
                    clock.advance(5);
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(clock.nowMs(), 2u * 1000u * 3u + 2u * 1000u * 5u);
    const auto sleeps = clock.sleeps();
    EXPECT_EQ(sleeps.size(), 2000u); // only the sleeps, each as asked
    EXPECT_TRUE(std::all_of(sleeps.begin(), sleeps.end(), [](std::uint32_t ms) { return ms == 3; }));
}

TEST(SimClocks, ThePlatformClockIsRealUntilATestPutsItsOwnInPlace) {
    TestMachine m;
    auto& clock = m.platform().clock();
    const auto before = clock.nowMs();
    sim::VirtualClock virt;
    m.platform().useClock(&virt);
    clock.sleepMs(60000);
    EXPECT_EQ(virt.elapsedMs(), 60000u);
    m.platform().useClock(nullptr);
    EXPECT_LT(clock.nowMs() - before, 60000u); // real time went on without the minute
}

} // namespace
