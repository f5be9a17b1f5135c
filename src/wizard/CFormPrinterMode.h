#pragma once
// The found-printer page (port types 0 and 3): one row per printer the USB search holds in
// `devices`, with its model, port and whether a queue for it exists. The USB search's tick shows
// and refreshes it (UsbPoll). Clicking a printer makes it the chosen one; only a printer without a
// queue can go on.
#include "app/AppContext.h"
#include "app/SetupSession.h"
#include "ui/core/Controls.h"
#include "ui/core/Grid.h"
#include "wizard/PageButtons.h"

namespace wizard {

class CMainFrame;

class CFormPrinterMode final : public ui::NotifyTarget {
public:
    CFormPrinterMode(CMainFrame& frame, app::AppContext& context, SetupSession& session)
        : frame_(frame), context_(context), session_(session) {}
    bool init(ui::Control& page);
    // Refreshes the list and selects the page.
    void enter();
    // Rebuilds the rows from `devices`. Every row of the chosen model is selected again in turn, so
    // the last such printer becomes the chosen one.
    void refresh();
    void notify(const ui::Notification& n) override;

private:
    void take(int row);

    CMainFrame& frame_;
    app::AppContext& context_;
    SetupSession& session_;
    ui::Grid* grid_ = nullptr;
    PageButtons buttons_;
};

} // namespace wizard
