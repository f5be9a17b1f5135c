#pragma once
// The service control manager, for the "Spooler" service. Results are Windows errors: an unknown
// service is winerr::ServiceDoesNotExist, a stop request to a stopped service winerr::ServiceNotActive.
#include "platform/ports/Handle.h"
#include "platform/ports/Status.h"

#include <cstdint>
#include <string_view>

namespace ports {

// SC_HANDLEs of the manager and of one service; closing is CloseServiceHandle.
using ServiceManagerHandle = Handle<struct ServiceManagerHandleTag>;
using ServiceHandle = Handle<struct ServiceHandleTag>;

// SERVICE_STATUS.
struct ServiceStatus {
    std::uint32_t serviceType = 0;
    std::uint32_t currentState = 0;
    std::uint32_t controlsAccepted = 0;
    std::uint32_t win32ExitCode = 0;
    std::uint32_t serviceSpecificExitCode = 0;
    std::uint32_t checkPoint = 0;
    std::uint32_t waitHint = 0;
};

namespace svc {
inline constexpr std::uint32_t Stopped = 1;
inline constexpr std::uint32_t StartPending = 2;
inline constexpr std::uint32_t StopPending = 3;
inline constexpr std::uint32_t Running = 4;
inline constexpr std::uint32_t ContinuePending = 5;
inline constexpr std::uint32_t PausePending = 6;
inline constexpr std::uint32_t Paused = 7;

inline constexpr std::uint32_t ControlStop = 1; // SERVICE_CONTROL_STOP

inline constexpr std::uint32_t AccessQueryStatus = 0x04;
inline constexpr std::uint32_t AccessStart = 0x10;
inline constexpr std::uint32_t AccessStop = 0x20;
inline constexpr std::uint32_t GenericExecute = 0x20000000;
} // namespace svc

class ServiceControl {
public:
    virtual ~ServiceControl() = default;

    // OpenSCManagerW on the local machine and its default database.
    [[nodiscard]] virtual Status openManager(std::uint32_t access, ServiceManagerHandle& out) noexcept = 0;
    [[nodiscard]] virtual Status openService(ServiceManagerHandle& manager, std::wstring_view name,
                                             std::uint32_t access, ServiceHandle& out) noexcept = 0;
    [[nodiscard]] virtual Status queryStatus(ServiceHandle& service, ServiceStatus& out) noexcept = 0;
    // StartServiceW without arguments; returns at once (the state passes through StartPending).
    [[nodiscard]] virtual Status start(ServiceHandle& service) noexcept = 0;
    // ControlService; `out` is the status the manager reports back.
    [[nodiscard]] virtual Status control(ServiceHandle& service, std::uint32_t code,
                                         ServiceStatus& out) noexcept = 0;
};

} // namespace ports
