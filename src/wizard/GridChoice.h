#pragma once
// What the wizard's list pages share: one checked row at a time, the find-key filter on model
// names, and the colours of the status cells.
#include "app/AppContext.h"
#include "catalogue/DriverRef.h"
#include "catalogue/XmlDocument.h"
#include "ui/core/Grid.h"

#include <functional>
#include <string_view>
#include <vector>

namespace wizard {

// Status cells (COLORREF): present or installed in blue, not installed in red.
inline constexpr ui::Colour kStatusBlue = 0xFF0000;
inline constexpr ui::Colour kStatusRed = 0x0000FF;

// The driver state of a printer in `column`: "已安装" in blue when a queue for it exists, else
// "未安装" in red, in the current language.
void SetDriverStateCell(ui::Grid& grid, int row, int column, bool installed, const app::AppContext& context);

// A click on a data row, or a row selected with notification: both mean the user's choice.
bool IsRowChoice(const ui::Notification& n);

// A click on a row leaves exactly that row checked, also when it was checked before (a click in the
// check box column has toggled it already).
void CheckOnlyRow(ui::Grid& grid, int row);

// The models of manufacturer mode `mode` in catalogue order whose names contain `filter` without
// regard to letter case (an empty filter passes all) and that `keep` accepts (none: all).
std::vector<DriverRef> FilteredModels(const catalogue::XmlDocument* catalogueDoc, std::wstring_view mode,
                                      std::wstring_view filter,
                                      const std::function<bool(DriverRef)>& keep = {});

} // namespace wizard
