#pragma once
// The busy window of an operation ("DlgLoading.xml"): modal over the end page, its animation
// running, started operation and all. It closes only when the operation asks it to, from its own
// thread; the close button, Esc and Alt+F4 do nothing meanwhile.
#include "engine/operation/RunOperations.h"
#include "ui/core/Controls.h"
#include "ui/core/Window.h"

namespace wizard {

class CDlgLoading final : public engine::ProgressWindow {
public:
    // The records the dialog posts to itself.
    static constexpr unsigned kStartMessage = 0x0400 + 201; // WM_USER + 201: the modal loop is up
    static constexpr unsigned kCloseMessage = 0x0010;       // WM_CLOSE from the operation thread

    // `dialog` is the built "DlgLoading.xml"; both windows must outlive the object.
    CDlgLoading(ui::Window& owner, ui::Window& dialog) : owner_(owner), dialog_(dialog) {}

    // Shows the dialog modally; `start` runs on the UI thread once the dialog's loop runs, and the
    // close it is handed may be called from any thread, once.
    void runModal(const std::function<void(Close)>& start) override;

private:
    struct StartRecord {};
    struct CloseRecord {};

    ui::Window& owner_;
    ui::Window& dialog_;
    bool closing_ = false;
};

} // namespace wizard
