#include "base/Format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

namespace {

using text::format;

struct Case {
    const wchar_t* name;
    std::wstring got;
    const wchar_t* expected;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << std::string(c.name, c.name + wcslen(c.name));
}

class FormatTable : public ::testing::TestWithParam<Case> {};

TEST_P(FormatTable, GivesPrintfsTextOrAVisibleMarker) {
    EXPECT_EQ(GetParam().got, GetParam().expected);
}

const std::wstring kName = L"CX-420T";
const std::uint32_t kAccessDeniedHr = 0x80070005u;

INSTANTIATE_TEST_SUITE_P(
    WellFormed, FormatTable,
    ::testing::Values(Case{L"plain", format(L"no placeholders"), L"no placeholders"},
                      Case{L"text", format(L"Add printer:%s. Failed", kName), L"Add printer:CX-420T. Failed"},
                      Case{L"text and code",
                           format(L"%s failed. code: %d. text: %s.", L"Open", 5, L"Access is denied"),
                           L"Open failed. code: 5. text: Access is denied."},
                      Case{L"percent", format(L"100%% done"), L"100% done"},
                      Case{L"negative", format(L"%d", -1797), L"-1797"},
                      Case{L"unsigned as %d like printf", format(L"%d", kAccessDeniedHr), L"-2147024891"},
                      Case{L"%u", format(L"%u", -1), L"4294967295"},
                      Case{L"hex", format(L"%x %X", 255, 0xBEEFu), L"ff BEEF"},
                      Case{L"byte hex", format(L"%02X%02X%02X", 0x00, 0x1B, 0xA5), L"001BA5"},
                      Case{L"date", format(L"%04d-%02d-%02d", 2026, 3, 7), L"2026-03-07"},
                      Case{L"64-bit", format(L"%lld %I64u", -5000000000LL, 18446744073709551615ULL),
                           L"-5000000000 18446744073709551615"},
                      Case{L"short", format(L"%hd", 70000), L"4464"},
                      Case{L"width text", format(L"[%6s][%-6s]", L"ab", L"cd"), L"[    ab][cd    ]"},
                      Case{L"precision text", format(L"%.3s", L"abcdef"), L"abc"},
                      Case{L"star width", format(L"[%*d]", 5, 42), L"[   42]"},
                      Case{L"char", format(L"%c%c", L'O', 0x4E2D), L"O\x4E2D"},
                      Case{L"real", format(L"%.2f", 3.14159), L"3.14"},
                      Case{L"wide Chinese text", format(L"\x5B89\x88C5: %s.", L"\x6253\x5370\x673A"),
                           L"\x5B89\x88C5: \x6253\x5370\x673A."},
                      Case{L"null text", format(L"%s", static_cast<const wchar_t*>(nullptr)), L"(null)"},
                      Case{L"flags", format(L"%+d % d %#x", 5, 5, 255), L"+5  5 0xff"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Hostile, FormatTable,
    ::testing::Values(Case{L"missing argument", format(L"code: %d. text: %s.", 5), L"code: 5. text: {?%s}."},
                      Case{L"no arguments at all", format(L"%s and %d"), L"{?%s} and {?%d}"},
                      Case{L"text given to %d", format(L"code: %d", L"oops"), L"code: {!%d}"},
                      Case{L"number given to %s", format(L"name: %s", 42), L"name: {!%s}"},
                      Case{L"extra arguments", format(L"done", 1, L"x"), L"done{+2}"},
                      Case{L"swapped order", format(L"%d %s", L"a", 1), L"{!%d} {!%s}"},
                      Case{L"%n never writes", format(L"%n%d", 7), L"{!%n}7"},
                      Case{L"unknown conversion", format(L"%y %d", 3), L"{!%y} 3"},
                      Case{L"lone percent at end", format(L"50%"), L"50{!%}"},
                      Case{L"huge width is bounded", format(L"%999999999d", 1).substr(0, 3), L"   "},
                      Case{L"star without argument", format(L"%*d"), L"{?%*d}"},
                      Case{L"star given text", format(L"%*d", L"w", 3), L"{!%*d}"},
                      Case{L"real given to %d", format(L"%d", 1.5), L"{!%d}"},
                      Case{L"pointer given to %s", format(L"%s", static_cast<const void*>(nullptr)),
                           L"{!%s}"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(Format, HugeWidthStaysBounded) {
    const std::wstring out = format(L"%999999999d|%.999999999s", 1, L"x");
    EXPECT_LT(out.size(), 4096u);
    EXPECT_NE(out.find(L"1|x"), std::wstring::npos);
}

TEST(Format, PointerUsesAllDigitsOfThePointerSize) {
    const std::wstring out = format(L"%p", reinterpret_cast<const void*>(static_cast<std::uintptr_t>(0xAB)));
    EXPECT_EQ(out.size(), sizeof(void*) * 2);
    EXPECT_EQ(out.substr(out.size() - 2), L"AB");
}

} // namespace
