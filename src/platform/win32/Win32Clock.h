#pragma once
// Real time: the tick count, Sleep and the local time of this machine.
#include "platform/ports/Clock.h"

namespace win32 {

class Win32Clock final : public ports::Clock {
public:
    std::uint64_t nowMs() noexcept override;
    void sleepMs(std::uint32_t ms) noexcept override;
    ports::SystemTime localTime() noexcept override;
};

} // namespace win32
