#pragma once
// A calendar time with the fields and order of the Windows SYSTEMTIME record, so that records that
// carry one (the Bluetooth device information) keep the Windows layout.
#include <cstdint>

namespace ports {

struct SystemTime {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;     // 1 to 12
    std::uint16_t wDayOfWeek = 0; // 0 Sunday
    std::uint16_t wDay = 0;
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;

    friend bool operator==(const SystemTime&, const SystemTime&) = default;
};

static_assert(sizeof(SystemTime) == 16);

} // namespace ports
