// The current language over small skins made for each case.
#include "app/language/Language.h"
#include "app/skin/SkinArchive.h"
#include "base/Utf.h"

#include "ZipBuilder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

using testing_support::buildZip;

std::string messageTable(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Language isocode=\"en\">\n";
    for (const auto& [id, text] : entries)
        xml += "  <String id=\"" + id + "\" text=\"" + text + "\"/>\n";
    return xml + "</Language>\n";
}

// A skin whose files the test can change and whose reads it can count. Paths match exactly as the
// language object writes them.
class FakeSkin final : public SkinFiles {
public:
    ports::Status read(std::wstring_view path, std::string& bytes) const override {
        ++reads[std::wstring(path)];
        const auto it = files.find(std::wstring(path));
        if (it == files.end())
            return ports::winerr::FileNotFound;
        bytes = it->second;
        return ports::winerr::Success;
    }
    std::map<std::wstring, std::string> files;
    mutable std::map<std::wstring, int> reads;
};

TEST(Language, RemembersAMissingMessageOnce) {
    FakeSkin skin;
    skin.files[L"Lang\\English\\StringResource.lng"] = messageTable({{"是", "yes"}, {"否", "no"}});
    CLanguage language(skin);
    ASSERT_EQ(language.setLanguage(L"Lang\\English", L"English"), ports::winerr::Success);
    ASSERT_EQ(language.messageCount(), 2u);

    EXPECT_EQ(language.translate(L"未知"), L"未知");
    EXPECT_EQ(language.messageCount(), 3u);
    EXPECT_EQ(language.translate(L"未知"), L"未知");
    EXPECT_EQ(language.messageCount(), 3u);
    EXPECT_EQ(language.translate(L"是"), L"yes");

    // A new language starts from its own table.
    ASSERT_EQ(language.setLanguage(L"Lang\\English", L"English"), ports::winerr::Success);
    EXPECT_EQ(language.messageCount(), 2u);
}

TEST(Language, KeepsTextsAsTheFileWritesThem) {
    FakeSkin skin;
    skin.files[L"Lang\\English\\StringResource.lng"] = messageTable({
        {"端口: %s ", "Port:%s "},                        // trailing spaces stay
        {"A &amp; B &lt;C&gt;", "&quot;A&quot; &amp; B"}, // entities are resolved in both
        {"两个", "first"},
        {"两个", "second"}, // the first of two entries counts
    });
    CLanguage language(skin);
    ASSERT_EQ(language.setLanguage(L"Lang\\English", L"English"), ports::winerr::Success);
    EXPECT_EQ(language.translate(L"端口: %s "), L"Port:%s ");
    EXPECT_EQ(language.translate(L"端口: %s"), L"端口: %s");
    EXPECT_EQ(language.translate(L"A & B <C>"), L"\"A\" & B");
    EXPECT_EQ(language.translate(L"两个"), L"first");
}

TEST(Language, SkipsEntriesWithoutTextAndUnreadableTables) {
    FakeSkin skin;
    skin.files[L"Lang\\English\\StringResource.lng"] =
        "<Language><String id=\"是\"/><String text=\"orphan\"/><String id=\"否\" text=\"no\"/></Language>";
    skin.files[L"Lang\\Broken\\StringResource.lng"] = "<Language><String id=\"是\" text=\"yes\">";
    skin.files[L"Lang\\Other\\StringResource.lng"] = "<Strings><String id=\"是\" text=\"yes\"/></Strings>";
    CLanguage language(skin);

    ASSERT_EQ(language.setLanguage(L"Lang\\English", L"English"), ports::winerr::Success);
    EXPECT_EQ(language.translate(L"是"), L"是");
    EXPECT_EQ(language.translate(L"否"), L"no");
    EXPECT_EQ(language.setLanguage(L"Lang\\Broken", L"Broken"), ports::winerr::InvalidData);
    EXPECT_EQ(language.translate(L"是"), L"是");
    EXPECT_EQ(language.setLanguage(L"Lang\\Other", L"Other"), ports::winerr::InvalidData);
    EXPECT_EQ(language.translate(L"是"), L"是");
}

