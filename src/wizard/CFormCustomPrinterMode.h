#pragma once
// The model page of the parallel, serial and custom ports (port types 4, 5, 6): the manufacturer's
// models, with the port and state of a printer of that model that the USB search has found (the
// search keeps running on the custom path and refills the list when the devices change). The
// connected models come first. A model whose printer already has a queue cannot go on.
#include "wizard/ModelListPage.h"

namespace wizard {

class CFormCustomPrinterMode final : public ModelListPage {
public:
    CFormCustomPrinterMode(CMainFrame& frame, app::AppContext& context, SetupSession& session);

private:
    void fillRow(int row, DriverRef model) override;
    void take(int row) override;
    void back() override;
    void next() override;
};

} // namespace wizard
