#include "cli/Output.h"

#include "base/Utf.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace cli {

namespace {

nlohmann::ordered_json rowsJson(const Table& table, const std::vector<std::wstring>& booleanColumns) {
    auto array = nlohmann::ordered_json::array();
    for (const auto& row : table.rows) {
        nlohmann::ordered_json object = nlohmann::ordered_json::object();
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            const std::wstring& value = i < row.size() ? row[i] : std::wstring();
            const std::string key = text::toUtf8(table.columns[i]);
            const bool boolean = std::find(booleanColumns.begin(), booleanColumns.end(), table.columns[i]) !=
                                 booleanColumns.end();
            if (boolean && (value == L"true" || value == L"false"))
                object[key] = value == L"true";
            else
                object[key] = text::toUtf8(value);
        }
        array.push_back(std::move(object));
    }
    return array;
}

// A text the replacement dump cannot fail on: invalid UTF-16 becomes U+FFFD.
std::string dump(const nlohmann::ordered_json& json) {
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

} // namespace

std::wstring tableText(const Table& table) {
    if (table.rows.empty())
        return L"(none)";
    std::vector<std::size_t> width(table.columns.size(), 0);
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        width[i] = table.columns[i].size();
        for (const auto& row : table.rows)
            if (i < row.size())
                width[i] = std::max(width[i], row[i].size());
    }
    std::wstring out;
    const auto line = [&](const std::vector<std::wstring>& cells) {
        std::wstring text;
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            const std::wstring cell = i < cells.size() ? cells[i] : std::wstring();
            text += cell;
            if (i + 1 < table.columns.size())
                text += std::wstring(width[i] - cell.size() + 2, L' ');
        }
        while (!text.empty() && text.back() == L' ')
            text.pop_back();
        if (!out.empty())
            out += L'\n';
        out += text;
    };
    line(table.columns);
    for (const auto& row : table.rows)
        line(row);
    return out;
}

std::string tableJson(const Table& table, const std::vector<std::wstring>& booleanColumns) {
    return dump(rowsJson(table, booleanColumns));
}

std::string tablesJson(const std::vector<std::pair<std::wstring, Table>>& tables,
                       const std::vector<std::wstring>& booleanColumns) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (const auto& [name, table] : tables)
        object[text::toUtf8(name)] = rowsJson(table, booleanColumns);
    return dump(object);
}

} // namespace cli
