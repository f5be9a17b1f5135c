#pragma once
// A grid of rows and columns (the native list view in report mode), with an optional check box in
// column 0. Rows are either kept by the grid, or, for large lists, filled on demand by the page: the
// grid then only knows the row count and asks the page's row source for each row it shows.
#include "ui/core/Control.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class Grid : public Control {
public:
    struct Column {
        std::wstring text;
        int width = 0;
        friend bool operator==(const Column&, const Column&) = default;
    };
    struct Cell {
        std::wstring text;
        std::optional<Colour> colour; // none: the grid's text colour
    };
    struct Row {
        std::vector<Cell> cells;
        bool checked = false;
    };
    // Fills `row` (already sized to the columns) for the row at `index`.
    using RowSource = std::function<void(int index, Row& row)>;

    Grid();

    void addColumn(std::wstring text, int width);
    const std::vector<Column>& columns() const { return columns_; }
    bool hasCheckBoxes() const { return checkBoxes_; }

    // Removes every row and the row source; nothing clicked or selected.
    void clear();
    int rowCount() const { return rowCount_; }
    // Appends an empty row; returns its index.
    int appendRow();
    // Kept rows: adds or drops rows at the end. On demand: the new count, and rows are asked again.
    void setRowCount(int count);
    // Switches to rows on demand with `count` rows.
    void setRowSource(RowSource source, int count);
    bool onDemand() const { return static_cast<bool>(source_); }
    // How often the row source was asked (each row is asked once until the count is set again).
    int rowsFetched() const { return fetched_; }

    // Cell access; reading out of range gives an empty text, writing out of range does nothing.
    std::wstring cellText(int row, int column);
    void setCellText(int row, int column, std::wstring text);
    std::optional<Colour> cellColour(int row, int column);
    void setCellColour(int row, int column, Colour colour);
    bool isChecked(int row);
    void setChecked(int row, bool checked);

    int clickedRow() const { return clicked_; }
    int selectedRow() const { return selected_; }
    // Selects a row (-1: none); with `notify` the owner gets a selection change.
    void selectRow(int row, bool notify = false);
    // What a click of the user on a cell does: the row becomes clicked and selected, a click in
    // column 0 toggles the row's check box, and the owner gets a click with row and column.
    void clickCell(int row, int column);

    // Sorts kept rows by the text of `column` (letter case ignored, stable); false on demand,
    // where the page sorts its own data.
    bool sortByColumn(int column, bool ascending);

    AttrResult setAttribute(std::string_view name, std::wstring_view value) override;
    AttrResult addItem(std::string_view element, const std::map<std::string, std::wstring>& attrs) override;

private:
    Row* rowAt(int row);
    Cell* cellAt(int row, int column);
    Row emptyRow() const;

    std::vector<Column> columns_;
    bool checkBoxes_ = false;
    int rowCount_ = 0;
    std::vector<Row> rows_;        // kept rows
    RowSource source_;             // rows on demand
    std::map<int, Row> requested_; // rows on demand already asked for
    int fetched_ = 0;
    int clicked_ = -1;
    int selected_ = -1;
};

} // namespace ui
