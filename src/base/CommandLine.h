#pragma once
// Windows command lines as CreateProcessW and the C runtime read them: the program CreateProcessW would start
// and the arguments the started program's C runtime would see.
#include <string>
#include <string_view>
#include <vector>

namespace text {

// With no application name CreateProcessW takes the text inside leading quotes, or the first
// blank-separated word.
std::wstring programOf(std::wstring_view commandLine);
// argv as the C runtime builds it, argv[0] included: the program name keeps going after its closing
// quote up to a blank (so "\"tool.exe\"/r remove" gives "tool.exe/r" and "remove"); the other
// arguments follow the backslash and quote rules.
std::vector<std::wstring> splitArguments(std::wstring_view commandLine);
// One argument quoted so that splitArguments gives it back unchanged.
std::wstring quoteArgument(std::wstring_view argument);

} // namespace text
