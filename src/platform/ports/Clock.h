#pragma once
// The machine's local date and time (GetLocalTime on Windows). A port of its own so that the log
// file's stamps and its one-file-per-day rule can be driven by a test's clock.
#include "platform/ports/SystemTime.h"

namespace ports {

class Clock {
public:
    virtual ~Clock() = default;
    virtual SystemTime localTime() = 0;
};

} // namespace ports
