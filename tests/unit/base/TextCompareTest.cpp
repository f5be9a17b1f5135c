#include "base/Compare.h"
#include "base/Utf.h"

#include <gtest/gtest.h>

namespace {

TEST(TextCompare, OrdinalIgnoringCase) {
    struct {
        const wchar_t* a;
        const wchar_t* b;
        int sign;
    } cases[] = {
        {L"USBPRINT\\CorvaneExJN-2236", L"usbprint\\corvaneexjn-2236", 0},
        {L"Printer", L"printer ", -1},
        {L"", L"", 0},
        {L"a", L"B", -1},
        {L"\x00C9t\x00E9", L"\x00E9T\x00C9", 0},           // Latin-1: Été
        {L"\x0416\x0443\x043A", L"\x0436\x0423\x041A", 0}, // Cyrillic: Жук
        {L"\x03A3\x03B1", L"\x03C3\x0391", 0},             // Greek
        {L"\x0141\x00F3"
         L"d\x017A",
         L"\x0142\x00D3"
         L"D\x0179",
         0},              // Polish: Łódź
        {L"[", L"{", -1}, // ordinal: '[' (0x5B) sorts before '{' (0x7B) after upper-casing
    };
    for (const auto& c : cases) {
        const int r = text::compareNoCase(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << text::toUtf8(c.a) << " vs " << text::toUtf8(c.b);
        EXPECT_EQ(text::equalsNoCase(c.a, c.b), c.sign == 0);
    }
}

TEST(TextCompare, PrefixAndSubstring) {
    EXPECT_TRUE(text::startsWithNoCase(L"CorvaneEx JN-2236", L"corvaneex"));
    EXPECT_FALSE(text::startsWithNoCase(L"Corv", L"CorvaneEx"));
    EXPECT_TRUE(text::containsNoCase(L"My CX-420T (copy 1)", L"cx-420t"));
    EXPECT_FALSE(text::containsNoCase(L"CX-420", L"CX-420T"));
    EXPECT_TRUE(text::containsNoCase(L"anything", L""));
}

TEST(TextCompare, LowerCasing) {
    EXPECT_EQ(text::toLower(L"USBPRINT\\ABC-1\x00C4\x0130"), L"usbprint\\abc-1\x00E4\x0130");
    EXPECT_EQ(text::toUpper(L"\x00FF\x0105"), L"\x0178\x0104");
}

TEST(Utf, RoundTripsAndReplacesInvalidBytes) {
    const std::wstring wide = L"\x6253\x5370\x673A CX-420T \x00E9";
    EXPECT_EQ(text::fromUtf8(text::toUtf8(wide)), wide);
    EXPECT_EQ(text::toUtf8(L"\x4E2D"), "\xE4\xB8\xAD");
    EXPECT_EQ(text::fromUtf8("a\xFF"
                             "b"),
              L"a\xFFFD"
              L"b");
    EXPECT_EQ(text::fromUtf8("\xE4\xB8"), L"\xFFFD\xFFFD"); // truncated sequence
    EXPECT_EQ(text::fromUtf8("\xC0\xAF"), L"\xFFFD\xFFFD"); // overlong form of '/'
    // A character outside the basic plane survives the trip as a surrogate pair on Windows.
    const std::string emoji = "\xF0\x9F\x96\xA8";
    EXPECT_EQ(text::toUtf8(text::fromUtf8(emoji)), emoji);
    EXPECT_EQ(text::fromUtf8(emoji).size(), sizeof(wchar_t) == 2 ? 2u : 1u);
}

} // namespace
