#include "engine/bluetooth/BluetoothPairing.h"

#include "app/msglog/MessageLog.h"

#include <memory>

namespace winerr = ports::winerr;

namespace engine {

void AuthenticationHandshake::reset() {
    std::lock_guard lock(mutex_);
    ran_ = false;
    done_ = false;
}

void AuthenticationHandshake::callbackStarted() {
    std::lock_guard lock(mutex_);
    ran_ = true;
}

void AuthenticationHandshake::callbackFinished() {
    {
        std::lock_guard lock(mutex_);
        done_ = true;
    }
    finished_.notify_all();
}

bool AuthenticationHandshake::callbackRan() const {
    std::lock_guard lock(mutex_);
    return ran_;
}

void AuthenticationHandshake::waitForCallback() {
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [this] { return done_; });
}

std::wstring AuthenticationMethodName(std::uint32_t method) {
    switch (method) {
    case ports::btauth::Legacy:
        return L"BLUETOOTH_AUTHENTICATION_METHOD_LEGACY";
    case ports::btauth::Oob:
        return L"BLUETOOTH_AUTHENTICATION_METHOD_OOB";
    case ports::btauth::NumericComparison:
        return L"BLUETOOTH_AUTHENTICATION_METHOD_NUMERIC_COMPARISON";
    case ports::btauth::PasskeyNotification:
        return L"BLUETOOTH_AUTHENTICATION_METHOD_PASSKEY_NOTIFICATION";
    case ports::btauth::Passkey:
        return L"BLUETOOTH_AUTHENTICATION_METHOD_PASSKEY";
    default:
        return L"Unknow";
    }
}

bool BluetoothPinBytes(const app::AppContext& ctx, std::wstring_view pin, std::vector<std::uint8_t>& out) {
    out.clear();
    std::string ansi;
    if (ctx.platform.system().wideToAnsi(pin, ansi) != winerr::Success)
        return false;
    if (ansi.size() + 1 > kBluetoothPinBytes)
        return false;
    out.assign(ansi.begin(), ansi.end());
    out.push_back(0);
    return true;
}

bool AuthenticationCallback(const app::AppContext& ctx, std::wstring_view pin,
                            AuthenticationHandshake& handshake, ports::BluetoothAuthRequest& request) {
    const std::wstring pinText(pin);
    if (ctx.debug()) {
        PrintMessage(L"callback entry, password=%s.", pinText);
        PrintMessage(L"authMethod = %s", AuthenticationMethodName(request.method));
    }
    handshake.callbackStarted();

    ports::BluetoothAuthResponse response;
    response.address = request.device.address;
    response.method = request.method;
    if (request.method == ports::btauth::Legacy) {
        // A PIN that does not fit the record is never sent; the pairing then fails as a wrong PIN.
        if (!pin.empty() && BluetoothPinBytes(ctx, pin, response.pin))
            response.pinLength = kBluetoothPinLengthSent;
    } else if (request.method == ports::btauth::NumericComparison) {
        response.numericValue = request.numericValue;
    }
    if (ctx.platform.bluetooth().sendAuthenticationResponse(response) == winerr::Success)
        request.device.authenticated = true;

    if (ctx.debug())
        PrintMessage(L"callback exit, password=%s.", pinText);
    handshake.callbackFinished();
    return true;
}

ports::Status AuthenticateBluetooth(const app::AppContext& ctx, PrinterEntry& entry) {
    ports::Bluetooth& bt = ctx.platform.bluetooth();
    if (!bt.authenticationAvailable())
        return kBluetoothAuthenticationMissing;

    // The callback may still be running on the system's thread when an attempt returns: it owns a
    // share of what it touches.
    auto handshake = std::make_shared<AuthenticationHandshake>();
    const std::wstring pin = entry.btPin;
    ports::BluetoothAuthRegistration registration;
    const ports::Status registered = bt.registerForAuthentication(
        entry.btInfo,
        [&ctx, handshake, pin](ports::BluetoothAuthRequest& request) {
            return AuthenticationCallback(ctx, pin, *handshake, request);
        },
        registration);
    if (registered != winerr::Success)
        return registered;

    if (ctx.debug())
        PrintMessage(L"BluetoothAuthenticateDeviceEx, password=%s.", pin);
    ports::Status result = winerr::Success;
    for (int attempt = 1;; ++attempt) {
        handshake->reset();
        result = bt.authenticateDevice(0, entry.btInfo, ports::btauth::MitmProtectionNotRequired);
        if (handshake->callbackRan())
            handshake->waitForCallback();
        if (ctx.debug())
            PrintMessage(L"BluetoothAuthenticateDeviceEx, password=%s. error: %d. message: %s", pin,
                         static_cast<int>(result), ctx.errorText(result));
        if (result != winerr::WaitTimeout)
            break;
        ctx.platform.clock().sleepMs(kBluetoothRetryPauseMs);
        if (ctx.debug())
            PrintMessage(L"Retry times: %d", attempt);
        if (attempt >= kBluetoothAuthenticationAttempts)
            break;
    }
    registration.reset();
    return result;
}

} // namespace engine
