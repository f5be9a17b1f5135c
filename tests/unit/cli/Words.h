#pragma once
// A command line written as one text, split at blanks into the program's arguments (the tests'
// arguments hold no blanks).
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace cli_test {

inline std::vector<std::wstring> words(std::wstring_view line) {
    std::vector<std::wstring> args;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const auto end = std::min(line.find(L' ', pos), line.size());
        if (end > pos)
            args.emplace_back(line.substr(pos, end - pos));
        pos = end + 1;
    }
    return args;
}

} // namespace cli_test
