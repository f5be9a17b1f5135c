#pragma once
// The fixed names and values of the program's start: its name, registry keys, single-instance
// identifier, skin source, Winsock version and the rest of what start-up sets up.
#include <array>
#include <cstdint>
#include <string_view>

namespace app {

// Toolkit application name, registry application key, main window title and log file prefix.
inline constexpr std::wstring_view kAppName = L"Orvello";
inline constexpr std::wstring_view kCompanyKey = L"ZEVR";
// Both the single-instance mutex and the window message a later copy broadcasts.
inline constexpr std::wstring_view kSingleInstanceId = L"9FF1EC1E-3EF5-4B76-A618-2288977D2E05";
// Any argument containing this text (case-sensitive) turns debug mode on.
inline constexpr std::wstring_view kDebugSwitch = L"-debug";

// The skin archive: a folder name for the toolkit and the embedded resource it is read from.
struct SkinSource {
    std::wstring_view folder = L"skin";
    std::wstring_view resourceType = L"ZIPRES";
    std::uint16_t resourceId = 129;
};

inline constexpr std::uint8_t kWinsockMajor = 2, kWinsockMinor = 2;
inline constexpr std::wstring_view kWinsockVersionMessage = L"Incorrect version of WS2_32.dll found";
inline constexpr std::wstring_view kErrorCaption = L"Error";

inline constexpr std::wstring_view kDriverLoadingPrivilege = L"SeLoadDriverPrivilege";

// The toolkit control classes that the message log and the device trees add.
inline constexpr std::array<std::wstring_view, 3> kControlClasses = {L"CMsgWnd2UI", L"CTreeShellUI",
                                                                     L"CTreeDeviceUI"};

// The main window: no parent, WS_VISIBLE | WS_OVERLAPPEDWINDOW, extended style 0, position and size 0
// (the layout's 560 by 400 applies), centred on the work area of its monitor.
struct MainWindowParameters {
    std::wstring_view title = kAppName;
    std::uint32_t style = 0x10CF0000;
    std::uint32_t exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    bool centreOnWorkArea = true;
};

// The first line of the log file in debug mode.
inline constexpr std::wstring_view kLogStartLine = L"Run Orvello application";

} // namespace app
