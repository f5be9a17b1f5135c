#pragma once
// The "-debug" switch. The flag itself is AppContext::debugMode.
#include <span>
#include <string>

namespace app {

// True when any argument contains "-debug" anywhere (case-sensitive): "x-debugger" counts, "-DEBUG"
// does not.
bool hasDebugSwitch(std::span<const std::wstring> args);

} // namespace app
