#pragma once
// The first page: the choice of operation (install, upgrade, delete), written to the session and
// the profile the moment it is made, and the timed automatic Next in install mode.
#include "app/AppContext.h"
#include "app/SetupSession.h"
#include "ui/core/Controls.h"

#include <functional>

namespace wizard {

class CMainFrame;

class CFormMain final : public ui::NotifyTarget {
public:
    CFormMain(CMainFrame& frame, app::AppContext& context, SetupSession& session,
              std::function<bool()> modelDriverInstalled);

    // Finds the page's controls (false when one is missing) and makes the first choice: install, or
    // delete when a driver of the manufacturer's models is installed.
    bool init(ui::Control& page);
    // Selects the page and the option of `setupMode` (without notification); in install mode the
    // automatic Next starts.
    void enter();
    // Next, by the button or the automatic advance: the operation's first page is entered by the
    // frame's navigation; `onNext` then learns which operation went on.
    void next();
    std::function<void(int setupMode)> onNext;

    void notify(const ui::Notification& n) override;

private:
    CMainFrame& frame_;
    app::AppContext& context_;
    SetupSession& session_;
    std::function<bool()> modelDriverInstalled_;
    ui::Control* page_ = nullptr;
    ui::Option* install_ = nullptr;
    ui::Option* update_ = nullptr;
    ui::Option* uninstall_ = nullptr;
    ui::Progress* progress_ = nullptr;
    ui::Control* nextButton_ = nullptr;
    ui::Control* cancelButton_ = nullptr;
};

} // namespace wizard
