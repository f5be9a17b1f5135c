#pragma once
// Time as the engine waits on it (the spooler polls, pairing retries, the USB query's pause), so
// that tests can run those waits on a virtual clock.
#include <cstdint>

namespace ports {

// SYSTEMTIME.
struct SystemTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t dayOfWeek = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start, never going back (GetTickCount64).
    virtual std::uint64_t nowMs() = 0;
    virtual void sleepMs(std::uint32_t ms) = 0;
    // GetLocalTime.
    virtual SystemTime localTime() = 0;
};

} // namespace ports
