#pragma once
// Small helpers the encoders share to append text and numbers to a byte stream.
#include "driver/core/PageEncoder.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace driver::detail {

void append(Bytes& out, std::string_view text);
void appendNumber(Bytes& out, long long value);
// command, value and end: "DENSITY " 8 "\r\n".
void appendCommand(Bytes& out, std::string_view command, long long value, std::string_view end);
// Upper-case hex digits, two per byte, as ZPL's ^GFA and CPCL's EG take them.
void appendHex(Bytes& out, std::span<const std::uint8_t> bytes);
// dots at dpi as millimetres, rounded to 0.01 mm, without trailing zeros: "56.05", "40", "3.5".
[[nodiscard]] std::string millimetres(std::uint32_t dots, std::uint32_t dpi);

} // namespace driver::detail
