#include "wizard/CFormPrinterMode2.h"

#include "base/Format.h"
#include "catalogue/DriverCatalogue.h"
#include "wizard/CMainFrame.h"

namespace wizard {

CFormPrinterMode2::CFormPrinterMode2(CMainFrame& frame, app::AppContext& context, SetupSession& session)
    : ModelListPage(frame, context, session,
                    {.page = L"form_printer_mode2",
                     .edit = L"text_printer_mode2_find_key",
                     .grid = L"grid_printer_mode2"}) {}

void CFormPrinterMode2::take(int row) {
    session_.chosen.modelName = grid_->cellText(row, kModelColumn);
    session_.chosen.driverNode = findChosenModel();
    writeSetupPrinter();
}

void CFormPrinterMode2::back() {
    frame_.enterPrinterPort();
}

void CFormPrinterMode2::next() {
    auto& chosen = session_.chosen;
    if (catalogue::SupportsUdp(chosen.driverNode)) {
        // The network search page starts its search when it has a class of its own.
        frame_.selectPage(L"form_printer_udp");
        return;
    }
    chosen.ipAddress = kDefaultPrinterIpAddress;
    chosen.portName = text::format(L"%s_%s", chosen.modelName, chosen.ipAddress);
    frame_.selectPage(L"form_printer_tcpmon");
}

} // namespace wizard
