#pragma once
// The model behind a printer: the spooler names the driver's data file ("<model>.dat" in the
// driver folder) in the printer's DRIVER_INFO_2, and the file says the rest.
#include "driver/core/ModelData.h"

#include <windows.h>

#include <optional>
#include <string>

namespace driver::win32 {

// The data file's model, or nothing (with the reason in GetLastError) when the printer has no
// driver record, the file cannot be read or holds an error.
[[nodiscard]] std::optional<ModelData> modelOfPrinter(HANDLE printer) noexcept;
// The same for a printer known by name (opened and closed here).
[[nodiscard]] std::optional<ModelData> modelOfPrinterName(const wchar_t* printerName) noexcept;
[[nodiscard]] std::optional<ModelData> modelOfFile(const std::wstring& path) noexcept;

} // namespace driver::win32
