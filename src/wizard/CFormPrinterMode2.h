#pragma once
// The network model page (port type 1): the manufacturer's models; the clicked one becomes the
// chosen model and is remembered for the next run. Next goes to the network search when the model
// answers it, otherwise to the address page with the default address.
#include "wizard/ModelListPage.h"

namespace wizard {

class CFormPrinterMode2 final : public ModelListPage {
public:
    CFormPrinterMode2(CMainFrame& frame, app::AppContext& context, SetupSession& session);

private:
    void take(int row) override;
    void back() override;
    void next() override;
};

} // namespace wizard
