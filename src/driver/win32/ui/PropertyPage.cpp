#include "driver/win32/ui/PropertyPage.h"

#include "base/Utf.h"
#include "driver/core/Millimetres.h"
#include "driver/win32/ModelPapers.h"
#include "driver/win32/PrinterModel.h"

#include <prsht.h>

#include <array>
#include <string_view>

namespace driver::win32 {
namespace {

constexpr WORD kTextId = 100;

// A dialog template with one static text filling the page, built in memory so that the DLL needs
// no resource script: DLGTEMPLATE, no menu, class or title, then one DLGITEMTEMPLATE.
struct alignas(4) PageTemplate {
    std::array<WORD, 26> words;
};
constexpr WORD lo(DWORD v) {
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD hi(DWORD v) {
    return static_cast<WORD>(v >> 16);
}
constexpr DWORD kPageStyle = DS_CONTROL | WS_CHILD;
constexpr DWORD kTextStyle = WS_CHILD | WS_VISIBLE | SS_LEFT;
constexpr PageTemplate kPage{{
    lo(kPageStyle), hi(kPageStyle), 0, 0, 1, 0, 0,   250, 200,     0, 0, 0, // the dialog (12 words)
    lo(kTextStyle), hi(kTextStyle), 0, 0, 7, 7, 236, 186, kTextId,          // the item (9 words)
    0xFFFF,         0x0082,         0, 0, 0,                                // STATIC, no text, no data
}};

INT_PTR CALLBACK pageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return FALSE;
    const auto* sheet = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    SetDlgItemTextW(page, kTextId, reinterpret_cast<const std::wstring*>(sheet->lParam)->c_str());
    return TRUE;
}

UINT CALLBACK pageCallback(HWND, UINT message, PROPSHEETPAGEW* sheet) {
    if (message == PSPCB_RELEASE)
        delete reinterpret_cast<std::wstring*>(sheet->lParam);
    return 1;
}

std::wstring millimetres(std::uint32_t hundredths) {
    return text::fromUtf8(formatHundredths(hundredths));
}

} // namespace

std::wstring modelSummary(HANDLE printer) {
    const auto model = modelOfPrinter(printer);
    if (!model)
        return {};
    std::wstring s = L"Model: " + text::fromUtf8(model->model) + L"\r\n";
    s += L"Resolution: " + std::to_wstring(model->dpi) + L" dpi\r\n";
    s += L"Printer language: " + text::fromUtf8(languageName(model->language)) + L"\r\n";
    s += L"Print width: " + millimetres(model->printableWidth) + L" mm\r\n";
    s += L"Papers:\r\n";
    for (const Paper& paper : model->papers)
        s += L"    " + paperName(paper) + L" (" + millimetres(paper.width) + L" x " +
             millimetres(paper.length) + L" mm)\r\n";
    return s;
}

LONG modelPageSheet(PROPSHEETUI_INFO& sheet, LPARAM lParam, HINSTANCE module, HANDLE printer,
                    const wchar_t* printerName) noexcept {
    switch (sheet.Reason) {
    case PROPSHEETUI_REASON_INIT: {
        std::wstring summary = modelSummary(printer);
        if (summary.empty())
            return ERR_CPSUI_GETLASTERROR;
        PROPSHEETPAGEW page{};
        page.dwSize = sizeof page;
        page.dwFlags = PSP_DLGINDIRECT | PSP_USECALLBACK | PSP_USETITLE;
        page.hInstance = module;
        page.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(kPage.words.data());
        page.pszTitle = L"Printer model";
        page.pfnDlgProc = pageProc;
        page.pfnCallback = pageCallback;
        page.lParam = reinterpret_cast<LPARAM>(new std::wstring(std::move(summary)));
        if (sheet.pfnComPropSheet(sheet.hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                                  reinterpret_cast<LPARAM>(&page), 0) <= 0) {
            delete reinterpret_cast<std::wstring*>(page.lParam);
            return ERR_CPSUI_GETLASTERROR;
        }
        sheet.Result = CPSUI_OK;
        return 1;
    }
    case PROPSHEETUI_REASON_GET_INFO_HEADER: {
        auto* header = reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(lParam);
        header->Flags = 0;
        header->pTitle = const_cast<LPWSTR>(printerName ? printerName : L"");
        header->hInst = module;
        header->IconID = IDI_CPSUI_PRINTER;
        return 1;
    }
    case PROPSHEETUI_REASON_SET_RESULT:
        sheet.Result = reinterpret_cast<const SETRESULT_INFO*>(lParam)->Result;
        return 1;
    default:
        return 1;
    }
}

} // namespace driver::win32
