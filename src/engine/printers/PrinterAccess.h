#pragma once
// Opening a printer and reading its settings, shared by the install routines, the end page and the
// viewers. A printer handle holder is a ports::SpoolerHandle: opening through it closes what it held,
// and it closes its handle when it goes. Failures are written to the debugger output only.
#include "app/AppContext.h"
#include "platform/ports/PrintSpooler.h"

#include <cstdint>
#include <string_view>

using PrinterHandle = ports::SpoolerHandle;

// OpenPrinterW with PRINTER_ALL_ACCESS, then with PRINTER_ACCESS_USE for a user who may print but
// not administer. False when both fail ("OpenPrinter(name) error = N, text" on the debugger output).
bool openPrinter(const app::AppContext& ctx, PrinterHandle& holder, std::wstring_view name);
// GetPrinterW level 2; false when it cannot be read.
bool getPrinterInfo2(const app::AppContext& ctx, PrinterHandle& holder, ports::PrinterInfo2& out);
// The printer's current DEVMODE (DocumentPropertiesW with DM_OUT_BUFFER, no window) for the printer
// named by its PRINTER_INFO_2; false when either cannot be read.
bool getPrinterDevMode(const app::AppContext& ctx, PrinterHandle& holder, ports::DevMode& out);
// "SetPrinter level = N, error = N, text" on the debugger output.
void logSetPrinterFailure(const app::AppContext& ctx, std::uint32_t level, ports::Status error);
