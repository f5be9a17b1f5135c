#include "engine/printers/ProposedPrinterName.h"

#include "base/Compare.h"
#include "base/Format.h"
#include "catalogue/DriverCatalogue.h"

#include <algorithm>
#include <vector>

namespace engine {

std::wstring ProposePrinterName(const app::AppContext& ctx, const SetupSession& session) {
    std::wstring base = catalogue::DriverCustomName(session.chosen.driverNode);
    if (base.empty()) {
        base = session.chosen.modelName;
        if (session.portType == port_type::Bluetooth)
            base += L"_" + ctx.tr(L"蓝牙");
    }
    std::vector<ports::PrinterInfo4> printers;
    if (ctx.platform.spooler().enumPrinters4(ports::spool::EnumLocal | ports::spool::EnumConnections,
                                             printers) != ports::winerr::Success)
        return {};
    const auto taken = [&](const std::wstring& name) {
        return std::any_of(printers.begin(), printers.end(), [&](const ports::PrinterInfo4& p) {
            return text::equalsNoCase(p.printerName, name);
        });
    };
    std::wstring candidate = base;
    for (int n = 1; taken(candidate); ++n)
        candidate = text::format(L"%s(%d)", base, n);
    return candidate;
}

} // namespace engine
