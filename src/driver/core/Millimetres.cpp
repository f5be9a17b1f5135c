#include "driver/core/Millimetres.h"

namespace driver {

std::string formatHundredths(std::uint32_t hundredths) {
    std::string text = std::to_string(hundredths / 100);
    const unsigned fraction = hundredths % 100;
    if (fraction != 0) {
        text += '.';
        text += static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0)
            text += static_cast<char>('0' + fraction % 10);
    }
    return text;
}

std::optional<std::uint32_t> parseHundredths(std::string_view text) noexcept {
    constexpr std::uint32_t kLimit = 1'000'000'00; // 1000 m, far beyond any label
    std::uint32_t whole = 0;
    std::size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        whole = whole * 10 + static_cast<std::uint32_t>(text[i] - '0');
        if (whole > kLimit / 100)
            return std::nullopt;
    }
    if (i == 0)
        return std::nullopt;
    std::uint32_t fraction = 0;
    if (i < text.size()) {
        if (text[i] != '.')
            return std::nullopt;
        const std::string_view decimals = text.substr(i + 1);
        if (decimals.empty() || decimals.size() > 2)
            return std::nullopt;
        for (const char c : decimals) {
            if (c < '0' || c > '9')
                return std::nullopt;
        }
        fraction = static_cast<std::uint32_t>(decimals[0] - '0') * 10 +
                   (decimals.size() == 2 ? static_cast<std::uint32_t>(decimals[1] - '0') : 0);
    }
    return whole * 100 + fraction;
}

std::uint32_t dotsToHundredths(std::uint32_t dots, std::uint32_t dpi) noexcept {
    if (dpi == 0)
        return 0;
    return static_cast<std::uint32_t>((std::uint64_t{dots} * 2540 + dpi / 2) / dpi);
}

std::uint32_t hundredthsToDots(std::uint32_t hundredths, std::uint32_t dpi) noexcept {
    return static_cast<std::uint32_t>((std::uint64_t{hundredths} * dpi + 1270) / 2540);
}

} // namespace driver
