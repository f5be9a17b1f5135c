// Layouts read from a real skin archive, translated by the language's .lng files, and switched at
// run time; translation files with bad lines lose those lines only.
#include "unit/language/ZipBuilder.h"
#include "unit/ui/UiFixture.h"

#include "app/language/Language.h"
#include "app/skin/SkinArchive.h"
#include "base/Utf.h"
#include "wizard/SkinLayouts.h"

#include <gtest/gtest.h>

using testing_support::buildZip;

namespace {

class TranslatedSkin : public testing::Test {
protected:
    void SetUp() override {
        bytes_ = buildZip({
            {"config.xml", uitest::kConfig},
            {"MainFrame.xml", uitest::kMainFrame},
            {"form_main.xml", uitest::kFormMain},
            {"form_printer_port.xml", uitest::kFormPort},
            // Bad lines among good ones: an id that is no number, no id, an id no control has.
            {"Lang/English/MainFrame.lng", R"(<?xml version="1.0" encoding="UTF-8"?>
<Language isocode="en">
  <Text id="x1" text="bad id"/>
  <Text text="no id"/>
  <Text id="1" text="Printer Driver Wizard"/>
  <Text id="77" text="no such control"/>
  <Text id="2" tooltip="Close"/>
</Language>)"},
            {"Lang/English/form_main.lng", R"(<Language><Text id="4" text="Next"/></Language>)"},
            {"Lang/German/form_main.lng", R"(<Language><Text id="4" text="Weiter"/></Language>)"},
            // Not a translation file at all: the layout keeps its texts.
            {"Lang/German/MainFrame.lng", "<Language><Text id=\"1\" text=\"broken\"></Language"},
        });
        ASSERT_FALSE(bytes_.empty());
        ASSERT_EQ(archive_.open(bytes_), ports::winerr::Success);
        (void)language_.setLanguage(L"Lang\\English", L"English");
        window_ = loadMain();
        ASSERT_TRUE(window_);
    }

    // The main window, translated by the current language.
    std::unique_ptr<ui::Window> loadMain() {
        auto loaded = ui::LayoutLoader(reader_, factory_, &translations_).loadWindow(L"MainFrame.xml");
        if (!loaded.window)
            ADD_FAILURE() << text::toUtf8(loaded.error->describe());
        return std::move(loaded.window);
    }

    std::vector<std::uint8_t> bytes_;
    SkinArchive archive_;
    wizard::SkinLayoutReader reader_{archive_};
    ui::ControlFactory factory_;
    CLanguage language_{archive_};
    wizard::LanguageTranslations translations_{language_};
    std::unique_ptr<ui::Window> window_;
};

} // namespace

TEST_F(TranslatedSkin, GoodLinesApplyAndBadLinesAreSkipped) {
    auto& w = *window_;
    EXPECT_EQ(w.find(L"label_title")->text(), L"Printer Driver Wizard");
    EXPECT_EQ(w.find(L"windowclosebtn")->tooltip(), L"Close");
    EXPECT_EQ(w.find(L"btn_form_main_next")->text(), L"Next");
    EXPECT_EQ(w.find(L"btn_form_main_cancel")->text(), L"取消");
}

TEST_F(TranslatedSkin, SwitchingTheLanguageReappliesToTheLiveWindow) {
    auto& w = *window_;

    (void)language_.setLanguage(L"Lang\\German", L"German");
    translations_.reapply(w);
    EXPECT_EQ(w.find(L"btn_form_main_next")->text(), L"Weiter");
    // German's MainFrame table is unreadable: the layout's own texts, not English left over.
    EXPECT_EQ(w.find(L"label_title")->text(), L"打印机驱动向导");
    EXPECT_EQ(w.find(L"windowclosebtn")->tooltip(), L"关闭");

    (void)language_.setLanguage(L"Lang\\English", L"English");
    translations_.reapply(w);
    EXPECT_EQ(w.find(L"btn_form_main_next")->text(), L"Next");
    EXPECT_EQ(w.find(L"label_title")->text(), L"Printer Driver Wizard");
}

TEST_F(TranslatedSkin, AMissingLayoutInTheArchiveIsAnErrorNamingIt) {
    auto loaded = ui::LayoutLoader(reader_, factory_, nullptr).loadWindow(L"DlgAbout.xml");
    EXPECT_FALSE(loaded.window);
    ASSERT_TRUE(loaded.error);
    EXPECT_EQ(loaded.error->describe(), L"DlgAbout.xml: layout file not found");
}
