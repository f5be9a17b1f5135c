#pragma once
// The check a simulated machine's state passes when it is loaded, read again from its file, or
// changed: every section, entry and member of a known shape (docs/simulated-machine.md) that has
// another JSON type is dropped, with a line saying where and why, so that the ports never meet a
// value they cannot read (a dropped member reads as its default, a dropped entry as absent).
// Unknown members are kept.
#include "platform/sim/SimMachine.h"

#include <functional>
#include <string_view>

namespace sim {

// Drops what is misshapen from `state` (an object) and tells `log` about each drop; true when
// something was dropped.
bool checkState(Json& state, const std::function<void(std::string_view)>& log);

} // namespace sim
