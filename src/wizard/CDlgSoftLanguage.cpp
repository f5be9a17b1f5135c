#include "wizard/CDlgSoftLanguage.h"

#include "app/language/Languages.h"
#include "ui/core/Controls.h"

namespace wizard {

int CDlgSoftLanguage::run(ui::Window& dialog) {
    dialog_ = &dialog;
    if (auto* current =
            dialog.findAs<ui::Option>(std::wstring(kLanguageOptionPrefix) + language_.currentLanguageName()))
        current->setSelected(true, false);
    dialog.setOwner(this);
    int code = mainWindow_.showModal(dialog);
    dialog_ = nullptr;
    return code;
}

void CDlgSoftLanguage::notify(const ui::Notification& n) {
    if (!dialog_)
        return;
    if (n.control.name().starts_with(kLanguageOptionPrefix)) {
        // Only the option that becomes selected counts; the others of its group follow silently.
        auto* option = dynamic_cast<ui::Option*>(&n.control);
        if (!option || option->selected())
            switchTo(n.control.userData());
        return;
    }
    if (n.kind == ui::NotifyKind::Click && n.control.name() == L"windowclosebtn")
        dialog_->endModal(ui::mb::IdCancel);
}

void CDlgSoftLanguage::switchTo(const std::wstring& name) {
    if (!findLanguage(name))
        return;
    (void)language_.setLanguage(languageFolder(name), name); // a missing table shows the Chinese
    translations_.reapply(mainWindow_);
    translations_.reapply(*dialog_);
}

} // namespace wizard
