#include "engine/printers/PrinterAccess.h"

#include "base/Format.h"

namespace winerr = ports::winerr;

bool openPrinter(const app::AppContext& ctx, PrinterHandle& holder, std::wstring_view name) {
    holder.reset();
    auto& spooler = ctx.platform.spooler();
    if (spooler.openPrinter(name, ports::spool::PrinterAllAccess, holder) == winerr::Success)
        return true;
    const auto status = spooler.openPrinter(name, ports::spool::PrinterAccessUse, holder);
    if (status == winerr::Success)
        return true;
    ctx.platform.system().debugOutput(text::format(L"OpenPrinter(%s) error = %d, %s", name,
                                                   static_cast<int>(status), ctx.errorText(status)));
    return false;
}

bool getPrinterInfo2(const app::AppContext& ctx, PrinterHandle& holder, ports::PrinterInfo2& out) {
    return holder && ctx.platform.spooler().getPrinter2(holder, out) == winerr::Success;
}

bool getPrinterDevMode(const app::AppContext& ctx, PrinterHandle& holder, ports::DevMode& out) {
    ports::PrinterInfo2 info;
    if (!getPrinterInfo2(ctx, holder, info))
        return false;
    const auto status = ctx.platform.spooler().getDefaultDevMode(holder, info.printerName, out);
    if (status == winerr::Success)
        return true;
    ctx.platform.system().debugOutput(text::format(L"DocumentPropertiesGet error = %d, %s",
                                                   static_cast<int>(status), ctx.errorText(status)));
    return false;
}

void logSetPrinterFailure(const app::AppContext& ctx, std::uint32_t level, ports::Status error) {
    ctx.platform.system().debugOutput(text::format(L"SetPrinter level = %d, error = %d, %s",
                                                   static_cast<int>(level), static_cast<int>(error),
                                                   ctx.errorText(error)));
}
