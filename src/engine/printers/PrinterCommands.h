#pragma once
// The three printer commands of the end page: the driver's printing preferences, the printer's
// properties sheet of the shell, and a test page. Each first opens the printer and does nothing when
// it cannot.
#include "app/AppContext.h"
#include "platform/ports/Handle.h"

#include <cstdint>
#include <string_view>

class BackgroundCommands;

// DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER with the two flags the preferences dialog is shown with.
inline constexpr std::uint32_t kPreferencesDialogMode = 0x4000004E;

// The driver's document settings dialog owned by `owner`; on OK the settings become the printer's
// defaults (SetPrinterW level 2) and the directory is told (level 7, update).
void showPrintingPreferences(const app::AppContext& ctx, ports::WindowId owner,
                             std::wstring_view printerName);
// The shell's properties sheet of "\\computer\printer".
void showPrinterProperties(const app::AppContext& ctx, ports::WindowId owner, std::wstring_view printerName);
// printui's test page for the printer, on a background command (nobody waits for it).
void printTestPage(const app::AppContext& ctx, BackgroundCommands& commands, std::wstring_view printerName);
