// Orvello.exe under Wine on a virtual display, driven through its automation channel on 127.0.0.1:
// the main page as the user meets it, the debug switch, the automatic Next and what cancels it, and
// Esc/Cancel ending the program with 0.
#include "GuiClient.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace gui {
namespace {

using namespace std::chrono_literals;

TEST_F(Gui, TheMainPageShowsItsThreeOptionsAndButtonsInsideTheWindow) {
    auto controls = program->controls();
    program->screenshot("main-page");
    for (const char* name : {"chk_install_driver", "chk_update_driver", "chk_uninstall_driver",
                             "btn_form_main_next", "btn_form_main_cancel", "label_title"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(controls.count(name));
        const ControlLine& c = controls[name];
        EXPECT_TRUE(c.shown && c.enabled);
        EXPECT_FALSE(c.text.empty());
        EXPECT_GE(c.left, 0);
        EXPECT_LT(c.left, c.right);
        EXPECT_LT(c.top, c.bottom);
        EXPECT_LE(c.right, 560 * 2);
    }
    EXPECT_EQ(controls["chk_install_driver"].state, "1");
    EXPECT_EQ(program->ask("page"), std::vector<std::string>{"form_main"});
    EXPECT_TRUE(program->ask("key 27").empty());
    EXPECT_EQ(program->waitExit(), 0);
}

TEST_F(Gui, CtrlF9ShowsAndHidesTheDebugLabel) {
    EXPECT_TRUE(program->ask("key 120 ctrl").empty());
    EXPECT_EQ(program->controls()["label_debug"].text, "DEBUG");
    program->screenshot("debug");
    EXPECT_TRUE(program->ask("key 120 ctrl").empty());
    EXPECT_EQ(program->controls()["label_debug"].text, "");
    EXPECT_TRUE(program->ask("click btn_form_main_cancel").empty());
    EXPECT_EQ(program->waitExit(), 0);
}

TEST_F(Gui, TheAutomaticNextCountsWithoutInputAndAClickStopsIt) {
    // Counting runs for 1.5 s from the page's start; two readings apart show it moving.
    const int first = std::atoi(program->controls()["process_form_main"].state.c_str());
    std::this_thread::sleep_for(300ms);
    const int second = std::atoi(program->controls()["process_form_main"].state.c_str());
    if (first < 150)
        EXPECT_GT(second, first);
    EXPECT_TRUE(program->ask("click chk_update_driver").empty());
    auto controls = program->controls();
    EXPECT_EQ(controls["chk_update_driver"].state, "1");
    EXPECT_EQ(controls["chk_install_driver"].state, "0");
    EXPECT_EQ(controls["process_form_main"].state, "0");
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(program->controls()["process_form_main"].state, "0");
    program->screenshot("after-click");
    EXPECT_TRUE(program->ask("key 27").empty());
    EXPECT_EQ(program->waitExit(), 0);
}

} // namespace
} // namespace gui
