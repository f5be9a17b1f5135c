#include "wizard/CTitleBar.h"

#include "wizard/CDlgAbout.h"
#include "wizard/CDlgSoftLanguage.h"

namespace wizard {

bool CTitleBar::init() {
    auto* bar = window_.find(L"titlebar");
    if (!bar)
        return false;
    bar->setOwner(this);
    return true;
}

void CTitleBar::notify(const ui::Notification& n) {
    if (n.kind != ui::NotifyKind::Click)
        return;
    const std::wstring& name = n.control.name();
    if (name == L"windowclosebtn")
        window_.requestClose();
    else if (name == L"windowminbtn") {
        if (services_.minimize)
            services_.minimize();
    } else if (name == L"windowaboutbtn")
        showAbout();
    else if (name == L"windowlangbtn")
        showLanguages();
    else if (name == L"windowdeviceinfobtn") {
        if (services_.showDeviceInfo)
            services_.showDeviceInfo();
        else
            window_.messageBox(L"The printer device list is not available in this version.", L"Orvello",
                               ui::mb::Ok | ui::mb::IconInformation);
    }
}

std::unique_ptr<ui::Window> CTitleBar::loadDialog(std::wstring_view file) const {
    return services_.loadDialog && services_.language ? services_.loadDialog(file) : nullptr;
}

void CTitleBar::showAbout() {
    auto dialog = services_.catalogue ? loadDialog(L"DlgAbout.xml") : nullptr;
    if (dialog)
        CDlgAbout(*services_.catalogue, *services_.language).run(window_, *dialog);
}

void CTitleBar::showLanguages() {
    auto dialog = services_.translations ? loadDialog(L"DlgSoftLanguage.xml") : nullptr;
    if (dialog)
        CDlgSoftLanguage(*services_.language, *services_.translations, window_).run(*dialog);
}

} // namespace wizard
