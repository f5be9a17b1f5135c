#pragma once
// The manufacturer page: the manufacturers of the manufacturer document (the base "Native" is not
// one to offer), the one saved by the last run pre-selected. With a single manufacturer the page
// passes on at once. Next takes the checked one over as the session's manufacturer, whose name
// keys every later catalogue query, and remembers it for the next run.
#include "app/AppContext.h"
#include "app/SetupSession.h"
#include "ui/core/Controls.h"
#include "ui/core/Grid.h"
#include "wizard/PageButtons.h"

namespace wizard {

class CMainFrame;

class CFormPrinterManufacturer final : public ui::NotifyTarget {
public:
    CFormPrinterManufacturer(CMainFrame& frame, app::AppContext& context, SetupSession& session)
        : frame_(frame), context_(context), session_(session) {}
    bool init(ui::Control& page);
    // Selects the page and lists the manufacturers; a single one is checked and Next follows.
    void enter();
    void next();
    void notify(const ui::Notification& n) override;

private:
    CMainFrame& frame_;
    app::AppContext& context_;
    SetupSession& session_;
    ui::Grid* grid_ = nullptr;
    PageButtons buttons_;
};

} // namespace wizard