TEST(Language, AGeneralStringTableOnlyAddsMessages) {
    FakeSkin skin;
    skin.files[L"Lang\\English\\StringResource.lng"] = messageTable({{"是", "yes"}});
    skin.files[L"Lang\\English\\StringTable.lng"] = messageTable({{"是", "YES"}, {"否", "no"}});
    CLanguage language(skin);
    ASSERT_EQ(language.setLanguage(L"Lang\\English", L"English"), ports::winerr::Success);
    EXPECT_EQ(language.translate(L"是"), L"yes");
    EXPECT_EQ(language.translate(L"否"), L"no");
}

TEST(Language, TranslatesFromSeveralThreadsAtOnce) {
    FakeSkin skin;
    skin.files[L"Lang\\English\\StringResource.lng"] = messageTable({{"是", "yes"}});
    CLanguage language(skin);
    ASSERT_EQ(language.setLanguage(L"Lang\\English", L"English"), ports::winerr::Success);
    constexpr int kThreads = 4;
    constexpr int kMessages = 200;
    std::vector<int> wrong(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kMessages; ++i) {
                const auto id = L"消息 " + std::to_wstring(t) + L"." + std::to_wstring(i);
                wrong[t] += language.translate(id) != id;
                wrong[t] += language.translate(L"是") != L"yes";
            }
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(wrong, std::vector<int>(kThreads, 0));
    EXPECT_EQ(language.messageCount(), 1u + kThreads * kMessages);
}

// Layout translation files, read from a real archive as the skin holds them.
const std::string kMainFrameEnglish = R"(<?xml version="1.0" encoding="UTF-8"?>
<Language isocode="en">
    <Text id="1" text="Printer Driver Wizard"/>
    <Text id="2" tooltip="Minimize"/>
    <Text id="3" text="" tooltip="Close"/>
    <Text id="x" text="not a number"/>
    <Text id="4 " text="not a number either"/>
    <Text id="1" text="a second entry 1"/>
</Language>
)";
const std::string kMainFrameGerman =
    R"(<Language isocode="de"><Text id="1" text="Druckertreiber-Assistent"/></Language>)";
const std::string kPortEnglish =
    R"(<Language><Text id="10" text="USB" tooltip="A printer on a USB cable"/></Language>)";

struct LayoutCase {
    const wchar_t* language;
    const wchar_t* layout;
    int resourceId;
    std::optional<std::wstring> text;
    std::optional<std::wstring> tooltip;
    bool found = true;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << text::toUtf8(c.language) << " " << text::toUtf8(c.layout) << " #" << c.resourceId;
}

class LayoutTranslation : public ::testing::TestWithParam<LayoutCase> {
protected:
    static void SetUpTestSuite() {
        bytes_ = buildZip({{"Lang/English/StringResource.lng", "<Language/>"},
                           {"Lang/English/MainFrame.lng", kMainFrameEnglish},
                           {"Lang/English/form_printer_port.lng", kPortEnglish},
                           {"Lang/German/MainFrame.lng", kMainFrameGerman},
                           {"Lang/Broken/MainFrame.lng", "<Language><Text id=\"1\" text=\"x\">"}});
        ASSERT_FALSE(bytes_.empty());
    }
    static std::vector<std::uint8_t> bytes_;
};

std::vector<std::uint8_t> LayoutTranslation::bytes_;

