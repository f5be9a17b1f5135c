#pragma once
// The one process-wide debug flag: 0 at start, 1 from the "-debug" switch, toggled at run time.
// Every part that writes extra diagnostics tests it at the moment of writing, from any thread.
#include <atomic>
#include <span>
#include <string>

extern std::atomic<int> DebugMode;

namespace app {

// True when any argument contains "-debug" anywhere (case-sensitive): "x-debugger" counts, "-DEBUG"
// does not.
bool hasDebugSwitch(std::span<const std::wstring> args);

} // namespace app
