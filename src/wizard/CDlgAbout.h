#pragma once
// The about dialog: the product, company and contacts from the catalogue's root, its version and
// build time, read afresh at every opening. Product and company are shown in English unless the
// current language is the source language (or the English text is empty).
#include "app/language/Language.h"
#include "catalogue/XmlDocument.h"
#include "ui/core/Window.h"

namespace wizard {

class CDlgAbout final : public ui::NotifyTarget {
public:
    // Both must outlive the dialog object.
    CDlgAbout(const catalogue::XmlDocument& catalogue, CLanguage& language)
        : catalogue_(catalogue), language_(language) {}

    // Fills `dialog` (built from "DlgAbout.xml") and shows it modally over `owner`.
    int run(ui::Window& owner, ui::Window& dialog);
    void fill(ui::Window& dialog);

    void notify(const ui::Notification& n) override;

private:
    const catalogue::XmlDocument& catalogue_;
    CLanguage& language_;
    ui::Window* dialog_ = nullptr;
};

} // namespace wizard
