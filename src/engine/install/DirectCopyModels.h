#pragma once
// The hardware IDs of the Tovana family, whose drivers go in by copying their files (never through
// the driver store) and whose package files are unpacked by a fixed list rather than from the INF.
#include "base/Compare.h"

#include <array>
#include <string_view>

inline constexpr std::array<std::wstring_view, 3> kTovanaHardwareIds = {
    L"USBPRINT\\Tovana_A6B36A", L"USBPRINT\\Tovana_A877EB", L"USBPRINT\\Tovana_A773AB"};

// Compared without regard to case.
inline bool IsTovanaHardwareId(std::wstring_view hardwareId) {
    for (auto id : kTovanaHardwareIds)
        if (text::equalsNoCase(id, hardwareId))
            return true;
    return false;
}
