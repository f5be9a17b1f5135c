#include "wizard/CFormPrinterDriver.h"

#include "catalogue/DriverCatalogue.h"
#include "wizard/CMainFrame.h"

namespace wizard {

CFormPrinterDriver::CFormPrinterDriver(CMainFrame& frame, app::AppContext& context, SetupSession& session)
    : ModelListPage(frame, context, session,
                    {.page = L"form_printer_driver",
                     .edit = L"text_form_printer_driver_find_key",
                     .grid = L"grid_form_printer_driver"}) {}

bool CFormPrinterDriver::listed(DriverRef model) const {
    return session_.portType != port_type::Bluetooth || catalogue::IsBluetoothDriver(model);
}

void CFormPrinterDriver::take(int row) {
    session_.chosen.modelName = grid_->cellText(row, kModelColumn);
    session_.chosen.driverNode = findChosenModel();
}

void CFormPrinterDriver::back() {
    // The Bluetooth page starts a new search when it has a class of its own.
    frame_.selectPage(L"form_printer_bluetooth");
}

void CFormPrinterDriver::next() {
    frame_.enterPrinterName();
}

} // namespace wizard
