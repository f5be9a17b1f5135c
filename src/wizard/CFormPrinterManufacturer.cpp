#include "wizard/CFormPrinterManufacturer.h"

#include "app/PersistedChoices.h"
#include "catalogue/DriverCatalogue.h"
#include "catalogue/ManufacturerRecords.h"
#include "wizard/CMainFrame.h"
#include "wizard/GridChoice.h"

namespace wizard {
namespace {
constexpr int kNameColumn = 1;
} // namespace

bool CFormPrinterManufacturer::init(ui::Control& page) {
    grid_ = page.findAs<ui::Grid>(L"grid_printer_manufacturer");
    if (!grid_ || !buttons_.find(page, L"form_printer_manufacturer"))
        return false;
    page.setOwner(this);
    return true;
}

void CFormPrinterManufacturer::enter() {
    frame_.selectPage(L"form_printer_manufacturer");
    grid_->clear();
    if (const auto* doc = frame_.services().manufacturers)
        catalogue::ForEachManufacturerRecord(*doc, [this](catalogue::RecordElement element) {
            const std::wstring name = catalogue::ReadManufacturerRecord(element).Name;
            if (name == catalogue::kModeNative)
                return;
            const int row = grid_->appendRow();
            grid_->setCellText(row, kNameColumn, name);
            if (name == session_.savedManufacturer)
                grid_->selectRow(row, true);
        });
    if (grid_->rowCount() == 1) {
        grid_->selectRow(0);
        CheckOnlyRow(*grid_, 0);
        next();
    }
}

void CFormPrinterManufacturer::next() {
    for (int row = 0; row < grid_->rowCount(); ++row) {
        if (!grid_->isChecked(row))
            continue;
        const std::wstring name = grid_->cellText(row, kNameColumn);
        (void)context_.platform.profile().writeString(app::kProfileSection, app::kValueManufacturer, name);
        session_.manufacturer.Name = name;
        if (const auto* doc = frame_.services().manufacturers)
            if (auto record = catalogue::FindManufacturerRecord(*doc, name))
                session_.manufacturer = catalogue::ReadManufacturerRecord(record);
        break;
    }
    frame_.manufacturerNext(session_.setupMode);
}

void CFormPrinterManufacturer::notify(const ui::Notification& n) {
    if (&n.control == grid_) {
        if (IsRowChoice(n))
            CheckOnlyRow(*grid_, n.row);
        return;
    }
    (void)buttons_.handle(
        n, [this] { frame_.formMain().enter(); }, [this] { next(); }, [this] { frame_.close(); });
}

} // namespace wizard
