#include "wizard/CFormMain.h"

#include "app/PersistedChoices.h"
#include "wizard/CMainFrame.h"

namespace wizard {

CFormMain::CFormMain(CMainFrame& frame, app::AppContext& context, SetupSession& session,
                     std::function<bool()> modelDriverInstalled)
    : frame_(frame), context_(context), session_(session),
      modelDriverInstalled_(std::move(modelDriverInstalled)) {}

bool CFormMain::init(ui::Control& page) {
    page_ = &page;
    install_ = page.findAs<ui::Option>(L"chk_install_driver");
    update_ = page.findAs<ui::Option>(L"chk_update_driver");
    uninstall_ = page.findAs<ui::Option>(L"chk_uninstall_driver");
    progress_ = page.findAs<ui::Progress>(L"process_form_main");
    nextButton_ = page.find(L"btn_form_main_next");
    cancelButton_ = page.find(L"btn_form_main_cancel");
    if (!install_ || !update_ || !uninstall_ || !progress_ || !nextButton_ || !cancelButton_)
        return false;
    page.setOwner(this);
    // Through the selection handler: the session and the profile follow at once.
    install_->setSelected(true);
    if (modelDriverInstalled_ && modelDriverInstalled_())
        uninstall_->setSelected(true);
    return true;
}

void CFormMain::enter() {
    frame_.selectPage(L"form_main");
    frame_.checkSpooler();
    ui::Option* option = session_.setupMode == setup_mode::Upgrade  ? update_
                         : session_.setupMode == setup_mode::Delete ? uninstall_
                                                                    : install_;
    option->setSelected(true, false);
    if (session_.setupMode == setup_mode::Install)
        frame_.startAutoAdvance(L"process_form_main");
}

void CFormMain::next() {
    int mode = session_.setupMode;
    frame_.mainNext(mode);
    if (onNext)
        onNext(mode);
}

void CFormMain::notify(const ui::Notification& n) {
    switch (n.kind) {
    case ui::NotifyKind::SelectionChanged: {
        int mode = &n.control == install_     ? setup_mode::Install
                   : &n.control == update_    ? setup_mode::Upgrade
                   : &n.control == uninstall_ ? setup_mode::Delete
                                              : -1;
        if (mode < 0 || !static_cast<ui::Option&>(n.control).selected())
            return;
        session_.setupMode = mode;
        (void)context_.platform.profile().writeInt(app::kProfileSection, app::kValueSetupMode, mode);
        break;
    }
    case ui::NotifyKind::Click:
        if (&n.control == nextButton_)
            next();
        else if (&n.control == cancelButton_)
            frame_.close();
        break;
    case ui::NotifyKind::Timer:
        if (frame_.autoAdvanceTick(n.control))
            next();
        break;
    case ui::NotifyKind::TextChanged:
        break;
    }
}

} // namespace wizard
