#include "wizard/GridChoice.h"

#include "base/Compare.h"
#include "catalogue/DriverCatalogue.h"

namespace wizard {

void SetDriverStateCell(ui::Grid& grid, int row, int column, bool installed, const app::AppContext& context) {
    grid.setCellText(row, column, context.tr(installed ? L"已安装" : L"未安装"));
    grid.setCellColour(row, column, installed ? kStatusBlue : kStatusRed);
}

bool IsRowChoice(const ui::Notification& n) {
    return (n.kind == ui::NotifyKind::Click || n.kind == ui::NotifyKind::SelectionChanged) && n.row >= 0;
}

void CheckOnlyRow(ui::Grid& grid, int row) {
    for (int r = 0; r < grid.rowCount(); ++r)
        if (r != row && grid.isChecked(r))
            grid.setChecked(r, false);
    grid.setChecked(row, true);
}

std::vector<DriverRef> FilteredModels(const catalogue::XmlDocument* catalogueDoc, std::wstring_view mode,
                                      std::wstring_view filter, const std::function<bool(DriverRef)>& keep) {
    std::vector<DriverRef> models;
    DriverRef ref;
    if (!catalogueDoc || !catalogue::FirstDriver(mode, *catalogueDoc, ref))
        return models;
    const std::wstring lowerFilter = text::toLower(filter);
    do {
        if (text::toLower(catalogue::DriverName(ref)).find(lowerFilter) != std::wstring::npos &&
            (!keep || keep(ref)))
            models.push_back(ref);
    } while (catalogue::NextDriver(mode, ref));
    return models;
}

} // namespace wizard