TEST_P(LayoutTranslation, GivesTheTextsOfTheLayoutsFileInTheCurrentLanguage) {
    const auto& c = GetParam();
    SkinArchive skin;
    ASSERT_EQ(skin.open(bytes_), ports::winerr::Success);
    CLanguage language(skin);
    // Built once in English first, so that a later language must not reuse the English tables.
    language.setLanguage(L"Lang\\English", L"English");
    ASSERT_TRUE(language.layoutText(L"MainFrame.xml", 1));
    ASSERT_TRUE(language.layoutText(L"form_printer_port.xml", 10));
    language.setLanguage(std::wstring(L"Lang\\") + c.language, c.language);

    const auto got = language.layoutText(c.layout, c.resourceId);
    ASSERT_EQ(got.has_value(), c.found);
    if (got) {
        EXPECT_EQ(got->text, c.text);
        EXPECT_EQ(got->tooltip, c.tooltip);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LayoutTranslation,
    ::testing::Values(LayoutCase{L"English", L"MainFrame.xml", 1, L"Printer Driver Wizard", std::nullopt},
                      LayoutCase{L"English", L"MainFrame", 1, L"Printer Driver Wizard", std::nullopt},
                      LayoutCase{L"English", L"mainframe.XML", 1, L"Printer Driver Wizard", std::nullopt},
                      LayoutCase{L"English", L"MainFrame.xml", 2, std::nullopt, L"Minimize"},
                      LayoutCase{L"English", L"MainFrame.xml", 3, L"", L"Close"},
                      LayoutCase{L"English", L"MainFrame.xml", 4, {}, {}, false},
                      LayoutCase{L"English", L"MainFrame.xml", 99, {}, {}, false},
                      LayoutCase{L"English", L"form_printer_port.xml", 10, L"USB",
                                 L"A printer on a USB cable"},
                      LayoutCase{L"English", L"form_main.xml", 1, {}, {}, false},
                      LayoutCase{L"German", L"MainFrame.xml", 1, L"Druckertreiber-Assistent", std::nullopt},
                      LayoutCase{L"German", L"MainFrame.xml", 2, {}, {}, false},
                      LayoutCase{L"German", L"form_printer_port.xml", 10, {}, {}, false},
                      LayoutCase{L"Broken", L"MainFrame.xml", 1, {}, {}, false},
                      LayoutCase{L"Klingon", L"MainFrame.xml", 1, {}, {}, false}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(Language, ReadsALayoutsFileOnceUntilAskedToReloadIt) {
    FakeSkin skin;
    const std::wstring english = L"Lang\\English\\MainFrame.lng";
    const std::wstring german = L"Lang\\German\\MainFrame.lng";
    skin.files[english] = R"(<Language><Text id="1" text="Wizard"/></Language>)";
    skin.files[german] = R"(<Language><Text id="1" text="Assistent"/></Language>)";
    CLanguage language(skin);
    language.setLanguage(L"Lang\\English", L"English");

    EXPECT_EQ(language.layoutText(L"MainFrame.xml", 1)->text, L"Wizard");
    EXPECT_EQ(language.layoutText(L"MainFrame.xml", 2), std::nullopt);
    EXPECT_EQ(skin.reads[english], 1);

    skin.files[english] = R"(<Language><Text id="1" text="Setup"/></Language>)";
    EXPECT_EQ(language.layoutText(L"MainFrame.xml", 1)->text, L"Wizard");
    EXPECT_EQ(language.reloadLayout(L"MainFrame.xml"), ports::winerr::Success);
    EXPECT_EQ(language.layoutText(L"MainFrame.xml", 1)->text, L"Setup");
    EXPECT_EQ(skin.reads[english], 2);

    language.setLanguage(L"Lang\\German", L"German");
    EXPECT_EQ(language.layoutText(L"MainFrame.xml", 1)->text, L"Assistent");
    language.setLanguage(L"Lang\\English", L"English");
    EXPECT_EQ(language.layoutText(L"MainFrame.xml", 1)->text, L"Setup");
    EXPECT_EQ(skin.reads[english], 2);
    EXPECT_EQ(skin.reads[german], 1);

    skin.files.erase(english);
    EXPECT_EQ(language.reloadLayout(L"MainFrame.xml"), ports::winerr::FileNotFound);
    EXPECT_EQ(language.layoutText(L"MainFrame.xml", 1), std::nullopt);
}

} // namespace
