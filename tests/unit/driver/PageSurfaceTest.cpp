// The 1-bit page: bit order, padding, clipping, blank rows and the half turn.
#include "driver/core/PageSurface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using driver::PageSurface;

std::vector<std::uint8_t> rowBytes(const PageSurface& page, std::uint32_t y) {
    const auto row = page.row(y);
    return {row.begin(), row.end()};
}

TEST(PageSurface, PacksDotsMostSignificantBitFirstIntoPaddedRows) {
    PageSurface page(12, 2);
    EXPECT_EQ(page.stride(), 2u);
    page.set(0, 0);
    page.set(9, 0);
    page.set(11, 1);
    EXPECT_EQ(rowBytes(page, 0), (std::vector<std::uint8_t>{0x80, 0x40}));
    EXPECT_EQ(rowBytes(page, 1), (std::vector<std::uint8_t>{0x00, 0x10}));
    EXPECT_TRUE(page.get(9, 0));
    EXPECT_FALSE(page.get(8, 0));
    page.set(9, 0, false);
    EXPECT_EQ(rowBytes(page, 0), (std::vector<std::uint8_t>{0x80, 0x00}));
}

TEST(PageSurface, IgnoresDotsOutsideThePage) {
    PageSurface page(8, 1);
    page.set(8, 0);
    page.set(0, 1);
    EXPECT_FALSE(page.get(8, 0));
    EXPECT_FALSE(page.get(0, 1));
    EXPECT_TRUE(page.isRowBlank(0));
    EXPECT_TRUE(page.row(1).empty());
}

TEST(PageSurface, EmptyWhenEitherSideIsZero) {
    for (const auto& [w, h] : {std::pair{0u, 5u}, std::pair{5u, 0u}}) {
        PageSurface page(w, h);
        EXPECT_EQ(page.width(), 0u);
        EXPECT_EQ(page.height(), 0u);
        EXPECT_EQ(page.stride(), 0u);
        EXPECT_TRUE(driver::inkRows(page).empty());
    }
}

TEST(PageSurface, BlitsARowAtAnOffsetAndClipsAtTheRightEdgeKeepingThePaddingWhite) {
    struct Case {
        const char* name;
        std::uint32_t x;
        std::vector<std::uint8_t> bits;
        std::uint32_t widthDots;
        std::vector<std::uint8_t> expected;
    };
    const Case cases[] = {
        {"aligned", 0, {0xA5}, 8, {0xA5, 0x00}},
        {"crosses a byte boundary", 6, {0xF0}, 4, {0x03, 0xC0}},
        {"width shorter than the data", 0, {0xFF}, 3, {0xE0, 0x00}},
        // 12-dot page: dots 8..11 are the last four; the rest of the source is cut off and the
        // padding bits past dot 11 stay 0.
        {"clipped at the right edge", 8, {0xFF, 0xFF}, 16, {0x00, 0xF0}},
        {"data shorter than the width", 0, {0xFF}, 12, {0xFF, 0x00}},
        {"starts past the page", 12, {0xFF}, 8, {0x00, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PageSurface page(12, 1);
        page.blitRow(c.x, 0, c.bits, c.widthDots);
        EXPECT_EQ(rowBytes(page, 0), c.expected);
    }
}

TEST(PageSurface, BlitOverwritesBlackWithWhite) {
    PageSurface page(8, 1);
    for (std::uint32_t x = 0; x < 8; ++x)
        page.set(x, 0);
    const std::uint8_t bits[] = {0x0F};
    page.blitRow(0, 0, bits, 8);
    EXPECT_EQ(rowBytes(page, 0), (std::vector<std::uint8_t>{0x0F}));
}

TEST(PageSurface, InkRowsSpanTheFirstToTheLastBlackRow) {
    PageSurface page(10, 6);
    EXPECT_TRUE(driver::inkRows(page).empty());
    page.set(9, 2);
    page.set(0, 4);
    EXPECT_TRUE(page.isRowBlank(3));
    EXPECT_FALSE(page.isRowBlank(2));
    const auto ink = driver::inkRows(page);
    EXPECT_EQ(ink.first, 2u);
    EXPECT_EQ(ink.end, 5u);
}

TEST(PageSurface, HalfTurnMovesEachDotToTheOppositeCorner) {
    PageSurface page(10, 3);
    page.set(0, 0);
    page.set(3, 1);
    const PageSurface turned = page.rotated180();
    EXPECT_TRUE(turned.get(9, 2));
    EXPECT_TRUE(turned.get(6, 1));
    EXPECT_FALSE(turned.get(0, 0));
    // Padding stays white: dot 9 is the second bit of the second byte.
    EXPECT_EQ(rowBytes(turned, 2), (std::vector<std::uint8_t>{0x00, 0x40}));
}

} // namespace
