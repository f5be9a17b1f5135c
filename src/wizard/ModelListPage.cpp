#include "wizard/ModelListPage.h"

#include "app/PersistedChoices.h"
#include "catalogue/DriverCatalogue.h"
#include "wizard/CMainFrame.h"
#include "wizard/GridChoice.h"

namespace wizard {
namespace {
// The custom model list puts the connected models first; the other grids have no such column.
constexpr int kSortColumn = 3;
} // namespace

bool ModelListPage::init(ui::Control& page) {
    edit_ = page.findAs<ui::Edit>(names_.edit);
    grid_ = page.findAs<ui::Grid>(names_.grid);
    if (!edit_ || !grid_ || !buttons_.find(page, names_.page))
        return false;
    page.setOwner(this);
    return true;
}

void ModelListPage::fill() {
    grid_->clear();
    const auto models = FilteredModels(frame_.services().catalogue, session_.manufacturer.Name, filter_,
                                       [this](DriverRef ref) { return listed(ref); });
    for (DriverRef model : models) {
        const std::wstring& name = catalogue::DriverName(model);
        const int row = grid_->appendRow();
        grid_->setCellText(row, kModelColumn, name);
        fillRow(row, model);
        if (name == session_.chosen.modelName)
            grid_->selectRow(row, true);
    }
    (void)grid_->sortByColumn(kSortColumn, false);
}

void ModelListPage::notify(const ui::Notification& n) {
    if (&n.control == grid_) {
        if (IsRowChoice(n)) {
            CheckOnlyRow(*grid_, n.row);
            take(n.row);
        }
        return;
    }
    if (&n.control == edit_) {
        if (n.kind == ui::NotifyKind::TextChanged) {
            filter_ = edit_->text();
            fill();
        }
        return;
    }
    (void)buttons_.handle(
        n, [this] { back(); }, [this] { next(); }, [this] { frame_.close(); });
}

DriverRef ModelListPage::findChosenModel() const {
    const auto* doc = frame_.services().catalogue;
    return doc ? catalogue::FindDriver(session_.manufacturer.Name, session_.chosen.modelName, *doc)
               : DriverRef{};
}

void ModelListPage::writeSetupPrinter() const {
    (void)context_.platform.profile().writeString(app::kProfileSection, app::kValueSetupPrinter,
                                                  session_.chosen.modelName);
}

} // namespace wizard
