// The layouts shipped in the program's skin archive build without errors and carry the controls the
// pages look for.
#include "app/skin/SkinArchive.h"
#include "base/Utf.h"
#include "support/TestMachine.h"
#include "ui/core/Controls.h"
#include "ui/headless/HeadlessBackend.h"
#include "wizard/SkinLayouts.h"
#include "unit/wizard/ShippedLayouts.h"

#include <gtest/gtest.h>

TEST(ShippedSkin, TheMainWindowBuildsWithTheControlsThePagesFind) {
    wizard_test::ShippedLayouts skin;
    auto window = skin.load(L"MainFrame.xml");
    ASSERT_TRUE(window);
    auto& w = *window;
    EXPECT_EQ(w.initialSize(), (ui::Size{560, 400}));
    for (const wchar_t* name :
         {L"tab_main", L"mainframe_label_version", L"label_debug", L"windowdeviceinfobtn", L"windowlangbtn",
          L"windowaboutbtn", L"windowminbtn", L"windowclosebtn", L"form_main", L"chk_install_driver",
          L"chk_update_driver", L"chk_uninstall_driver", L"process_form_main",
          L"btn_form_main_device_manager1", L"btn_form_main_device_manager2", L"btn_form_main_next",
          L"btn_form_main_cancel"})
        EXPECT_NE(w.find(name), nullptr) << text::toUtf8(name);

    // Laid out in the window's size: the title bar 27 pixels high, the progress bar 3, the buttons
    // inside the window.
    ui::headless::FixedMetrics metrics;
    ui::applyLayout(w, ui::computeLayout(w, w.initialSize(), 1.0, metrics));
    EXPECT_EQ(w.find(L"titlebar")->rect(), (ui::Rect{0, 0, 560, 27}));
    EXPECT_EQ(w.find(L"process_form_main")->rect().height(), 3);
    auto next = w.find(L"btn_form_main_next")->rect();
    auto cancel = w.find(L"btn_form_main_cancel")->rect();
    EXPECT_LT(next.right, cancel.left);
    EXPECT_LE(cancel.right, 560);
    EXPECT_LE(cancel.bottom, 400);
    EXPECT_GT(next.top, w.find(L"chk_uninstall_driver")->rect().bottom);
}
