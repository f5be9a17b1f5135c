#include "driver/core/PageSurface.h"

#include <algorithm>

namespace driver {

PageSurface::PageSurface(std::uint32_t widthDots, std::uint32_t heightDots)
    : width_(widthDots), height_(heightDots), stride_((widthDots + 7) / 8),
      bits_(std::size_t{stride_} * heightDots, 0) {
    if (width_ == 0 || height_ == 0) {
        width_ = height_ = stride_ = 0;
        bits_.clear();
    }
}

void PageSurface::set(std::uint32_t x, std::uint32_t y, bool black) noexcept {
    if (x >= width_ || y >= height_)
        return;
    std::uint8_t& byte = bits_[std::size_t{y} * stride_ + x / 8];
    const auto mask = static_cast<std::uint8_t>(0x80u >> (x % 8));
    byte = black ? static_cast<std::uint8_t>(byte | mask) : static_cast<std::uint8_t>(byte & ~mask);
}

bool PageSurface::get(std::uint32_t x, std::uint32_t y) const noexcept {
    if (x >= width_ || y >= height_)
        return false;
    return (bits_[std::size_t{y} * stride_ + x / 8] & (0x80u >> (x % 8))) != 0;
}

void PageSurface::blitRow(std::uint32_t x, std::uint32_t y, std::span<const std::uint8_t> bits,
                          std::uint32_t widthDots) noexcept {
    if (y >= height_ || x >= width_)
        return;
    const std::uint32_t available =
        static_cast<std::uint32_t>(std::min<std::size_t>(bits.size() * 8, widthDots));
    const std::uint32_t count = std::min(available, width_ - x);
    for (std::uint32_t i = 0; i < count; ++i)
        set(x + i, y, (bits[i / 8] & (0x80u >> (i % 8))) != 0);
}

std::span<const std::uint8_t> PageSurface::row(std::uint32_t y) const noexcept {
    if (y >= height_)
        return {};
    return {bits_.data() + std::size_t{y} * stride_, stride_};
}

bool PageSurface::isRowBlank(std::uint32_t y) const noexcept {
    const auto r = row(y);
    return std::all_of(r.begin(), r.end(), [](std::uint8_t b) { return b == 0; });
}

PageSurface PageSurface::rotated180() const {
    PageSurface turned(width_, height_);
    for (std::uint32_t y = 0; y < height_; ++y)
        for (std::uint32_t x = 0; x < width_; ++x)
            if (get(x, y))
                turned.set(width_ - 1 - x, height_ - 1 - y);
    return turned;
}

InkRows inkRows(const PageSurface& page) noexcept {
    std::uint32_t first = 0;
    while (first < page.height() && page.isRowBlank(first))
        ++first;
    if (first == page.height())
        return {};
    std::uint32_t end = page.height();
    while (page.isRowBlank(end - 1))
        --end;
    return {first, end};
}

} // namespace driver
