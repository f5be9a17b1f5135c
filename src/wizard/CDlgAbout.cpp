#include "wizard/CDlgAbout.h"

#include "app/language/Languages.h"
#include "catalogue/CatalogueHeader.h"

namespace wizard {
namespace {
void show(ui::Window& dialog, std::wstring_view name, const std::wstring& text) {
    if (auto* label = dialog.find(name)) {
        label->setText(text);
        label->setVisible(!text.empty());
    }
}
} // namespace

void CDlgAbout::fill(ui::Window& dialog) {
    ManufacturerRecord header;
    catalogue::ReadCatalogueHeader(catalogue_, header);
    bool source = language_.currentLanguageName() == kSourceLanguage;
    show(dialog, L"label_product",
         source || header.ProductEnName.empty() ? header.ProductName : header.ProductEnName);
    show(dialog, L"label_company",
         source || header.CompanyEnName.empty() ? header.CompanyName : header.CompanyEnName);
    show(dialog, L"label_website", header.WebSite);
    show(dialog, L"label_tel", header.Tel);
    show(dialog, L"label_email", header.Email);
    show(dialog, L"label_version", catalogue::CatalogueVersion(catalogue_));
    show(dialog, L"label_create_time", catalogue::CatalogueTime(catalogue_));
}

int CDlgAbout::run(ui::Window& owner, ui::Window& dialog) {
    dialog_ = &dialog;
    fill(dialog);
    dialog.setOwner(this);
    int code = owner.showModal(dialog);
    dialog_ = nullptr;
    return code;
}

void CDlgAbout::notify(const ui::Notification& n) {
    if (n.kind != ui::NotifyKind::Click || !dialog_)
        return;
    if (n.control.name() == L"btn_ok")
        dialog_->endModal(ui::mb::IdOk);
    else if (n.control.name() == L"windowclosebtn")
        dialog_->endModal(ui::mb::IdCancel);
}

} // namespace wizard
