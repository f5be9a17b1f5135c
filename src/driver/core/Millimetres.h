#pragma once
// Millimetres as text, held as whole hundredths so that a value read and written again keeps its
// digits: "56.06" is 5606, "40" is 4000, "3.5" is 350.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace driver {

// Without trailing zeros or a trailing point.
[[nodiscard]] std::string formatHundredths(std::uint32_t hundredths);
// Digits with at most two decimals after a point, below 10 km; nothing for anything else.
[[nodiscard]] std::optional<std::uint32_t> parseHundredths(std::string_view text) noexcept;
// dots at dpi in hundredths of a millimetre, rounded; 0 for a dpi of 0.
[[nodiscard]] std::uint32_t dotsToHundredths(std::uint32_t dots, std::uint32_t dpi) noexcept;
// hundredths of a millimetre at dpi in dots, rounded.
[[nodiscard]] std::uint32_t hundredthsToDots(std::uint32_t hundredths, std::uint32_t dpi) noexcept;

} // namespace driver
