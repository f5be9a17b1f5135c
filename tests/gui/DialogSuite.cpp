// The title bar's dialogs under Wine: the about dialog shows the shipped catalogue's version, and the
// language dialog switches the main page's texts to the chosen language's table at once and back.
// Every text checked is drawn with a font that has its glyphs (CJK, Thai and Arabic included), and
// each language's main page and dialogs are screenshot.
#include "GuiClient.h"
#include "SkinTexts.h"

#include <span>

namespace gui {
namespace {

// Opens a title-bar dialog and waits until `control` (one of its own) shows.
Controls openDialog(Program& program, const std::string& button, const std::string& control) {
    EXPECT_TRUE(program.ask("press " + button).empty()) << button;
    Controls controls = program.waitForControl(control);
    EXPECT_TRUE(controls.count(control)) << button << " opened no dialog with " << control;
    return controls;
}

// Closes the dialog on top with `button` and waits for the main page again.
void closeDialog(Program& program, const std::string& button) {
    EXPECT_TRUE(program.ask("click " + button).empty()) << button;
    EXPECT_TRUE(program.waitForControl("chk_install_driver").count("chk_install_driver"))
        << "dialog still open";
}

// Controls whose caption comes from a table, by the table's file and the id.
struct Translated {
    const char* control;
    const char* file;
    int id;
};

const Translated kMainPage[] = {
    {"label_title", "MainFrame", 1},          {"text_form_main_title", "form_main", 1},
    {"chk_install_driver", "form_main", 2},   {"chk_update_driver", "form_main", 3},
    {"chk_uninstall_driver", "form_main", 4}, {"btn_form_main_next", "form_main", 7},
    {"btn_form_main_cancel", "form_main", 8},
};
const Translated kAbout[] = {{"label_about_title", "DlgAbout", 1}, {"btn_ok", "DlgAbout", 3}};
const Translated kLanguage[] = {{"label_language_title", "DlgSoftLanguage", 1}};

// No character of the control's text lacks a glyph in the font it is drawn with (no boxes).
void expectDrawable(Program& program, const std::string& control) {
    EXPECT_EQ(program.ask("missing " + control), std::vector<std::string>{"0"}) << control << " shows boxes";
}

void expectTranslated(Program& program, Controls& controls, const std::string& language,
                      std::span<const Translated> table) {
    for (const Translated& t : table) {
        SCOPED_TRACE(std::string(t.control) + " in " + language);
        const std::string expected = lngTexts(language, t.file)[t.id];
        ASSERT_FALSE(expected.empty()) << t.file << ".lng has no text " << t.id;
        ASSERT_TRUE(controls.count(t.control));
        EXPECT_EQ(controls[t.control].text, expected);
        EXPECT_TRUE(controls[t.control].shown);
        expectDrawable(program, t.control);
    }
}

TEST_F(Gui, TheAboutDialogShowsTheShippedCatalogueVersion) {
    const std::string version = shippedCatalogueVersion();
    ASSERT_FALSE(version.empty()) << "resources/catalogue.xml has no version";
    Controls about = openDialog(*program, "windowaboutbtn", "label_version");
    EXPECT_EQ(about["label_version"].text, version);
    EXPECT_TRUE(about["label_version"].shown);
    EXPECT_FALSE(about.count("chk_install_driver")) << "the requests should reach the dialog, not the page";
    closeDialog(*program, "btn_ok");
    EXPECT_EQ(program->ask("page"), std::vector<std::string>{"form_main"});
    EXPECT_TRUE(program->ask("key 27").empty());
    EXPECT_EQ(program->waitExit(), 0);
}

// Chinese first (the layouts' own language, so a text left untranslated cannot pass for English),
// then scripts that need their own fonts and shaping, and English last: the way back.
TEST_F(Gui, TheLanguageDialogSwitchesTheMainPageAndItsDialogsAtOnce) {
    const std::string version = shippedCatalogueVersion();
    for (const std::string language : {"ChineseSimplified", "Japanese", "Thai", "Arabic", "English"}) {
        SCOPED_TRACE(language);
        const std::string option = "menu_lang_" + language;
        openDialog(*program, "windowlangbtn", option);
        EXPECT_TRUE(program->ask("click " + option).empty());
        Controls dialog = program->controls();
        EXPECT_EQ(dialog[option].state, "1");
        expectTranslated(*program, dialog, language, kLanguage);
        for (const auto& [name, control] : dialog)
            if (name.starts_with("menu_lang_"))
                expectDrawable(*program, name); // every language's own name
        program->screenshot("language-" + language);
        closeDialog(*program, "windowclosebtn");

        Controls main = program->controls();
        expectTranslated(*program, main, language, kMainPage);
        program->screenshot("main-" + language);

        Controls about = openDialog(*program, "windowaboutbtn", "label_version");
        expectTranslated(*program, about, language, kAbout);
        EXPECT_EQ(about["label_version"].text, version);
        program->screenshot("about-" + language);
        closeDialog(*program, "btn_ok");
    }
    EXPECT_EQ(program->ask("page"), std::vector<std::string>{"form_main"});
    EXPECT_TRUE(program->ask("click btn_form_main_cancel").empty());
    EXPECT_EQ(program->waitExit(), 0);
}

} // namespace
} // namespace gui
