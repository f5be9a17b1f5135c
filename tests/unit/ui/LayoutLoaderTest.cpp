// Building windows from layout documents: the shared config, child layouts, names, tabs, and the
// errors of layouts that are missing, broken or name what does not exist.
#include "UiFixture.h"

#include "base/Utf.h"
#include "ui/core/Controls.h"
#include "ui/core/Grid.h"

#include <gtest/gtest.h>

using namespace ui;
using uitest::Skin;

TEST(LayoutLoader, BuildsTheWindowWithItsChildLayoutsAndConfig) {
    Skin skin;
    auto loaded = skin.load();
    ASSERT_FALSE(loaded.error) << text::toUtf8(loaded.error->describe());
    Window& w = *loaded.window;
    EXPECT_EQ(w.initialSize(), (Size{560, 400}));
    EXPECT_EQ(w.captionHeight(), 27);
    ASSERT_EQ(w.fonts().size(), 2u);
    EXPECT_TRUE(w.fonts()[1].bold);

    auto* tab = w.findAs<Tab>(L"tab_main");
    ASSERT_NE(tab, nullptr);
    ASSERT_EQ(tab->children().size(), 2u);
    // Each page is the root of its own file, named after it.
    EXPECT_EQ(tab->children()[0]->name(), L"form_main");
    EXPECT_EQ(tab->children()[0]->layoutFile(), L"form_main.xml");
    EXPECT_EQ(tab->children()[1]->name(), L"form_printer_port");
    EXPECT_EQ(tab->selected()->name(), L"form_main");

    // The class default, the named style, and the element's own attribute over both.
    auto* next = w.findAs<Button>(L"btn_form_main_next");
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->sizeRules().width, 90);
    EXPECT_EQ(next->sizeRules().height, 30);
    auto* close = w.find(L"windowclosebtn");
    EXPECT_EQ(close->sizeRules().width, 27);
    auto* title = w.find(L"label_title");
    EXPECT_EQ(title->font(), 1);
    EXPECT_EQ(title->look().at("textcolor"), L"#FF0000");
    EXPECT_EQ(title->text(), L"打印机驱动向导");

    auto* grid = w.findAs<Grid>(L"grid_printer_port");
    ASSERT_NE(grid, nullptr);
    EXPECT_TRUE(grid->hasCheckBoxes());
    EXPECT_EQ(grid->columns(), (std::vector<Grid::Column>{{L"名称", 120}, {L"端口", 80}}));
    auto* combo = w.findAs<Combo>(L"combo_port");
    EXPECT_EQ(combo->items(), (std::vector<std::wstring>{L"COM1", L"LPT1"}));
    auto* pic = w.findAs<AnimatedPicture>(L"pic_search");
    EXPECT_EQ(pic->frames().size(), 2u);
    EXPECT_EQ(pic->delayMs(), 200u);
}

TEST(LayoutLoader, FindsControlsAndSelectsTabsWithoutRegardToCase) {
    Skin skin;
    auto loaded = skin.load();
    ASSERT_TRUE(loaded.window);
    Window& w = *loaded.window;
    EXPECT_EQ(w.find(L"BTN_FORM_MAIN_NEXT"), w.find(L"btn_form_main_next"));
    EXPECT_EQ(w.find(L"no_such_control"), nullptr);
    // A typed lookup of the wrong class finds nothing.
    EXPECT_EQ(w.findAs<Grid>(L"btn_form_main_next"), nullptr);

    auto& tab = *w.findAs<Tab>(L"tab_main");
    auto* port = w.find(L"grid_printer_port");
    EXPECT_FALSE(port->isShown());
    EXPECT_TRUE(tab.select(L"FORM_Printer_Port"));
    EXPECT_EQ(tab.selected()->name(), L"form_printer_port");
    EXPECT_TRUE(port->isShown());
    EXPECT_FALSE(w.find(L"btn_form_main_next")->isShown());
    EXPECT_FALSE(tab.select(L"form_nowhere"));
    EXPECT_EQ(tab.selected()->name(), L"form_printer_port");
}

TEST(LayoutLoader, AProgramClassJoinsTheFactory) {
    Skin skin;
    skin.factory.add(L"MsgWnd2", [] { return std::make_unique<RichEdit>(L"MsgWnd2"); });
    skin.files.set(L"form_main.xml",
                   R"(<VerticalLayout><MsgWnd2 name="text_setup_msg" font="0"/></VerticalLayout>)");
    auto loaded = skin.load();
    ASSERT_TRUE(loaded.window) << text::toUtf8(loaded.error->describe());
    auto* log = loaded.window->findAs<RichEdit>(L"text_setup_msg");
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(log->className(), L"MsgWnd2");
}

