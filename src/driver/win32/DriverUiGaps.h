#pragma once
// What mingw-w64's winddiui.h leaves out of the printer interface DLL's contract: the headers the
// spooler passes to DrvDocumentPropertySheets, DrvDevicePropertySheets and DevQueryPrintEx, and
// DrvConvertDevMode's modes. Layouts as Microsoft's winddiui.h declares them.
#include <windows.h>

#include <compstui.h>
#include <winddiui.h>

#include <cstddef>

namespace driver::win32 {

struct DocumentPropertyHeader {
    WORD cbSize;
    WORD Reserved;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
    PDEVMODEW pdmIn;
    PDEVMODEW pdmOut;
    DWORD cbOut;
    DWORD fMode;
};

struct DevicePropertyHeader {
    WORD cbSize;
    WORD Flags;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
};

struct DevQueryPrintInfo {
    WORD cbSize;
    WORD Level;
    HANDLE hPrinter;
    DEVMODEW* pDevMode;
    LPWSTR pszErrorStr;
    DWORD cchErrorStr;
    DWORD cchNeeded;
};

inline constexpr DWORD kConvertDevMode = 0x01;       // CDM_CONVERT
inline constexpr DWORD kConvertDevMode351 = 0x02;    // CDM_CONVERT351
inline constexpr DWORD kDriverDefaultDevMode = 0x04; // CDM_DRIVER_DEFAULT
inline constexpr WORD kNoPermission = 0x0001;        // DPS_NOPERMISSION

// The public part of Windows NT 3.51's DEVMODE, which CDM_CONVERT351 asks for.
inline constexpr WORD kDevMode351Size = offsetof(DEVMODEW, dmICMMethod);

// The two WORDs take a pointer's alignment before the first handle.
inline constexpr std::size_t kWordPair = sizeof(void*) == 8 ? 8 : 4;
static_assert(offsetof(DocumentPropertyHeader, cbOut) == kWordPair + 4 * sizeof(void*));
static_assert(offsetof(DevQueryPrintInfo, cchErrorStr) == kWordPair + 3 * sizeof(void*));
static_assert(sizeof(DevicePropertyHeader) == kWordPair + 2 * sizeof(void*));

} // namespace driver::win32
