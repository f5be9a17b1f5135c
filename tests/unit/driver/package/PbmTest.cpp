// The P4 reader of the render command: the bits land on the page as they are, and a damaged image
// is refused with a reason.
#include "Pbm.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

TEST(Pbm, ReadsRowsPaddedToBytesWithCommentsInTheHeader) {
    std::string error;
    const auto page = driverpkg::readPbm("P4\n# made by hand\n10 2\n\xC0\x40\x00\x3F"s, error);
    ASSERT_TRUE(page) << error;
    EXPECT_EQ(page->width(), 10u);
    EXPECT_EQ(page->height(), 2u);
    EXPECT_TRUE(page->get(0, 0));
    EXPECT_TRUE(page->get(1, 0));
    EXPECT_TRUE(page->get(9, 0));
    EXPECT_FALSE(page->get(2, 0));
    // The padding bits of the image do not become dots.
    EXPECT_TRUE(page->isRowBlank(1));
}

TEST(Pbm, RefusesDamagedImages) {
    struct Bad {
        const char* name;
        std::string bytes;
        const char* error;
    };
    const Bad cases[] = {
        {"ASCII PBM", "P1\n1 1\n1\n", "not a binary PBM image (P4)"},
        {"empty", "", "not a binary PBM image (P4)"},
        {"no height", "P4\n8\n", "bad PBM header"},
        {"zero width", "P4 0 1\n", "bad PBM header"},
        {"too wide", "P4 70000 1\n", "bad PBM header"},
        {"no blank after the header", "P4 8 1", "bad PBM header"},
        {"cut short", "P4 16 2\n\xFF\xFF\xFF"s, "PBM image data is cut short"},
    };
    for (const Bad& c : cases) {
        std::string error;
        EXPECT_FALSE(driverpkg::readPbm(c.bytes, error)) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
    }
}

} // namespace
