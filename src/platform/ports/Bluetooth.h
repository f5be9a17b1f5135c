#pragma once
// The Bluetooth stack (bthprops.cpl), one level up. Every call names "no particular radio" unless a
// radio is passed; results are Windows errors. The authentication functions are optional: without
// them authenticationAvailable() is false and they answer winerr::ProcNotFound; the pairing code
// turns that into its own 632.
#include "platform/ports/Clock.h"
#include "platform/ports/Guid.h"
#include "platform/ports/Handle.h"
#include "platform/ports/Status.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ports {

// A local radio (BluetoothFindFirstRadio's HANDLE) and a running device search
// (HBLUETOOTH_DEVICE_FIND); closing is CloseHandle / BluetoothFindDeviceClose.
using BluetoothRadio = Handle<struct BluetoothRadioTag>;
using BluetoothDeviceSearch = Handle<struct BluetoothDeviceSearchTag>;
// A registration for authentication; closing is BluetoothUnregisterAuthentication.
using BluetoothAuthRegistration = Handle<struct BluetoothAuthRegistrationTag>;

// BLUETOOTH_DEVICE_INFO. The address is the 48-bit BLUETOOTH_ADDRESS (byte 0 least significant).
struct BluetoothDeviceInfo {
    std::uint64_t address = 0;
    std::uint32_t classOfDevice = 0;
    bool connected = false;
    bool remembered = false;
    bool authenticated = false;
    SystemTime lastSeen;
    SystemTime lastUsed;
    std::wstring name;

    friend bool operator==(const BluetoothDeviceInfo&, const BluetoothDeviceInfo&) = default;
};

// BLUETOOTH_DEVICE_SEARCH_PARAMS.
struct BluetoothSearchParams {
    bool returnAuthenticated = true;
    bool returnRemembered = true;
    bool returnUnknown = true;
    bool returnConnected = true;
    bool issueInquiry = true;
    std::uint8_t timeoutMultiplier = 5; // units of 1.28 s
};

namespace btauth { // BLUETOOTH_AUTHENTICATION_METHOD
inline constexpr std::uint32_t Legacy = 1;
inline constexpr std::uint32_t Oob = 2;
inline constexpr std::uint32_t NumericComparison = 3;
inline constexpr std::uint32_t PasskeyNotification = 4;
inline constexpr std::uint32_t Passkey = 5;
inline constexpr std::uint32_t MitmProtectionNotRequired = 0; // BLUETOOTH_AUTHENTICATION_REQUIREMENTS
} // namespace btauth

// BLUETOOTH_AUTHENTICATION_CALLBACK_PARAMS. The callback may mark `device.authenticated`.
struct BluetoothAuthRequest {
    BluetoothDeviceInfo device;
    std::uint32_t method = 0;
    std::uint32_t ioCapability = 0;
    std::uint32_t authenticationRequirements = 0;
    std::uint32_t numericValue = 0; // also the passkey
};

// BLUETOOTH_AUTHENTICATE_RESPONSE. For legacy pairing `pin` holds up to 16 bytes and `pinLength` is
// sent as given (the wizard sends 4 whatever the text).
struct BluetoothAuthResponse {
    std::uint64_t address = 0;
    std::uint32_t method = 0;
    std::vector<std::uint8_t> pin;
    std::uint8_t pinLength = 0;
    std::uint32_t numericValue = 0; // numeric comparison and passkey answers
    bool negative = false;
};

// Called on a thread of the system's while authenticateDevice runs; the return is the callback's BOOL.
using BluetoothAuthCallback = std::function<bool(BluetoothAuthRequest&)>;

class Bluetooth {
public:
    virtual ~Bluetooth() = default;

    // BluetoothFindFirstRadio: winerr::NoMoreItems when there is no radio.
    [[nodiscard]] virtual Status findFirstRadio(BluetoothRadio& out) noexcept = 0;
    // BluetoothFindFirstDevice / NextDevice; the first call runs the inquiry (blocking for
    // timeoutMultiplier x 1.28 s on a real radio). winerr::NoMoreItems ends the search.
    [[nodiscard]] virtual Status findFirstDevice(const BluetoothSearchParams& params, BluetoothRadio& radio,
                                                 BluetoothDeviceSearch& search,
                                                 BluetoothDeviceInfo& out) noexcept = 0;
    [[nodiscard]] virtual Status findNextDevice(BluetoothDeviceSearch& search,
                                                BluetoothDeviceInfo& out) noexcept = 0;

    // BluetoothEnumerateInstalledServices: the service GUIDs; success with an empty list when none.
    [[nodiscard]] virtual Status installedServices(const BluetoothDeviceInfo& device,
                                                   std::vector<Guid>& out) noexcept = 0;
    // BluetoothSetServiceState with BLUETOOTH_SERVICE_ENABLE or _DISABLE.
    [[nodiscard]] virtual Status setServiceState(const BluetoothDeviceInfo& device, const Guid& service,
                                                 bool enable) noexcept = 0;
    // BluetoothRemoveDevice.
    [[nodiscard]] virtual Status removeDevice(std::uint64_t address) noexcept = 0;

    // --- authentication (optional)
    [[nodiscard]] virtual bool authenticationAvailable() noexcept = 0;
    // BluetoothRegisterForAuthenticationEx for one device.
    [[nodiscard]] virtual Status registerForAuthentication(const BluetoothDeviceInfo& device,
                                                           BluetoothAuthCallback callback,
                                                           BluetoothAuthRegistration& out) noexcept = 0;
    // BluetoothAuthenticateDeviceEx (no radio, no out-of-band data); `device` is updated in place.
    [[nodiscard]] virtual Status authenticateDevice(WindowId owner, BluetoothDeviceInfo& device,
                                                    std::uint32_t requirements) noexcept = 0;
    // BluetoothSendAuthenticationResponseEx, from inside the callback.
    [[nodiscard]] virtual Status
    sendAuthenticationResponse(const BluetoothAuthResponse& response) noexcept = 0;
};

} // namespace ports
