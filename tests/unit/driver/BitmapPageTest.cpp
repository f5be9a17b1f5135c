// The rendering DLL's glue over plain buffers: the engine's bitmap, in each of its layouts, becomes
// the page the printer prints, and the DEVMODE's choices become the job's settings.
#include "driver/core/BitmapPage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using driver::BitmapView;
using driver::pageFromBitmap;

// A 10 x 3 bitmap with dots at (0,0), (9,0) and (4,2), rows padded to 4 bytes as the engine pads
// them, stored top-down or bottom-up, with ink as 1 bits or as 0 bits.
struct Fixture {
    std::vector<std::uint8_t> bytes;
    BitmapView view;
};
Fixture sample(bool bottomUp, bool inkIsZero) {
    constexpr std::uint32_t stride = 4;
    std::vector<std::vector<std::uint8_t>> rows = {
        {0x80, 0x40, 0xAA, 0x55}, // the padding bytes hold rubbish the page must not take
        {0x00, 0x00, 0xFF, 0xFF},
        {0x08, 0x00, 0x00, 0x00}};
    Fixture f;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        auto row = rows[bottomUp ? rows.size() - 1 - i : i];
        if (inkIsZero) {
            row[0] = static_cast<std::uint8_t>(~row[0]);
            row[1] = static_cast<std::uint8_t>(row[1] ^ 0xC0);
        }
        f.bytes.insert(f.bytes.end(), row.begin(), row.end());
    }
    f.view.width = 10;
    f.view.height = 3;
    f.view.inkIsZero = inkIsZero;
    f.view.delta = bottomUp ? -std::ptrdiff_t{stride} : std::ptrdiff_t{stride};
    f.view.top = bottomUp ? f.bytes.data() + 2 * stride : f.bytes.data();
    return f;
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> dots(const driver::PageSurface& page) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> out;
    for (std::uint32_t y = 0; y < page.height(); ++y)
        for (std::uint32_t x = 0; x < page.width(); ++x)
            if (page.get(x, y))
                out.emplace_back(x, y);
    return out;
}

TEST(BitmapPage, EveryBitmapLayoutGivesTheSamePage) {
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected = {{0, 0}, {9, 0}, {4, 2}};
    for (bool bottomUp : {false, true})
        for (bool inkIsZero : {false, true}) {
            SCOPED_TRACE(testing::Message() << "bottom-up " << bottomUp << ", ink is zero " << inkIsZero);
            const Fixture f = sample(bottomUp, inkIsZero);
            const auto page = pageFromBitmap(f.view);
            EXPECT_EQ(page.width(), 10u);
            EXPECT_EQ(page.height(), 3u);
            EXPECT_EQ(dots(page), expected);
            EXPECT_EQ(page.row(0)[1], 0x40) << "the padding bits stay clear";
        }
}

TEST(BitmapPage, ALandscapeBitmapIsTurnedBackUpright) {
    Fixture f = sample(false, false);
    f.view.landscape = true;
    const auto page = pageFromBitmap(f.view);
    EXPECT_EQ(page.width(), 3u);
    EXPECT_EQ(page.height(), 10u);
    // (x, y) -> (y, 9 - x): the bitmap's left column is the page's bottom row.
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected = {{0, 0}, {2, 5}, {0, 9}};
    EXPECT_EQ(dots(page), expected);
}

TEST(BitmapPage, AViewWithoutRowsIsAnEmptyPage) {
    EXPECT_EQ(pageFromBitmap(BitmapView{}).height(), 0u);
    Fixture f = sample(false, false);
    f.view.height = 0;
    EXPECT_EQ(pageFromBitmap(f.view).width(), 0u);
}

TEST(BitmapPage, TheJobTakesOnlyChoicesTheModelAllows) {
    driver::ModelData model;
    model.dpi = 203;
    model.printableWidth = 5600;
    model.darknessRange = driver::DarknessRange{2, 17};
    model.darkness = 10;
    model.speeds = {2, 4};
    model.speed = 2;
    struct Case {
        driver::JobChoices choices;
        std::uint32_t copies;
        int darkness; // 0-based, as the encoders take it
        int speed;
    } cases[] = {
        {{1, -1, 0}, 1, 8, 2},  // the model's defaults
        {{3, 17, 4}, 3, 15, 4}, // the top of the range and a listed speed
        {{0, 2, 3}, 1, 0, 2},   // no copies is one; 3 is not a listed speed
        {{1, 18, -4}, 1, 8, 2}, // past the range
        {{1, 1, 0}, 1, 8, 2},   // below the range
    };
    for (const Case& c : cases) {
        const auto job = driver::jobFor(model, nullptr, 400, c.choices);
        EXPECT_EQ(job.copies, c.copies);
        EXPECT_EQ(job.darkness, c.darkness);
        EXPECT_EQ(job.speed, c.speed);
        EXPECT_EQ(job.labelLengthDots, 400u);
    }
}

} // namespace
