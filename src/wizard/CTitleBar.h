#pragma once
// The main window's title bar buttons: device list, language, about, minimise and close.
#include "ui/core/Window.h"
#include "wizard/FrameServices.h"

namespace wizard {

class CTitleBar final : public ui::NotifyTarget {
public:
    CTitleBar(ui::Window& window, const FrameServices& services) : window_(window), services_(services) {}
    // Takes the notifications of the control "titlebar"; false when the layout has none.
    bool init();
    void notify(const ui::Notification& n) override;

    void showAbout();
    void showLanguages();

private:
    // The dialog's window when the services allow it, else null.
    std::unique_ptr<ui::Window> loadDialog(std::wstring_view file) const;

    ui::Window& window_;
    const FrameServices& services_;
};

} // namespace wizard
