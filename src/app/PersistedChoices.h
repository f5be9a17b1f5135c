#pragma once
// The six choices kept between runs in the per-user profile, section "SetupMode" (on Windows
// HKEY_CURRENT_USER\software\ZEVR\Orvello\SetupMode). Each is read once at start-up and written by
// the page that makes the choice, at the moment it is made.
#include "app/SetupSession.h"
#include "platform/ports/ProfileStore.h"

#include <string_view>

namespace app {

inline constexpr std::wstring_view kProfileSection = L"SetupMode";

inline constexpr std::wstring_view kValueSetupMode = L"SetupMode";           // REG_DWORD, setupMode
inline constexpr std::wstring_view kValueSetupPortType = L"SetupPortType";   // REG_DWORD, portType
inline constexpr std::wstring_view kValueSetupPrinter = L"SetupPrinter";     // REG_SZ, chosen.modelName
inline constexpr std::wstring_view kValueManufacturer = L"Manufacturer";     // REG_SZ, savedManufacturer
inline constexpr std::wstring_view kValueUpgradePrinter = L"UpgradePrinter"; // REG_SZ, savedUpgradePrinter
inline constexpr std::wstring_view kValueDeletePrinter = L"DeletePrinter";   // REG_SZ, savedDeletePrinter

// Reads the six values into the session, the integers first, with 0 and "" for what is absent.
void loadPersistedChoices(ports::ProfileStore& profile, SetupSession& session);

} // namespace app
