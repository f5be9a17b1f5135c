#pragma once
// The simulated Bluetooth stack over the "bluetooth" section of the machine's state: a radio (or
// none), devices in range with their class of device, name, address and the PIN they accept, pairing
// through the registered authentication callback (run on a thread of its own, as the system does),
// services, and removal. Enabling the serial port service of a paired device gives it a COM port:
// a device node with the serial port interface and its "PortName", and the spooler's port. Faults are
// named after the Windows functions ("BluetoothFindFirstRadio", "BluetoothAuthenticateDeviceEx", ...).
#include "platform/ports/Bluetooth.h"
#include "platform/common/HandleTable.h"
#include "platform/sim/SimMachine.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace sim {

class SimBluetooth final : public ports::Bluetooth, public ports::HandleCloser {
public:
    SimBluetooth(SimMachine& machine, ports::Clock& clock) : machine_(machine), clock_(clock) {}

    ports::Status findFirstRadio(ports::BluetoothRadio& out) noexcept override;
    ports::Status findFirstDevice(const ports::BluetoothSearchParams& params, ports::BluetoothRadio& radio,
                                  ports::BluetoothDeviceSearch& search,
                                  ports::BluetoothDeviceInfo& out) noexcept override;
    ports::Status findNextDevice(ports::BluetoothDeviceSearch& search,
                                 ports::BluetoothDeviceInfo& out) noexcept override;
    ports::Status installedServices(const ports::BluetoothDeviceInfo& device,
                                    std::vector<ports::Guid>& out) noexcept override;
    ports::Status setServiceState(const ports::BluetoothDeviceInfo& device, const ports::Guid& service,
                                  bool enable) noexcept override;
    ports::Status removeDevice(std::uint64_t address) noexcept override;
    bool authenticationAvailable() noexcept override;
    ports::Status registerForAuthentication(const ports::BluetoothDeviceInfo& device,
                                            ports::BluetoothAuthCallback callback,
                                            ports::BluetoothAuthRegistration& out) noexcept override;
    ports::Status authenticateDevice(ports::WindowId owner, ports::BluetoothDeviceInfo& device,
                                     std::uint32_t requirements) noexcept override;
    ports::Status sendAuthenticationResponse(const ports::BluetoothAuthResponse& response) noexcept override;

    void closeHandle(std::uint64_t id) noexcept override { handles_.remove(id); }

    // "0011223344AA" (most significant byte first) and back.
    static std::wstring addressText(std::uint64_t address);
    static std::uint64_t addressOf(std::wstring_view text);

private:
    struct Opened {
        enum class Kind { Radio, Search, Registration } kind = Kind::Radio;
        std::vector<ports::BluetoothDeviceInfo> found; // a search's devices
        std::size_t next = 0;
        std::uint64_t address = 0; // a registration's device
        ports::BluetoothAuthCallback callback;
    };
    struct Pending {
        std::uint64_t address = 0;
        std::optional<ports::BluetoothAuthResponse> response;
    };
    ports::BluetoothDeviceInfo infoOf(const Json& device);

    SimMachine& machine_;
    ports::Clock& clock_;
    platform::HandleTable<Opened> handles_;
    std::mutex authMutex_;    // one pairing at a time, as the stack runs them
    std::mutex pendingMutex_; // the answer the callback sends
    std::optional<Pending> pending_;
    std::map<std::uint64_t, std::uint64_t> registrations_; // device address -> registration handle
};

} // namespace sim
