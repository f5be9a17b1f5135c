#include "engine/install/PrinterQueue.h"

#include "app/msglog/MessageLog.h"
#include "catalogue/DriverCatalogue.h"

namespace winerr = ports::winerr;

namespace engine {

ports::PrinterInfo2 NewQueueRecord(const InstallContext& ctx) {
    const auto& chosen = ctx.session.chosen;
    ports::PrinterInfo2 info;
    info.printerName = chosen.printerName;
    info.portName = chosen.portName;
    info.driverName = chosen.modelName;
    info.comment = catalogue::DriverComment(chosen.driverNode);
    info.location = std::wstring();
    info.printProcessor = L"WinPrint";
    info.datatype = L"RAW";
    info.attributes = ports::spool::AttributeLocal;
    return info;
}

bool AddPrinterQueue(const InstallContext& ctx) {
    auto& chosen = ctx.session.chosen;
    PrinterHandle added;
    const auto status = ctx.platform().spooler().addPrinter(NewQueueRecord(ctx), added);
    if (status != winerr::Success) {
        PrintMessageColor(msglog::kRed, ctx.app.tr(L"添加打印机: %s. 失败. 错误码: %d. 错误描述: %s."),
                          chosen.printerName, static_cast<int>(status), ctx.app.errorText(status));
        return false;
    }
    added.reset();
    chosen.modelName = chosen.printerName;
    PrintMessageColor(msglog::kBlue, ctx.app.tr(L"添加打印机成功: %s. "), chosen.printerName);
    return true;
}

bool SetPrinterDriverValue(const app::AppContext& ctx, PrinterHandle& printer, std::wstring_view valueName,
                           std::wstring_view text) {
    return ctx.platform.spooler().setPrinterData(printer, kPrinterDriverDataKey, valueName,
                                                 ports::RegValue::fromString(text)) == winerr::Success;
}

bool RenamePrinter(const app::AppContext& ctx, PrinterHandle& printer, std::wstring_view newName) {
    ports::PrinterInfo2 info;
    if (!getPrinterInfo2(ctx, printer, info))
        return false;
    info.printerName = std::wstring(newName);
    return ctx.platform.spooler().setPrinter2(printer, info) == winerr::Success;
}

void FinishInstalledPrinter(const InstallContext& ctx, bool setAsDefault) {
    const auto& chosen = ctx.session.chosen;
    PrinterHandle printer;
    if (!openPrinter(ctx.app, printer, chosen.modelName))
        return;
    if (chosen.modelName != chosen.printerName)
        (void)RenamePrinter(ctx.app, printer, chosen.printerName);
    if (setAsDefault) {
        if (ctx.platform().spooler().setDefaultPrinter(chosen.printerName) == winerr::Success)
            PrintMessageColor(msglog::kBlue, ctx.app.tr(L"已设置为默认打印机."));
        else
            PrintMessageColor(msglog::kRed, ctx.app.tr(L"设置默认打印机失败."));
    }
}

} // namespace engine
