#pragma once
// The resources linked into this executable by windres (language 2052, Chinese Simplified).
#include "platform/ports/Resources.h"

#include <windows.h>

namespace win32 {

class Win32Resources final : public ports::Resources {
public:
    explicit Win32Resources(HMODULE module = nullptr) : module_(module) {}
    std::optional<std::span<const std::uint8_t>> find(std::wstring_view type,
                                                      std::uint16_t id) noexcept override;

private:
    HMODULE module_;
};

} // namespace win32
