#include "app/language/Languages.h"
#include "base/Utf.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

namespace {

struct Pick {
    std::uint16_t uiLanguage;
    const wchar_t* name;
};

void PrintTo(const Pick& p, std::ostream* os) {
    *os << "0x" << std::hex << p.uiLanguage;
}

class StartupLanguageTable : public ::testing::TestWithParam<Pick> {};

TEST_P(StartupLanguageTable, PicksTheLanguageAndItsFolder) {
    const auto& p = GetParam();
    const auto got = startupLanguage(p.uiLanguage);
    EXPECT_EQ(got.name, p.name);
    EXPECT_EQ(got.folder, std::wstring(L"Lang\\") + p.name);
}

INSTANTIATE_TEST_SUITE_P(
    Chinese, StartupLanguageTable,
    ::testing::Values(Pick{0x0804, L"ChineseSimplified"},  // zh-CN
                      Pick{0x0404, L"ChineseSimplified"},  // zh-TW: only the full 0x7C04 is Traditional
                      Pick{0x0C04, L"ChineseSimplified"},  // zh-HK
                      Pick{0x7804, L"ChineseSimplified"},  // zh
                      Pick{0xFC04, L"ChineseSimplified"},  // primary 4 with every other bit set
                      Pick{0x7C04, L"ChineseTraditional"}, // zh-Hant
                      Pick{0x7C05, L"Czech"}),             // the full entry is no mask
    [](const auto& info) { return "case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    ByPrimaryLanguage, StartupLanguageTable,
    ::testing::Values(Pick{0x0401, L"Arabic"}, Pick{0x0402, L"Bulgarian"}, Pick{0x0405, L"Czech"},
                      Pick{0x0406, L"Danish"}, Pick{0x0407, L"German"}, Pick{0x0C07, L"German"},
                      Pick{0x0408, L"Greek"}, Pick{0x0409, L"English"}, Pick{0x0809, L"English"},
                      Pick{0x4009, L"English"}, Pick{0x0C0A, L"Spanish"}, Pick{0x040B, L"Finnish"},
                      Pick{0x040C, L"French"}, Pick{0x040E, L"Hungarian"}, Pick{0x0410, L"Italian"},
                      Pick{0x0411, L"Japanese"}, Pick{0x0412, L"Korean"}, Pick{0x0413, L"Dutch"},
                      Pick{0x0415, L"Polish"}, Pick{0x0416, L"Portuguese"}, Pick{0x0816, L"Portuguese"},
                      Pick{0x0418, L"Romanian"}, Pick{0x0419, L"Russian"}, Pick{0x041D, L"Swedish"},
                      Pick{0x041E, L"Thai"}, Pick{0x0424, L"Slovenian"}, Pick{0x0425, L"Estonian"},
                      Pick{0x042A, L"Vietnamese"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(OthersGetEnglish, StartupLanguageTable,
                         ::testing::Values(Pick{0x041F, L"English"},  // Turkish
                                           Pick{0x0403, L"English"},  // Catalan
                                           Pick{0x040D, L"English"},  // Hebrew
                                           Pick{0x0414, L"English"},  // Norwegian
                                           Pick{0x041A, L"English"},  // Croatian
                                           Pick{0x0422, L"English"},  // Ukrainian
                                           Pick{0x0107, L"English"},  // primary 0x107: ten bits, not eight
                                           Pick{0x0000, L"English"},  // neutral
                                           Pick{0x0400, L"English"}), // user default
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(Languages, EveryLanguageCanBePickedAtStartupAndOnlyThose) {
    std::set<std::wstring_view> reached;
    for (std::uint32_t id = 0; id <= 0xFFFF; ++id)
        reached.insert(startupLanguage(static_cast<std::uint16_t>(id)).name);
    std::set<std::wstring_view> all;
    for (const auto& l : languages())
        all.insert(l.name);
    EXPECT_EQ(reached, all);
}

TEST(Languages, OwnNamesAreDistinctAndNameTheLanguageInItself) {
    std::set<std::wstring_view> ownNames;
    for (const auto& l : languages()) {
        EXPECT_FALSE(l.ownName.empty()) << text::toUtf8(l.name);
        EXPECT_TRUE(ownNames.insert(l.ownName).second) << text::toUtf8(l.ownName);
        EXPECT_EQ(findLanguage(l.name), &l);
    }
    const std::pair<const wchar_t*, const wchar_t*> quoted[] = {{L"English", L"English"},
                                                                {L"German", L"Deutsch"},
                                                                {L"ChineseSimplified", L"中文简体"},
                                                                {L"Japanese", L"日本語"}};
    for (const auto& [name, own] : quoted) {
        const auto* l = findLanguage(name);
        ASSERT_NE(l, nullptr) << text::toUtf8(name);
        EXPECT_EQ(l->ownName, own);
    }
    EXPECT_EQ(findLanguage(L"english"), nullptr);
    EXPECT_EQ(findLanguage(L"Klingon"), nullptr);
}

} // namespace
