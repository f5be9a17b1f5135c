#pragma once
// The print spooler service ("Spooler"): stop, start and restart with the waits the removal steps
// and the main window's spooler check rely on. Every pause goes through the platform's clock.
#include "app/AppContext.h"
#include "platform/ports/ServiceControl.h"

#include <cstdint>
#include <string_view>

inline constexpr std::wstring_view kSpoolerServiceName = L"Spooler";
// SERVICE_QUERY_STATUS | SERVICE_START | SERVICE_STOP.
inline constexpr std::uint32_t kSpoolerAccess =
    ports::svc::AccessQueryStatus | ports::svc::AccessStart | ports::svc::AccessStop;
// The pause after the stop or start request and after each unsuccessful poll, and the number of
// polls: about 37 seconds at most.
inline constexpr std::uint32_t kSpoolerPauseMs = 1000;
inline constexpr int kSpoolerPolls = 36;

// The service manager (opened by the caller) and the "Spooler" service (opened by the routines).
// Releasing closes the service handle first, then the manager's.
struct SpoolerControl {
    ports::ServiceManagerHandle manager;
    ports::ServiceHandle service;
    // The error of the last service call that failed (GetLastError's part in the messages);
    // ERROR_SERVICE_REQUEST_TIMEOUT when the polls ran out without the wanted state.
    ports::Status lastError = ports::winerr::Success;

    void release() {
        service.reset();
        manager.reset();
    }
};

// OpenSCManagerW for the local machine and its default database with GENERIC_EXECUTE.
bool OpenSpoolerManager(const app::AppContext& ctx, SpoolerControl& control);
// Closes a service handle the pair holds, then OpenServiceW(manager, "Spooler", kSpoolerAccess).
bool OpenSpoolerService(const app::AppContext& ctx, SpoolerControl& control);

// Requests the stop, pauses, then polls up to kSpoolerPolls times for SERVICE_STOPPED with a pause
// after each miss. False without a service handle, when the request fails (a stopped service
// refuses it) or when the polls run out.
bool StopSpoolerAndWait(const app::AppContext& ctx, SpoolerControl& control);
// The same with StartServiceW and SERVICE_RUNNING.
bool StartSpoolerAndWait(const app::AppContext& ctx, SpoolerControl& control);

// Opens the service afresh, stops it and starts it again. Each failing step is logged in red with
// its error code and text and ends the restart: a stopped spooler therefore stays stopped.
// Nothing is logged on success.
bool RestartSpooler(const app::AppContext& ctx, SpoolerControl& control);
