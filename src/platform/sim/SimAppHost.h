#pragma once
// Process start and end on the simulated machine.
// - Single instance: a SimNamedMutex per name beside the machine's drives, so two programs that
//   open one state file exclude each other; a later copy "broadcasts" by counting a request in the
//   state ("singleInstance": {"<name>": {"activationRequests": n}}), which the running copy takes.
// - Winsock: the state's "system.winsockVersion" ("2.2" unless given) is what the library offers;
//   the fault "WSAStartup" fails the next start.
// - Privileges: the known ones are enabled in this process; the fault "AdjustTokenPrivileges" fails.
// - Libraries: any name loads except those in "system.missingLibraries" (ERROR_MOD_NOT_FOUND);
//   every entry point exists except those in "system.missingEntryPoints"; the fault "LoadLibrary"
//   fails the next load.
#include "platform/ports/AppHost.h"
#include "platform/sim/SimMachine.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

class SimAppHost final : public ports::AppHost {
public:
    explicit SimAppHost(SimMachine& machine);

    std::unique_ptr<ports::SingleInstance> claimSingleInstance(std::wstring_view id) noexcept override;
    ports::Status startWinsock(std::uint16_t requested, std::uint16_t& reported) noexcept override;
    ports::Status cleanupWinsock() noexcept override;
    ports::Status enablePrivilege(std::wstring_view name) noexcept override;
    std::unique_ptr<ports::Module> loadLibrary(std::wstring_view name,
                                               ports::Status& status) noexcept override;

    // What this process holds, for tests.
    int winsockStarts() const;
    std::vector<std::wstring> enabledPrivileges() const;
    std::vector<std::wstring> loadedLibraries() const; // in the order of loading

    struct Loaded; // shared with the modules, which may outlive a moment of the host's use

private:
    SimMachine& machine_;
    mutable std::mutex mutex_;
    int winsockStarts_ = 0;
    std::vector<std::wstring> privileges_;
    std::shared_ptr<Loaded> loaded_;
};

} // namespace sim
