#pragma once
// Where an unattended run writes for whoever started it: results to `out`; the message log's lines
// and what went wrong with the command line to `err`.
#include <functional>
#include <string_view>

namespace cli {

struct Console {
    std::function<void(std::wstring_view line)> out;
    std::function<void(std::wstring_view line)> err;
};

} // namespace cli
