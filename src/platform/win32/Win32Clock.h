#pragma once
// The local time of this Windows machine (GetLocalTime).
#include "platform/ports/Clock.h"

namespace win32 {

class Win32Clock final : public ports::Clock {
public:
    ports::SystemTime localTime() override;
};

} // namespace win32
