#include "platform/win32/Win32ServiceControl.h"

#include "platform/win32/Win32Ports.h"

#include "platform/win32/SizedBuffer.h"

#include <string>

namespace win32 {
namespace {
using ports::Status;
namespace winerr = ports::winerr;

ports::ServiceStatus statusOf(const SERVICE_STATUS& s) {
    return {s.dwServiceType,
            s.dwCurrentState,
            s.dwControlsAccepted,
            s.dwWin32ExitCode,
            s.dwServiceSpecificExitCode,
            s.dwCheckPoint,
            s.dwWaitHint};
}

} // namespace

Status Win32ServiceControl::openManager(std::uint32_t access, ports::ServiceManagerHandle& out) noexcept {
    out.reset();
    UniqueService manager(OpenSCManagerW(nullptr, nullptr, access));
    if (!manager)
        return lastError();
    out = ports::ServiceManagerHandle(*this, handles_.add(std::move(manager)));
    return winerr::Success;
}

Status Win32ServiceControl::openService(ports::ServiceManagerHandle& manager, std::wstring_view name,
                                        std::uint32_t access, ports::ServiceHandle& out) noexcept {
    out.reset();
    const auto m = handleOf(manager);
    if (!m)
        return ERROR_INVALID_HANDLE;
    const std::wstring n(name);
    UniqueService service(OpenServiceW(m, n.c_str(), access));
    if (!service)
        return lastError();
    out = ports::ServiceHandle(*this, handles_.add(std::move(service)));
    return winerr::Success;
}

Status Win32ServiceControl::queryStatus(ports::ServiceHandle& service, ports::ServiceStatus& out) noexcept {
    const auto s = handleOf(service);
    if (!s)
        return ERROR_INVALID_HANDLE;
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(s, &status))
        return lastError();
    out = statusOf(status);
    return winerr::Success;
}

Status Win32ServiceControl::start(ports::ServiceHandle& service) noexcept {
    const auto s = handleOf(service);
    if (!s)
        return ERROR_INVALID_HANDLE;
    return StartServiceW(s, 0, nullptr) ? winerr::Success : lastError();
}

Status Win32ServiceControl::control(ports::ServiceHandle& service, std::uint32_t code,
                                    ports::ServiceStatus& out) noexcept {
    const auto s = handleOf(service);
    if (!s)
        return ERROR_INVALID_HANDLE;
    SERVICE_STATUS status{};
    const BOOL ok = ControlService(s, code, &status);
    const Status result = ok ? winerr::Success : lastError();
    // Some refusals (ERROR_SERVICE_CANNOT_ACCEPT_CTRL, ...) still report the current status.
    out = statusOf(status);
    return result;
}

std::unique_ptr<ports::ServiceControl> makeWin32ServiceControl() {
    return std::make_unique<Win32ServiceControl>();
}

} // namespace win32
