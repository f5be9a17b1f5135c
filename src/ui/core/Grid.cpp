#include "ui/core/Grid.h"

#include "base/Compare.h"
#include "ui/core/Attributes.h"
#include "ui/core/Backend.h"

#include <algorithm>

namespace ui {

Grid::Grid() : Control(L"Grid") {
    sizeRules().stretch = 1;
}

void Grid::addColumn(std::wstring text, int width) {
    columns_.push_back({std::move(text), width});
}

void Grid::clear() {
    rows_.clear();
    requested_.clear();
    source_ = nullptr;
    rowCount_ = 0;
    clicked_ = selected_ = -1;
    changed(Change::Content);
}

Grid::Row Grid::emptyRow() const {
    Row r;
    r.cells.resize(std::max<std::size_t>(columns_.size(), 1));
    return r;
}

int Grid::appendRow() {
    if (source_)
        return -1;
    rows_.push_back(emptyRow());
    ++rowCount_;
    changed(Change::Content);
    return rowCount_ - 1;
}

void Grid::setRowCount(int count) {
    count = std::max(count, 0);
    if (source_)
        requested_.clear();
    else
        rows_.resize(static_cast<std::size_t>(count), emptyRow());
    rowCount_ = count;
    if (clicked_ >= count)
        clicked_ = -1;
    if (selected_ >= count)
        selected_ = -1;
    changed(Change::Content);
}

void Grid::setRowSource(RowSource source, int count) {
    rows_.clear();
    source_ = std::move(source);
    setRowCount(count);
}

Grid::Row* Grid::rowAt(int row) {
    if (row < 0 || row >= rowCount_)
        return nullptr;
    if (!source_)
        return &rows_[static_cast<std::size_t>(row)];
    auto it = requested_.find(row);
    if (it == requested_.end()) {
        it = requested_.emplace(row, emptyRow()).first;
        ++fetched_;
        source_(row, it->second);
    }
    return &it->second;
}

Grid::Cell* Grid::cellAt(int row, int column) {
    auto* r = rowAt(row);
    if (!r || column < 0)
        return nullptr;
    if (static_cast<std::size_t>(column) >= r->cells.size()) {
        if (static_cast<std::size_t>(column) >= std::max<std::size_t>(columns_.size(), 1))
            return nullptr;
        r->cells.resize(static_cast<std::size_t>(column) + 1);
    }
    return &r->cells[static_cast<std::size_t>(column)];
}

std::wstring Grid::cellText(int row, int column) {
    auto* c = cellAt(row, column);
    return c ? c->text : std::wstring();
}

void Grid::setCellText(int row, int column, std::wstring text) {
    if (auto* c = cellAt(row, column)) {
        c->text = std::move(text);
        changed(Change::Content);
    }
}

std::optional<Colour> Grid::cellColour(int row, int column) {
    auto* c = cellAt(row, column);
    return c ? c->colour : std::nullopt;
}

void Grid::setCellColour(int row, int column, Colour colour) {
    if (auto* c = cellAt(row, column)) {
        c->colour = colour;
        changed(Change::Content);
    }
}

bool Grid::isChecked(int row) {
    auto* r = rowAt(row);
    return r && r->checked;
}

void Grid::setChecked(int row, bool checked) {
    if (auto* r = rowAt(row)) {
        r->checked = checked;
        changed(Change::Content);
    }
}

void Grid::selectRow(int row, bool notify) {
    if (row < -1 || row >= rowCount_ || row == selected_)
        return;
    selected_ = row;
    changed(Change::State);
    if (notify)
        this->notify(NotifyKind::SelectionChanged, row);
}

void Grid::clickCell(int row, int column) {
    if (row < 0 || row >= rowCount_)
        return;
    clicked_ = row;
    selected_ = row;
    if (checkBoxes_ && column == 0)
        setChecked(row, !isChecked(row));
    changed(Change::State);
    notify(NotifyKind::Click, row, column);
}

bool Grid::sortByColumn(int column, bool ascending) {
    if (source_ || column < 0 || column >= static_cast<int>(std::max<std::size_t>(columns_.size(), 1)))
        return false;
    auto key = [column](const Row& r) {
        return static_cast<std::size_t>(column) < r.cells.size() ? std::wstring_view(r.cells[column].text)
                                                                 : std::wstring_view();
    };
    std::stable_sort(rows_.begin(), rows_.end(), [&](const Row& a, const Row& b) {
        int c = text::compareNoCase(key(a), key(b));
        return ascending ? c < 0 : c > 0;
    });
    clicked_ = selected_ = -1;
    changed(Change::Content);
    return true;
}

AttrResult Grid::setAttribute(std::string_view name, std::wstring_view value) {
    if (name == "checkbox")
        return assignBool(checkBoxes_, value);
    return Control::setAttribute(name, value);
}

AttrResult Grid::addItem(std::string_view element, const std::map<std::string, std::wstring>& attrs) {
    if (element != "column")
        return AttrResult::Unknown;
    Column col;
    for (auto& [k, v] : attrs) {
        if (k == "text")
            col.text = v;
        else if (k == "width") {
            if (assignInt(col.width, v) != AttrResult::Ok)
                return AttrResult::BadValue;
        } else
            return AttrResult::Unknown;
    }
    columns_.push_back(std::move(col));
    return AttrResult::Ok;
}

} // namespace ui
