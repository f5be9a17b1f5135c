#pragma once
// The printer name the name page proposes, and the command line uses when none is given: the model's
// custom name (or the model name, with the translated word for Bluetooth appended for a Bluetooth
// printer), numbered "(1)", "(2)" ... until no local or connected printer has it.
#include "app/AppContext.h"
#include "app/SetupSession.h"

#include <string>

namespace engine {

// "" when the printers cannot be listed.
std::wstring ProposePrinterName(const app::AppContext& ctx, const SetupSession& session);

} // namespace engine
