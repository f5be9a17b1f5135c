#pragma once
// The 500 ms tick of the USB search (timer 500 on the search page's busy picture): one scan, then
// the page that fits what was found. The pages are reached through the hooks, so the tick runs the
// same with the real window and headless.
#include "discovery/usb/UsbPrinterScan.h"

#include <functional>

namespace discovery {

inline constexpr unsigned kUsbSearchTimerId = 500;
inline constexpr unsigned kUsbSearchPeriodMs = 500;

struct UsbSearchPages {
    std::function<void()> showModelPage;       // the found-printer model page, with `devices`
    std::function<void()> showSearchPage;      // back to the search page: nothing found
    std::function<void()> refreshModelList;    // the model page rebuilds its list from `devices`
    std::function<void()> refreshCustomModels; // the custom model page does
};

// By port type: USB and the Bluetooth adapter scan and move between the search and model pages;
// custom scans and refreshes the custom model page; parallel and serial do nothing.
void SearchTick(const UsbScanContext& scan, const UsbSearchPages& pages);

// Entering the search page: the list starts empty and the first scan runs at once (the caller then
// starts the timer).
void EnterSearch(const UsbScanContext& scan, const UsbSearchPages& pages);

} // namespace discovery
