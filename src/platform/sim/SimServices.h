#pragma once
// The simulated service control manager: the services of the machine's "services" section (a
// running "Spooler" when the section is missing), with start and stop delays in clock time and the
// codes of the real manager. Faults: "OpenSCManagerW", "OpenServiceW", "QueryServiceStatus",
// "StartServiceW", "ControlService".
#include "platform/ports/Clock.h"
#include "platform/ports/ServiceControl.h"
#include "platform/common/HandleTable.h"
#include "platform/sim/SimMachine.h"

#include <string>

namespace sim {

class SimServices final : public ports::ServiceControl, public ports::HandleCloser {
public:
    SimServices(SimMachine& machine, ports::Clock& clock) : machine_(machine), clock_(clock) {}

    ports::Status openManager(std::uint32_t access, ports::ServiceManagerHandle& out) noexcept override;
    ports::Status openService(ports::ServiceManagerHandle& manager, std::wstring_view name,
                              std::uint32_t access, ports::ServiceHandle& out) noexcept override;
    ports::Status queryStatus(ports::ServiceHandle& service, ports::ServiceStatus& out) noexcept override;
    ports::Status start(ports::ServiceHandle& service) noexcept override;
    ports::Status control(ports::ServiceHandle& service, std::uint32_t code,
                          ports::ServiceStatus& out) noexcept override;

    void closeHandle(std::uint64_t id) noexcept override { handles_.remove(id); }

private:
    struct Opened {
        bool manager = false;
        std::wstring name;
        std::uint32_t access = 0;
    };
    ports::ServiceStatus statusOf(const Json& service);

    SimMachine& machine_;
    ports::Clock& clock_;
    platform::HandleTable<Opened> handles_;
};

} // namespace sim
