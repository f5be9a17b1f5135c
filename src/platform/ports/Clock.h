#pragma once
// Time as the engine waits on it (the spooler polls, pairing retries, the USB query's pause) and the
// local date and time of the log file's stamps and its one-file-per-day rule, so that tests can run
// waits on a virtual clock and choose the date.
#include "platform/ports/SystemTime.h"

#include <cstdint>

namespace ports {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start, never going back (GetTickCount64).
    [[nodiscard]] virtual std::uint64_t nowMs() noexcept = 0;
    virtual void sleepMs(std::uint32_t ms) noexcept = 0;
    // GetLocalTime.
    [[nodiscard]] virtual SystemTime localTime() noexcept = 0;
};

} // namespace ports
