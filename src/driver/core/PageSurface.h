#pragma once
// One page as the printer head sees it: 1 bit per dot, a set bit is a dot that is printed (black).
// Rows are padded to whole bytes, the leftmost dot in the most significant bit, so a row is already
// in the order every label language sends it.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace driver {

class PageSurface {
public:
    PageSurface() = default;
    // An all-white page; a width or height of 0 gives an empty page.
    PageSurface(std::uint32_t widthDots, std::uint32_t heightDots);

    std::uint32_t width() const noexcept { return width_; }
    std::uint32_t height() const noexcept { return height_; }
    // Bytes per row: width rounded up to a whole byte.
    std::uint32_t stride() const noexcept { return stride_; }

    // Dots outside the page are ignored by set and read as white by get.
    void set(std::uint32_t x, std::uint32_t y, bool black = true) noexcept;
    [[nodiscard]] bool get(std::uint32_t x, std::uint32_t y) const noexcept;

    // Copies `widthDots` dots of a packed 1-bit row (leftmost dot in the most significant bit of
    // bits[0]) to row y from column x; what falls outside the page is cut off.
    void blitRow(std::uint32_t x, std::uint32_t y, std::span<const std::uint8_t> bits,
                 std::uint32_t widthDots) noexcept;

    // The packed bytes of row y; the padding bits past the width are always 0.
    [[nodiscard]] std::span<const std::uint8_t> row(std::uint32_t y) const noexcept;
    [[nodiscard]] bool isRowBlank(std::uint32_t y) const noexcept;

    // The page turned by 180 degrees, for languages that cannot print upside down themselves.
    [[nodiscard]] PageSurface rotated180() const;

private:
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    std::uint32_t stride_ = 0;
    std::vector<std::uint8_t> bits_;
};

// The first and one past the last row that has a black dot; {0, 0} for a blank page. Encoders send
// only these rows, so white space above and below the printing costs no bytes.
struct InkRows {
    std::uint32_t first = 0;
    std::uint32_t end = 0;
    bool empty() const noexcept { return first == end; }
};
[[nodiscard]] InkRows inkRows(const PageSurface& page) noexcept;

} // namespace driver
