#pragma once
// Reads a binary PBM (P4) image: its bits are already 1 for black, most significant bit leftmost,
// rows padded to bytes, which is the page surface's own layout.
#include "driver/core/PageSurface.h"

#include <optional>
#include <string>
#include <string_view>

namespace driverpkg {

// Nothing, with why in error, for anything but a complete P4 image of at most 65535 x 65535 dots.
[[nodiscard]] std::optional<driver::PageSurface> readPbm(std::string_view bytes, std::string& error);

} // namespace driverpkg
