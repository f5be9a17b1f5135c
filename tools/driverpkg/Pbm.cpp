#include "Pbm.h"

#include <cctype>
#include <span>

namespace driverpkg {

namespace {

// Skips blanks and "#" comments, then reads a decimal number.
std::optional<std::uint32_t> headerNumber(std::string_view bytes, std::size_t& at) {
    while (at < bytes.size()) {
        if (std::isspace(static_cast<unsigned char>(bytes[at]))) {
            ++at;
        } else if (bytes[at] == '#') {
            while (at < bytes.size() && bytes[at] != '\n')
                ++at;
        } else {
            break;
        }
    }
    std::uint32_t value = 0;
    const std::size_t start = at;
    while (at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9') {
        value = value * 10 + static_cast<std::uint32_t>(bytes[at++] - '0');
        if (value > 65535)
            return std::nullopt;
    }
    if (at == start)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<driver::PageSurface> readPbm(std::string_view bytes, std::string& error) {
    if (bytes.substr(0, 2) != "P4") {
        error = "not a binary PBM image (P4)";
        return std::nullopt;
    }
    std::size_t at = 2;
    const auto width = headerNumber(bytes, at);
    const auto height = headerNumber(bytes, at);
    // Exactly one blank ends the header.
    if (!width || !height || *width == 0 || *height == 0 || at >= bytes.size() ||
        !std::isspace(static_cast<unsigned char>(bytes[at]))) {
        error = "bad PBM header";
        return std::nullopt;
    }
    ++at;
    const std::size_t stride = (*width + 7) / 8;
    if (bytes.size() - at < stride * *height) {
        error = "PBM image data is cut short";
        return std::nullopt;
    }
    driver::PageSurface page(*width, *height);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data() + at);
    for (std::uint32_t y = 0; y < *height; ++y)
        page.blitRow(0, y, std::span(data + y * stride, stride), *width);
    return page;
}

} // namespace driverpkg
