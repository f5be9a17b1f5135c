#pragma once
// The printer queue of an installation: created on the chosen port with the chosen name (network,
// Bluetooth and existing ports), or created by the print system and renamed (USB); made the default
// printer when the user asked; tagged with driver-private values (Bluetooth queues).
#include "engine/install/InstallContext.h"
#include "engine/printers/PrinterAccess.h"

#include <string_view>

namespace engine {

inline constexpr std::wstring_view kPrinterDriverDataKey = L"PrinterDriverData";

// The PRINTER_INFO_2 of a new queue: chosen name, port and model (the model name is the driver
// name), the model's comment, an empty location, WinPrint and RAW, a local printer.
ports::PrinterInfo2 NewQueueRecord(const InstallContext& ctx);
// AddPrinterW with that record. On success the queue is known by its name from then on:
// chosen.modelName becomes chosen.printerName. Reports the outcome (blue or red).
bool AddPrinterQueue(const InstallContext& ctx);
// SetPrinterDataExW(PrinterDriverData, name, REG_SZ) with the text's code units, without the NUL.
bool SetPrinterDriverValue(const app::AppContext& ctx, PrinterHandle& printer, std::wstring_view valueName,
                           std::wstring_view text);
// Renames an open queue (GetPrinterW and SetPrinterW level 2). Not reported.
bool RenamePrinter(const app::AppContext& ctx, PrinterHandle& printer, std::wstring_view newName);
// After a successful installation: opens the queue (known as chosen.modelName), gives it the chosen
// name when the two differ, and makes it the default printer when `setAsDefault` (reporting that
// outcome). Nothing happens when the queue cannot be opened.
void FinishInstalledPrinter(const InstallContext& ctx, bool setAsDefault);

} // namespace engine
