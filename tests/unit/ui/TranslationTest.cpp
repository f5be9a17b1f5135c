// Layout translations: applied when a layout is built, from each file's own table, and again when
// the language changes at run time.
#include "UiFixture.h"

#include <gtest/gtest.h>

#include <map>

using namespace ui;
using uitest::Skin;

namespace {

// Tables by layout file and resourceid; counts the questions.
struct Tables final : TranslationSource {
    std::map<std::pair<std::wstring, int>, TranslatedText> entries;
    int asked = 0;
    std::optional<TranslatedText> layoutText(std::wstring_view file, int id) override {
        ++asked;
        auto it = entries.find({std::wstring(file), id});
        if (it == entries.end())
            return std::nullopt;
        return it->second;
    }
};

Tables english() {
    Tables t;
    t.entries[{L"MainFrame.xml", 1}] = {L"Printer Driver Wizard", std::nullopt};
    t.entries[{L"MainFrame.xml", 2}] = {std::nullopt, L"Close"};
    t.entries[{L"form_main.xml", 1}] = {L"Install a printer", std::nullopt};
    t.entries[{L"form_main.xml", 4}] = {L"Next", std::nullopt};
    // An entry no control carries changes nothing.
    t.entries[{L"form_main.xml", 99}] = {L"Nobody", std::nullopt};
    return t;
}

} // namespace

TEST(Translations, AreAppliedFromTheTableOfEachControlsOwnFile) {
    Skin skin;
    Tables en = english();
    // Same id in another file: must not be taken for form_main's.
    en.entries[{L"form_printer_port.xml", 2}] = {L"Wrong file", std::nullopt};
    auto loaded = skin.load(L"MainFrame.xml", &en);
    ASSERT_TRUE(loaded.window);
    Window& w = *loaded.window;
    EXPECT_EQ(w.find(L"label_title")->text(), L"Printer Driver Wizard");
    EXPECT_EQ(w.find(L"windowclosebtn")->tooltip(), L"Close");
    EXPECT_EQ(w.find(L"chk_install_driver")->text(), L"Install a printer");
    EXPECT_EQ(w.find(L"btn_form_main_next")->text(), L"Next");
    // No entry: the layout's own text.
    EXPECT_EQ(w.find(L"chk_update_driver")->text(), L"升级驱动");
    // Only controls with a resourceid are looked up: two in MainFrame, five in form_main.
    EXPECT_EQ(en.asked, 7);
}

TEST(Translations, SwitchingAppliesTheNewLanguageAndFallsBackToTheLayoutsText) {
    Skin skin;
    Tables en = english();
    auto loaded = skin.load(L"MainFrame.xml", &en);
    ASSERT_TRUE(loaded.window);
    Window& w = *loaded.window;

    Tables de;
    de.entries[{L"form_main.xml", 4}] = {L"Weiter", std::nullopt};
    de.entries[{L"MainFrame.xml", 2}] = {std::nullopt, L"Schließen"};
    EXPECT_EQ(applyTranslations(w, &de), 2u);
    EXPECT_EQ(w.find(L"btn_form_main_next")->text(), L"Weiter");
    EXPECT_EQ(w.find(L"windowclosebtn")->tooltip(), L"Schließen");
    // English had these; German has not: back to the layout's texts, not left in English.
    EXPECT_EQ(w.find(L"label_title")->text(), L"打印机驱动向导");
    EXPECT_EQ(w.find(L"chk_install_driver")->text(), L"安装打印机");

    // No language at all: every text as the layout wrote it.
    applyTranslations(w, nullptr);
    EXPECT_EQ(w.find(L"btn_form_main_next")->text(), L"下一步");
    EXPECT_EQ(w.find(L"windowclosebtn")->tooltip(), L"关闭");
}

TEST(Translations, ACaptionPartlyTranslatedKeepsTheOtherPart) {
    Skin skin;
    Tables t;
    t.entries[{L"MainFrame.xml", 2}] = {L"X", std::nullopt}; // text only: the tooltip stays
    auto loaded = skin.load(L"MainFrame.xml", &t);
    ASSERT_TRUE(loaded.window);
    EXPECT_EQ(loaded.window->find(L"windowclosebtn")->text(), L"X");
    EXPECT_EQ(loaded.window->find(L"windowclosebtn")->tooltip(), L"关闭");
}
