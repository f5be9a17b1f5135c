#include "engine/printers/PrinterCommands.h"

#include "base/Format.h"
#include "engine/BackgroundCommands.h"
#include "engine/printers/PrinterAccess.h"

namespace winerr = ports::winerr;

void showPrintingPreferences(const app::AppContext& ctx, ports::WindowId owner,
                             std::wstring_view printerName) {
    PrinterHandle printer;
    if (!openPrinter(ctx, printer, printerName))
        return;
    ports::PrinterInfo2 info;
    ports::DevMode devMode;
    if (!getPrinterInfo2(ctx, printer, info) || !getPrinterDevMode(ctx, printer, devMode))
        return;
    auto& spooler = ctx.platform.spooler();
    std::int32_t answer = 0;
    if (spooler.editDevMode(owner, printer, info.printerName, kPreferencesDialogMode, devMode, answer) !=
            winerr::Success ||
        answer != ports::spool::IdOk)
        return;
    info.devMode = std::move(devMode);
    if (const auto status = spooler.setPrinter2(printer, info); status != winerr::Success)
        logSetPrinterFailure(ctx, 2, status);
    if (const auto status = spooler.setPrinter7(printer, ports::spool::DsPrintUpdate);
        status != winerr::Success)
        logSetPrinterFailure(ctx, 7, status);
}

void showPrinterProperties(const app::AppContext& ctx, ports::WindowId owner, std::wstring_view printerName) {
    PrinterHandle printer;
    if (!openPrinter(ctx, printer, printerName))
        return;
    printer.reset();
    const auto path = text::format(L"\\\\%s\\%s", ctx.platform.system().computerName(), printerName);
    (void)ctx.platform.spooler().invokePrinterCommand(owner, ports::spool::PrintActionProperties, path);
}

void printTestPage(const app::AppContext& ctx, BackgroundCommands& commands, std::wstring_view printerName) {
    PrinterHandle printer;
    if (!openPrinter(ctx, printer, printerName))
        return;
    printer.reset();
    (void)commands.start(ctx,
                         text::format(L"rundll32 printui.dll,PrintUIEntry /k /q /n \"%s\"", printerName));
}
