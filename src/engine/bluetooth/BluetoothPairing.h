#pragma once
// Pairing with a Bluetooth printer: one series of attempts with the entry's current PIN, answered by
// our authentication callback, which the stack runs on a thread of its own while the attempt waits.
#include "app/AppContext.h"
#include "app/PrinterEntry.h"
#include "platform/ports/Bluetooth.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

namespace engine {

// The result when the system lacks the authentication functions.
inline constexpr ports::Status kBluetoothAuthenticationMissing = 632;
// A WAIT_TIMEOUT attempt is repeated after a pause, up to this many attempts in all.
inline constexpr int kBluetoothAuthenticationAttempts = 20;
inline constexpr std::uint32_t kBluetoothRetryPauseMs = 1000;
// The PIN bytes of the system's response record, the terminating NUL included.
inline constexpr std::size_t kBluetoothPinBytes = 16;
// The PIN length sent for legacy pairing, whatever the length of the text.
inline constexpr std::uint8_t kBluetoothPinLengthSent = 4;

// What an attempt shares with the callback: a flag that it ran, and an event (manual reset) that it
// set as its last action. The attempt waits on the event only when the flag says the callback ran.
class AuthenticationHandshake {
public:
    void reset();
    void callbackStarted();
    void callbackFinished();
    bool callbackRan() const;
    void waitForCallback();

private:
    mutable std::mutex mutex_;
    std::condition_variable finished_;
    bool ran_ = false;
    bool done_ = false;
};

// "BLUETOOTH_AUTHENTICATION_METHOD_LEGACY" ... or "Unknow" for a method the stack may add.
std::wstring AuthenticationMethodName(std::uint32_t method);

// The PIN as the response record carries it: the ANSI bytes with their NUL. False (and nothing) when
// the text does not fit the record's PIN bytes or has no ANSI form.
bool BluetoothPinBytes(const app::AppContext& ctx, std::wstring_view pin, std::vector<std::uint8_t>& out);

// Answers one authentication request with `pin`: the PIN for legacy pairing, the request's own number
// for numeric comparison, zeros otherwise. Always true, as the system expects of the callback.
bool AuthenticationCallback(const app::AppContext& ctx, std::wstring_view pin,
                            AuthenticationHandshake& handshake, ports::BluetoothAuthRequest& request);

// One pairing with entry.btPin: registers the callback, attempts (again after each WAIT_TIMEOUT, up to
// the limit) and unregisters. Returns the last result: 0 paired, ERROR_NO_MORE_ITEMS paired already,
// kBluetoothAuthenticationMissing without the authentication functions, or the system's error.
// entry.btInfo is updated by each attempt.
ports::Status AuthenticateBluetooth(const app::AppContext& ctx, PrinterEntry& entry);

} // namespace engine
