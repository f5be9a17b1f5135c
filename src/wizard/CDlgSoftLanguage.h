#pragma once
// The language dialog: one option per language; choosing one makes it the current language at once
// and gives the main window and the dialog their texts in it. The choice lasts for this run only.
#include "app/language/Language.h"
#include "ui/core/Window.h"
#include "wizard/SkinLayouts.h"

namespace wizard {

class CDlgSoftLanguage final : public ui::NotifyTarget {
public:
    // All must outlive the dialog object.
    CDlgSoftLanguage(CLanguage& language, LanguageTranslations& translations, ui::Window& mainWindow)
        : language_(language), translations_(translations), mainWindow_(mainWindow) {}

    // Shows `dialog` (built from "DlgSoftLanguage.xml") modally over the main window, the current
    // language's option selected.
    int run(ui::Window& dialog);

    void notify(const ui::Notification& n) override;

private:
    void switchTo(const std::wstring& name);

    CLanguage& language_;
    LanguageTranslations& translations_;
    ui::Window& mainWindow_;
    ui::Window* dialog_ = nullptr;
};

} // namespace wizard
