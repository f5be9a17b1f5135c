#include "driver/core/EncoderText.h"

#include "driver/core/Millimetres.h"

#include <string>

namespace driver::detail {

void append(Bytes& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

void appendNumber(Bytes& out, long long value) {
    append(out, std::to_string(value));
}

void appendCommand(Bytes& out, std::string_view command, long long value, std::string_view end) {
    append(out, command);
    appendNumber(out, value);
    append(out, end);
}

void appendHex(Bytes& out, std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (const std::uint8_t b : bytes) {
        out.push_back(static_cast<std::uint8_t>(kDigits[b >> 4]));
        out.push_back(static_cast<std::uint8_t>(kDigits[b & 0x0F]));
    }
}

std::string millimetres(std::uint32_t dots, std::uint32_t dpi) {
    return formatHundredths(dotsToHundredths(dots, dpi));
}

} // namespace driver::detail
