#include "platform/sim/SimServices.h"

#include "platform/sim/SimJson.h"
#include "platform/sim/SimPrintSystem.h"
#include "platform/sim/SimServiceState.h"

namespace sim {
namespace winerr = ports::winerr;
namespace svc = ports::svc;
using ports::Status;

namespace {

constexpr std::uint32_t kWin32OwnProcess = 0x10;
constexpr std::uint32_t kInterrogate = 4; // SERVICE_CONTROL_INTERROGATE
constexpr std::uint32_t kAcceptStop = 1;  // SERVICE_ACCEPT_STOP

// GENERIC_EXECUTE on a service grants start, stop, pause and interrogate (not query status).
std::uint32_t effectiveAccess(std::uint32_t access) {
    if (access & svc::GenericExecute)
        access |= svc::AccessStart | svc::AccessStop | 0x40 | 0x80;
    if (access & 0x10000000) // GENERIC_ALL
        access |= 0xF01FF;
    return access;
}

// The serial ports the machine's device map lists become the spooler's COM ports when it starts, as
// the local port monitor reads them at its start.
void addSerialPorts(Json& state) {
    for (const auto& name : textsOf(memberOf(state, "devices"), "serialComm"))
        ensurePort(state, name + L":", L"Local Port");
}

} // namespace

ports::ServiceStatus SimServices::statusOf(const Json& service) {
    const ServiceView v = viewService(service, clock_.nowMs());
    ports::ServiceStatus out;
    out.serviceType = kWin32OwnProcess;
    out.currentState = v.state;
    out.controlsAccepted = v.state == svc::Running ? kAcceptStop : 0;
    out.win32ExitCode = v.exitCode;
    out.checkPoint = v.checkPoint;
    out.waitHint = v.waitHint;
    return out;
}

Status SimServices::openManager(std::uint32_t access, ports::ServiceManagerHandle& out) noexcept {
    out.reset();
    const Status f = machine_.write([](Json& s) { return SimMachine::takeFault(s, "OpenSCManagerW"); });
    if (f)
        return f;
    out = ports::ServiceManagerHandle(*this, handles_.add({true, L"", access}));
    return winerr::Success;
}

Status SimServices::openService(ports::ServiceManagerHandle& manager, std::wstring_view name,
                                std::uint32_t access, ports::ServiceHandle& out) noexcept {
    out.reset();
    auto m = handles_.find(manager, this);
    if (!m || !m->manager)
        return winerr::InvalidHandle;
    std::wstring canonical;
    const Status result = machine_.write([&](Json& s) -> Status {
        if (Status f = SimMachine::takeFault(s, "OpenServiceW"))
            return f;
        Json* service = findService(s, name);
        if (!service)
            return winerr::ServiceDoesNotExist;
        for (auto it = s["services"].begin(); it != s["services"].end(); ++it) {
            if (&*it == service)
                canonical = wide(it.key());
        }
        return winerr::Success;
    });
    if (result == winerr::Success)
        out = ports::ServiceHandle(*this, handles_.add({false, canonical, effectiveAccess(access)}));
    return result;
}

Status SimServices::queryStatus(ports::ServiceHandle& service, ports::ServiceStatus& out) noexcept {
    out = {};
    auto o = handles_.find(service, this);
    if (!o || o->manager)
        return winerr::InvalidHandle;
    if (!(o->access & svc::AccessQueryStatus))
        return winerr::AccessDenied;
    return machine_.write([&](Json& s) -> Status {
        if (Status f = SimMachine::takeFault(s, "QueryServiceStatus"))
            return f;
        const Json* record = findService(s, o->name);
        if (!record)
            return winerr::ServiceMarkedForDelete;
        out = statusOf(*record);
        return winerr::Success;
    });
}

Status SimServices::start(ports::ServiceHandle& service) noexcept {
    auto o = handles_.find(service, this);
    if (!o || o->manager)
        return winerr::InvalidHandle;
    if (!(o->access & svc::AccessStart))
        return winerr::AccessDenied;
    return machine_.write([&](Json& s) -> Status {
        if (Status f = SimMachine::takeFault(s, "StartServiceW"))
            return f;
        Json* record = findService(s, o->name);
        if (!record)
            return winerr::ServiceMarkedForDelete;
        if (flagOf(*record, "disabled"))
            return winerr::ServiceDisabled;
        if (viewService(*record, clock_.nowMs()).state != svc::Stopped)
            return winerr::ServiceAlreadyRunning;
        beginStart(*record, clock_.nowMs());
        if (o->name == L"Spooler")
            addSerialPorts(s);
        return winerr::Success;
    });
}

Status SimServices::control(ports::ServiceHandle& service, std::uint32_t code,
                            ports::ServiceStatus& out) noexcept {
    out = {};
    auto o = handles_.find(service, this);
    if (!o || o->manager)
        return winerr::InvalidHandle;
    if (code == svc::ControlStop && !(o->access & svc::AccessStop))
        return winerr::AccessDenied;
    return machine_.write([&](Json& s) -> Status {
        if (Status f = SimMachine::takeFault(s, "ControlService"))
            return f;
        Json* record = findService(s, o->name);
        if (!record)
            return winerr::ServiceMarkedForDelete;
        const std::uint32_t state = viewService(*record, clock_.nowMs()).state;
        if (code == kInterrogate) {
            out = statusOf(*record);
            return state == svc::Stopped ? winerr::ServiceNotActive : winerr::Success;
        }
        if (code != svc::ControlStop)
            return winerr::InvalidServiceControl;
        if (state == svc::Stopped)
            return winerr::ServiceNotActive;
        if (state != svc::Running) {
            out = statusOf(*record);
            return winerr::ServiceCannotAcceptCtrl;
        }
        beginStop(*record, clock_.nowMs());
        out = statusOf(*record);
        return winerr::Success;
    });
}

} // namespace sim
