#pragma once
// The main window's check of the print spooler, at its start and whenever the main page is entered:
// a spooler that cannot be opened or queried, or is not running, is started and awaited; when that
// fails too the user is told in a message box. The wizard goes on in either case.
#include "app/AppContext.h"
#include "ui/core/Window.h"

namespace wizard {

// True when the spooler runs (already, or after the start).
bool CheckSpooler(const app::AppContext& context, ui::Window& window);

} // namespace wizard
