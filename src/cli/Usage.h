#pragma once
// The text /? prints, and the one that follows a command-line error.
#include <string>

namespace cli {

std::wstring usageText();

} // namespace cli
