// The keyboard conventions decided on the model: which controls Tab visits and which button Enter
// and Esc press, on the shown page only.
#include "UiFixture.h"

#include "ui/core/Controls.h"
#include "ui/core/Keyboard.h"

#include <gtest/gtest.h>

using namespace ui;
using uitest::Skin;

namespace {

std::vector<std::wstring> names(const std::vector<Control*>& controls) {
    std::vector<std::wstring> out;
    for (auto* c : controls)
        out.push_back(c->name());
    return out;
}

struct KeyboardTest : testing::Test {
    void SetUp() override {
        auto loaded = Skin().load();
        ASSERT_TRUE(loaded.window);
        window = std::move(loaded.window);
    }
    std::unique_ptr<Window> window;
};

TEST_F(KeyboardTest, TabVisitsShownEnabledInputsOfTheSelectedPageInLayoutOrder) {
    window->find(L"chk_update_driver")->setEnabled(false);
    EXPECT_EQ(names(tabOrder(*window)),
              (std::vector<std::wstring>{L"windowclosebtn", L"chk_install_driver", L"chk_uninstall_driver",
                                         L"btn_form_main_next", L"btn_form_main_cancel"}));
    static_cast<Tab*>(window->find(L"tab_main"))->select(L"form_printer_port");
    window->find(L"titlebar")->setVisible(false);
    // Labels, progress bars and pictures take no input.
    EXPECT_EQ(names(tabOrder(*window)),
              (std::vector<std::wstring>{L"grid_printer_port", L"text_ip_address", L"combo_port"}));
}

TEST_F(KeyboardTest, EnterAndEscPressTheShownPagesNextAndCancel) {
    EXPECT_EQ(keyButton(*window, KeyRole::Next), window->find(L"btn_form_main_next"));
    EXPECT_EQ(keyButton(*window, KeyRole::Cancel), window->find(L"btn_form_main_cancel"));
    window->find(L"btn_form_main_next")->setEnabled(false);
    EXPECT_EQ(keyButton(*window, KeyRole::Next), nullptr);
    static_cast<Tab*>(window->find(L"tab_main"))->select(L"form_printer_port");
    EXPECT_EQ(keyButton(*window, KeyRole::Cancel), nullptr);
}

} // namespace
