#pragma once
// The one property sheet page of the driver: what the model is (resolution, language, papers),
// shown read-only in the printer's properties and its printing preferences.
#include <windows.h>

#include <compstui.h>

#include <string>

namespace driver::win32 {

// Answers one PROPSHEETUI_REASON_ call of DrvDocumentPropertySheets or DrvDevicePropertySheets.
[[nodiscard]] LONG modelPageSheet(PROPSHEETUI_INFO& sheet, LPARAM lParam, HINSTANCE module, HANDLE printer,
                                  const wchar_t* printerName) noexcept;

// The page's text for the printer's model; empty when the model data cannot be read.
[[nodiscard]] std::wstring modelSummary(HANDLE printer);

} // namespace driver::win32
