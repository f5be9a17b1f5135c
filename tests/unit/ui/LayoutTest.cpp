// The layout function on plain trees and numbers.
#include "ui/core/Containers.h"
#include "ui/core/Controls.h"
#include "ui/core/Layout.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

// Every leaf prefers 40 by 20.
struct Fixed40x20 final : Measure {
    Size preferred(const Control&) const override { return {40, 20}; }
};

Control& leaf(Control& parent, const char* name, SizeRules rules = {}) {
    auto& c = parent.add(std::make_unique<Label>());
    c.setName(std::wstring(name, name + std::char_traits<char>::length(name)));
    c.sizeRules() = rules;
    return c;
}

SizeRules stretch(int s) {
    SizeRules r;
    r.stretch = s;
    return r;
}

} // namespace

TEST(Layout, VerticalShareByFixedPreferredAndStretch) {
    VerticalLayout root;
    SizeRules fixed;
    fixed.height = 30;
    auto& a = leaf(root, "a", fixed);      // 30
    auto& b = leaf(root, "b");             // preferred 20
    auto& c = leaf(root, "c", stretch(1)); // 1/3 of the rest
    auto& d = leaf(root, "d", stretch(2)); // 2/3 of the rest
    auto map = computeLayout(root, {200, 200}, 1.0, Fixed40x20{});
    EXPECT_EQ(map[&root], (Rect{0, 0, 200, 200}));
    EXPECT_EQ(map[&a], (Rect{0, 0, 200, 30}));
    EXPECT_EQ(map[&b], (Rect{0, 30, 200, 50}));
    EXPECT_EQ(map[&c], (Rect{0, 50, 200, 100}));
    EXPECT_EQ(map[&d], (Rect{0, 100, 200, 200}));
}

TEST(Layout, HorizontalWithPaddingMarginAndSpacing) {
    HorizontalLayout root;
    root.sizeRules().padding = {10, 5, 10, 5};
    root.setAttribute("spacing", L"4");
    SizeRules m;
    m.margin = {2, 3, 2, 3};
    m.width = 50;
    auto& a = leaf(root, "a", m);
    auto& b = leaf(root, "b", stretch(1));
    auto map = computeLayout(root, {300, 100}, 1.0, Fixed40x20{});
    // a: 10 + 2 margin, 50 wide; top 5 + 3; fills the height less padding and margins.
    EXPECT_EQ(map[&a], (Rect{12, 8, 62, 92}));
    // b starts after a's right margin and the spacing, and takes the rest up to the padding.
    EXPECT_EQ(map[&b], (Rect{68, 5, 290, 95}));
}

TEST(Layout, MinimumAndMaximumHoldAStretchAndTheOthersShareTheRest) {
    struct Case {
        int minB, maxB;
        Rect a, b;
    };
    for (auto c :
         {Case{0, 0, {0, 0, 100, 10}, {100, 0, 200, 10}}, Case{150, 0, {0, 0, 50, 10}, {50, 0, 200, 10}},
          Case{0, 30, {0, 0, 170, 10}, {170, 0, 200, 10}}}) {
        HorizontalLayout root;
        auto& a = leaf(root, "a", stretch(1));
        SizeRules rb = stretch(1);
        rb.minWidth = c.minB;
        rb.maxWidth = c.maxB;
        auto& b = leaf(root, "b", rb);
        auto map = computeLayout(root, {200, 10}, 1.0, Fixed40x20{});
        EXPECT_EQ(map[&a], c.a) << c.minB << " " << c.maxB;
        EXPECT_EQ(map[&b], c.b) << c.minB << " " << c.maxB;
    }
}

TEST(Layout, FixedCrossSizeAndHiddenChildren) {
    VerticalLayout root;
    SizeRules narrow;
    narrow.width = 60;
    narrow.height = 10;
    auto& a = leaf(root, "a", narrow);
    auto& hidden = leaf(root, "hidden", stretch(1));
    hidden.setVisible(false);
    auto& rest = leaf(root, "rest", stretch(1));
    auto map = computeLayout(root, {100, 100}, 1.0, Fixed40x20{});
    EXPECT_EQ(map[&a], (Rect{0, 0, 60, 10}));
    EXPECT_TRUE(map[&hidden].empty());
    EXPECT_EQ(map[&rest], (Rect{0, 10, 100, 100}));
}

TEST(Layout, TabGivesTheSelectedPageEverythingAndHidesTheOthers) {
    Tab tab;
    auto& p1 = tab.add(std::make_unique<VerticalLayout>());
    p1.setName(L"one");
    auto& inner = leaf(p1, "inner", stretch(1));
    auto& p2 = tab.add(std::make_unique<VerticalLayout>());
    p2.setName(L"two");
    auto map = computeLayout(tab, {80, 60}, 1.0, Fixed40x20{});
    EXPECT_EQ(map[&p1], (Rect{0, 0, 80, 60}));
    EXPECT_EQ(map[&inner], (Rect{0, 0, 80, 60}));
    EXPECT_TRUE(map[&p2].empty());
    ASSERT_TRUE(tab.select(L"two"));
    map = computeLayout(tab, {80, 60}, 1.0, Fixed40x20{});
    EXPECT_TRUE(map[&p1].empty());
    EXPECT_TRUE(map[&inner].empty());
    EXPECT_EQ(map[&p2], (Rect{0, 0, 80, 60}));
}

TEST(Layout, ScaleMultipliesEveryPixelSize) {
    VerticalLayout root;
    root.sizeRules().padding = {4, 4, 4, 4};
    SizeRules fixed;
    fixed.height = 30;
    auto& a = leaf(root, "a", fixed);
    auto& b = leaf(root, "b"); // preferred 20 -> 30
    auto map = computeLayout(root, {300, 300}, 1.5, Fixed40x20{});
    EXPECT_EQ(map[&a], (Rect{6, 6, 294, 51}));
    EXPECT_EQ(map[&b], (Rect{6, 51, 294, 81}));
}

TEST(Layout, ANonStretchingContainerTakesItsContentsPreferredSize) {
    VerticalLayout root;
    auto& row = root.add(std::make_unique<HorizontalLayout>());
    row.sizeRules().stretch = 0;
    row.sizeRules().padding = {0, 2, 0, 2};
    auto& x = leaf(row, "x");
    auto& rest = leaf(root, "rest", stretch(1));
    auto map = computeLayout(root, {100, 100}, 1.0, Fixed40x20{});
    EXPECT_EQ(map[&row], (Rect{0, 0, 100, 24}));
    EXPECT_EQ(map[&x], (Rect{0, 2, 40, 22}));
    EXPECT_EQ(map[&rest], (Rect{0, 24, 100, 100}));
}

TEST(Layout, TooLittleRoomLeavesStretchesEmptyNotNegative) {
    VerticalLayout root;
    SizeRules fixed;
    fixed.height = 80;
    leaf(root, "a", fixed);
    auto& b = leaf(root, "b", stretch(1));
    auto map = computeLayout(root, {100, 50}, 1.0, Fixed40x20{});
    EXPECT_EQ(map[&b].height(), 0);
    EXPECT_EQ(map[&b].top, 80);
}
