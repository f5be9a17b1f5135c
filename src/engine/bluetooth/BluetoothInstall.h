#pragma once
// The installation of a Bluetooth printer on the operation thread: pairing by the PIN policy, the
// serial port service, its COM port, the driver, the queue on that port, and the queue tagged with
// the printer's address.
#include "engine/install/InstallContext.h"

#include <array>
#include <string_view>

namespace engine {

// Tried in this order before the user is asked (the empty PIN is the third).
inline constexpr std::array<std::wstring_view, 3> kBluetoothPinPolicy = {kDefaultBluetoothPin,
                                                                         kSecondBluetoothPin, L""};

// Pairs with session.chosen: the PINs of the policy, then the one the user types. True when paired;
// every failure is reported, a cancelled dialog silently.
bool PairBluetoothPrinter(const InstallContext& ctx);
// The whole installation for the Bluetooth port type; true when the queue was created.
bool InstallBluetoothPrinter(const InstallContext& ctx);

} // namespace engine
