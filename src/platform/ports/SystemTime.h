#pragma once
// A calendar time with the fields and order of the Windows SYSTEMTIME record, so that records that
// carry one (the Bluetooth device information, the log stamps) map one to one.
#include <cstdint>

namespace ports {

struct SystemTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;     // 1 to 12
    std::uint16_t dayOfWeek = 0; // 0 Sunday
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;

    friend bool operator==(const SystemTime&, const SystemTime&) = default;
};

static_assert(sizeof(SystemTime) == 16);

} // namespace ports
