#pragma once
// The lists of /search and /list: a table of aligned columns under a header, or JSON (an array of
// objects whose keys are the column names), one record per row.
#include "cli/Console.h"

#include <string>
#include <vector>

namespace cli {

struct Table {
    std::vector<std::wstring> columns; // header texts; in JSON the keys
    std::vector<std::vector<std::wstring>> rows;
};

// Columns separated by two blanks, each as wide as its widest text; "(none)" for no rows.
std::wstring tableText(const Table& table);
// [{"column": "text", ...}, ...]; a text that is "true" or "false" in a column listed in
// `booleanColumns` becomes a JSON boolean.
std::string tableJson(const Table& table, const std::vector<std::wstring>& booleanColumns = {});

// Several named tables as one JSON object: {"name": [...], ...}.
std::string tablesJson(const std::vector<std::pair<std::wstring, Table>>& tables,
                       const std::vector<std::wstring>& booleanColumns = {});

} // namespace cli
