// The printer interface DLL's entry points: the spooler and applications call these to learn what
// the printer can do and to get a DEVMODE that fits it. Every DEVMODE that comes in is read
// through readDevMode, so a foreign, older or damaged one is corrected, never trusted.
#include "driver/win32/DeviceCapabilities.h"
#include "driver/win32/DriverDevMode.h"
#include "driver/win32/DriverUiGaps.h"
#include "driver/win32/PrinterModel.h"
#include "driver/win32/ui/PropertyPage.h"

#include <algorithm>
#include <cwchar>
#include <string>

using namespace driver::win32;

namespace {

HINSTANCE g_module = nullptr;

// The model's DEVMODE corrected from `in`, named after the printer.
DriverDevMode devModeFor(const driver::ModelData& model, const DEVMODEW* in, std::wstring_view printer) {
    DriverDevMode dm = readDevMode(model, in).devMode;
    const std::size_t n = std::min<std::size_t>(printer.size(), CCHDEVICENAME - 1);
    std::wmemset(dm.pub.dmDeviceName, L'\0', CCHDEVICENAME);
    std::wmemcpy(dm.pub.dmDeviceName, printer.data(), n);
    return dm;
}

// DOCUMENTPROPERTYHEADER without a property sheet: the size of this driver's DEVMODE, or the
// corrected DEVMODE in pdmOut.
LONG documentProperties(DocumentPropertyHeader& header) {
    constexpr LONG kTotal = sizeof(DriverDevMode);
    if (header.fMode == 0 || !header.pdmOut)
        return kTotal;
    if (header.cbOut < sizeof(DriverDevMode)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return ERR_CPSUI_GETLASTERROR;
    }
    const auto model = modelOfPrinter(header.hPrinter);
    if (!model)
        return ERR_CPSUI_GETLASTERROR;
    const DEVMODEW* in = (header.fMode & DM_IN_BUFFER) ? header.pdmIn : nullptr;
    const DriverDevMode dm = devModeFor(*model, in, header.pszPrinterName ? header.pszPrinterName : L"");
    writeDevMode(dm, sizeof(DEVMODEW), sizeof(PrivateDevMode), header.pdmOut);
    return CPSUI_OK;
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = module;
        DisableThreadLibraryCalls(module);
    }
    return TRUE;
}

DWORD WINAPI DrvDeviceCapabilities(HANDLE printer, PWSTR, WORD index, void* output, DEVMODEW*) {
    const auto model = modelOfPrinter(printer);
    if (!model)
        return GDI_ERROR;
    return deviceCapability(*model, index, output);
}

BOOL WINAPI DrvConvertDevMode(LPWSTR printerName, DEVMODEW* in, DEVMODEW* out, LONG* bytesNeeded,
                              DWORD mode) {
    if (!bytesNeeded ||
        (mode != kConvertDevMode && mode != kConvertDevMode351 && mode != kDriverDefaultDevMode)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto model = modelOfPrinterName(printerName);
    if (!model)
        return FALSE;
    // The layout of the result: ours for the default, the caller's (as pdmOut's header says) or
    // Windows NT 3.51's for a conversion.
    WORD size = sizeof(DEVMODEW);
    WORD extra = sizeof(PrivateDevMode);
    if (mode == kConvertDevMode351) {
        size = kDevMode351Size;
    } else if (mode == kConvertDevMode) {
        if (!in || !out || *bytesNeeded < static_cast<LONG>(offsetof(DEVMODEW, dmFields)) ||
            out->dmSize < kMinPublicSize) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        size = out->dmSize;
        extra = out->dmDriverExtra;
    }
    const LONG total = LONG(size) + extra;
    if (!out || *bytesNeeded < total) {
        *bytesNeeded = total;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    const DEVMODEW* source = mode == kDriverDefaultDevMode ? nullptr : in;
    writeDevMode(devModeFor(*model, source, printerName), size, extra, out);
    *bytesNeeded = total;
    return TRUE;
}

BOOL WINAPI DevQueryPrintEx(DevQueryPrintInfo* info) {
    if (!info || info->cbSize < sizeof(DevQueryPrintInfo)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto model = modelOfPrinter(info->hPrinter);
    // A job whose DEVMODE is unreadable is held rather than printed with settings it never chose.
    const wchar_t* problem = !model ? L"The printer's model data cannot be read."
                             : (info->pDevMode && !readDevMode(*model, info->pDevMode).publicUsed)
                                 ? L"The job's printing preferences are damaged."
                                 : nullptr;
    if (!problem)
        return TRUE;
    const std::size_t length = std::wcslen(problem);
    info->cchNeeded = static_cast<DWORD>(length + 1);
    if (info->pszErrorStr && info->cchErrorStr > length)
        std::wmemcpy(info->pszErrorStr, problem, length + 1);
    return FALSE;
}

LONG WINAPI DrvDocumentPropertySheets(PROPSHEETUI_INFO* sheet, LPARAM lParam) {
    if (!sheet) {
        auto* header = reinterpret_cast<DocumentPropertyHeader*>(lParam);
        if (!header || header->cbSize < sizeof(DocumentPropertyHeader)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return ERR_CPSUI_GETLASTERROR;
        }
        return documentProperties(*header);
    }
    auto* header = reinterpret_cast<DocumentPropertyHeader*>(sheet->lParamInit);
    if (!header)
        return ERR_CPSUI_GETLASTERROR;
    if (sheet->Reason == PROPSHEETUI_REASON_INIT && header->pdmOut && (header->fMode & DM_OUT_BUFFER) &&
        documentProperties(*header) <= 0)
        return ERR_CPSUI_GETLASTERROR;
    return modelPageSheet(*sheet, lParam, g_module, header->hPrinter, header->pszPrinterName);
}

LONG WINAPI DrvDevicePropertySheets(PROPSHEETUI_INFO* sheet, LPARAM lParam) {
    if (!sheet || !sheet->lParamInit) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERR_CPSUI_GETLASTERROR;
    }
    auto* header = reinterpret_cast<DevicePropertyHeader*>(sheet->lParamInit);
    return modelPageSheet(*sheet, lParam, g_module, header->hPrinter, header->pszPrinterName);
}

BOOL WINAPI DrvDriverEvent(DWORD, DWORD, LPBYTE, LPARAM) {
    return TRUE;
}

BOOL WINAPI DrvPrinterEvent(LPWSTR, INT, DWORD, LPARAM) {
    return TRUE;
}

} // extern "C"
