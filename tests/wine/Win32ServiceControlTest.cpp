// The "Spooler" service through the real service port: the calls and answers the spooler routines
// build on (open with 0x34, query, stop, start, the refusals of a second stop or start).
#include "platform/win32/Win32ServiceControl.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {
namespace winerr = ports::winerr;
namespace svc = ports::svc;

class Win32Spooler : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(services.openManager(svc::GenericExecute, manager), winerr::Success);
        ASSERT_EQ(services.openService(manager, L"Spooler",
                                       svc::AccessQueryStatus | svc::AccessStart | svc::AccessStop, spooler),
                  winerr::Success);
        ASSERT_EQ(services.queryStatus(spooler, status), winerr::Success);
        wasRunning = status.currentState == svc::Running;
    }
    // Leaves the service as it found it.
    void TearDown() override {
        if (!spooler)
            return;
        ports::ServiceStatus now;
        if (services.queryStatus(spooler, now) != winerr::Success)
            return;
        if (wasRunning && now.currentState == svc::Stopped) {
            (void)services.start(spooler);
            (void)waitFor(svc::Running);
        } else if (!wasRunning && now.currentState == svc::Running) {
            (void)services.control(spooler, svc::ControlStop, now);
            (void)waitFor(svc::Stopped);
        }
    }
    // Polls once every 100 ms for at most 20 s.
    bool waitFor(std::uint32_t state) {
        for (int i = 0; i < 200; ++i) {
            ports::ServiceStatus s;
            if (services.queryStatus(spooler, s) == winerr::Success && s.currentState == state)
                return true;
            Sleep(100);
        }
        return false;
    }

    win32::Win32ServiceControl services;
    ports::ServiceManagerHandle manager;
    ports::ServiceHandle spooler;
    ports::ServiceStatus status;
    bool wasRunning = false;
};

TEST_F(Win32Spooler, StopsAndStartsAndRefusesTheSecondRequest) {
    if (status.currentState != svc::Running) {
        ASSERT_EQ(services.start(spooler), winerr::Success);
        ASSERT_TRUE(waitFor(svc::Running));
    }
    EXPECT_EQ(services.start(spooler), static_cast<ports::Status>(ERROR_SERVICE_ALREADY_RUNNING));

    ports::ServiceStatus reported;
    ASSERT_EQ(services.control(spooler, svc::ControlStop, reported), winerr::Success);
    EXPECT_TRUE(reported.currentState == svc::StopPending || reported.currentState == svc::Stopped)
        << reported.currentState;
    ASSERT_TRUE(waitFor(svc::Stopped));
    // A spooler that is already stopped makes the stop request fail: the restart routine ends there.
    EXPECT_EQ(services.control(spooler, svc::ControlStop, reported),
              static_cast<ports::Status>(ERROR_SERVICE_NOT_ACTIVE));

    ASSERT_EQ(services.start(spooler), winerr::Success);
    ASSERT_TRUE(waitFor(svc::Running));
}

TEST_F(Win32Spooler, UnknownServicesAndForeignHandlesAreRefused) {
    ports::ServiceHandle none;
    EXPECT_EQ(services.openService(manager, L"Orvello No Such Service", svc::AccessQueryStatus, none),
              static_cast<ports::Status>(ERROR_SERVICE_DOES_NOT_EXIST));
    EXPECT_FALSE(none);

    win32::Win32ServiceControl other;
    ports::ServiceStatus s;
    EXPECT_EQ(other.queryStatus(spooler, s), static_cast<ports::Status>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(other.start(spooler), static_cast<ports::Status>(ERROR_INVALID_HANDLE));
    ports::ServiceHandle viaOther;
    EXPECT_EQ(other.openService(manager, L"Spooler", svc::AccessQueryStatus, viaOther),
              static_cast<ports::Status>(ERROR_INVALID_HANDLE));
}

} // namespace