struct BadLayout {
    const char* what;
    const char* file;  // the file replaced ...
    const char* bytes; // ... by this (null: removed)
    const char* errorFile;
    int line;
    const char* message; // part of the message
};

class LayoutLoaderErrors : public testing::TestWithParam<BadLayout> {};

TEST_P(LayoutLoaderErrors, NameTheFileAndLineAndGiveNoWindow) {
    const auto& c = GetParam();
    Skin skin;
    if (c.bytes)
        skin.files.set(text::fromUtf8(c.file), c.bytes);
    else
        skin.files.remove(text::fromUtf8(c.file));
    auto loaded = skin.load();
    EXPECT_EQ(loaded.window, nullptr);
    ASSERT_TRUE(loaded.error);
    EXPECT_EQ(loaded.error->file, text::fromUtf8(c.errorFile));
    EXPECT_EQ(loaded.error->line, c.line);
    EXPECT_NE(loaded.error->message.find(text::fromUtf8(c.message)), std::wstring::npos)
        << text::toUtf8(loaded.error->describe());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LayoutLoaderErrors,
    testing::Values(
        BadLayout{"missing window", "MainFrame.xml", nullptr, "MainFrame.xml", 0, "not found"},
        BadLayout{"missing child layout", "form_printer_port.xml", nullptr, "MainFrame.xml", 11,
                  "'form_printer_port.xml' not found"},
        BadLayout{"missing config", "config.xml", nullptr, "MainFrame.xml", 3, "'config.xml' not found"},
        BadLayout{"not well-formed", "form_main.xml",
                  "<VerticalLayout>\n  <Button name=\"a\">\n</VerticalLayout>", "form_main.xml", 3,
                  "not well-formed"},
        BadLayout{"unknown control", "form_main.xml",
                  "<VerticalLayout>\n\n  <Buton name=\"a\"/>\n</VerticalLayout>", "form_main.xml", 3,
                  "unknown control 'Buton'"},
        BadLayout{"unknown attribute", "form_main.xml",
                  "<VerticalLayout>\n  <Button nmae=\"a\"/>\n</VerticalLayout>", "form_main.xml", 2,
                  "unknown attribute 'nmae'"},
        BadLayout{"bad value", "form_main.xml",
                  "<VerticalLayout>\n  <Button width=\"wide\"/>\n</VerticalLayout>", "form_main.xml", 2,
                  "bad value 'wide'"},
        BadLayout{"unknown style", "form_main.xml",
                  "<VerticalLayout>\n  <Label style=\"nope\"/>\n</VerticalLayout>", "form_main.xml", 2,
                  "unknown style 'nope'"},
        BadLayout{"undefined font", "form_main.xml",
                  "<VerticalLayout>\n  <Label font=\"7\"/>\n</VerticalLayout>", "form_main.xml", 2,
                  "font 7 is not defined"},
        BadLayout{"control inside a leaf", "form_main.xml",
                  "<VerticalLayout>\n  <Button>\n    <Label/>\n  </Button>\n</VerticalLayout>",
                  "form_main.xml", 3, "'Button' cannot hold controls"},
        BadLayout{"item of another class", "form_main.xml",
                  "<VerticalLayout>\n  <Grid>\n    <Item text=\"x\"/>\n  </Grid>\n</VerticalLayout>",
                  "form_main.xml", 3, "'Item' cannot be placed in 'Grid'"},
        BadLayout{"bad style value in config", "config.xml",
                  "<Config>\n  <Font id=\"0\"/>\n  <Style name=\"title\" width=\"x\"/>\n</Config>",
                  "config.xml", 3, "bad value 'x'"},
        BadLayout{"window that is no window", "MainFrame.xml", "<VerticalLayout/>", "MainFrame.xml", 1,
                  "must be Window"},
        BadLayout{"layout including itself", "form_main.xml",
                  "<VerticalLayout>\n  <ChildLayout source=\"form_main.xml\"/>\n</VerticalLayout>",
                  "form_main.xml", 2, "includes itself"},
        BadLayout{"two roots", "form_main.xml", "<VerticalLayout/>\n<Label/>", "form_main.xml", 2,
                  "exactly one control at its root"}),
    [](const testing::TestParamInfo<BadLayout>& info) {
        std::string name;
        for (const char* p = info.param.what; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });
