#pragma once
// The driver page after the Bluetooth search (port type 2): the manufacturer's models that drive a
// Bluetooth printer; the clicked one becomes the chosen model. Nothing is remembered for the next
// run from here.
#include "wizard/ModelListPage.h"

namespace wizard {

class CFormPrinterDriver final : public ModelListPage {
public:
    CFormPrinterDriver(CMainFrame& frame, app::AppContext& context, SetupSession& session);

private:
    bool listed(DriverRef model) const override;
    void take(int row) override;
    void back() override;
    void next() override;
};

} // namespace wizard
