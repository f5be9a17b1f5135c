#pragma once
// Conversions between the spooler's JSON records and the port's structs.
#include "platform/ports/SpoolerTypes.h"
#include "platform/sim/SimMachine.h"

namespace sim {

ports::PrinterInfo2 printerInfo2(const Json& printer);
// Writes the settable fields of `info` into `printer` (name, port, driver, texts, attributes...).
void applyPrinterInfo2(Json& printer, const ports::PrinterInfo2& info);
// The printer's DEVMODE: its own, or the default its driver gives.
ports::DevMode printerDevMode(const Json& state, const Json& printer);

// The driver record at `level` (1-6, 8), fields beyond the level left empty.
ports::DriverInfo driverInfo(const Json& driver, std::uint32_t level);
Json driverRecord(const ports::DriverInfo& info, std::wstring_view environment);

ports::FormInfo1 formInfo(const Json& form);
// The forms the spooler knows when the state lists none: the usual built-in paper sizes.
Json builtinForms();

} // namespace sim
