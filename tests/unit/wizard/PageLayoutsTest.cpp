// Every page of the main window's tab, built from the shipped layouts: the controls the page objects
// look for, of the kind they expect, on the page they belong to, with names unique in the window, and
// every page fitting the 560 x 400 frame.
#include "base/Compare.h"
#include "ui/core/Containers.h"
#include "ui/core/Grid.h"
#include "ui/core/Layout.h"
#include "ui/headless/HeadlessBackend.h"
#include "unit/wizard/ShippedLayouts.h"

#include <map>

namespace {

struct Expected {
    const wchar_t* page;
    const wchar_t* name;
    const wchar_t* kind;
};

// The tab's pages in the order of the tab.
constexpr const wchar_t* kPages[] = {
    L"form_main",
    L"form_printer_port",
    L"form_custom_port",
    L"form_custom_printer_mode",
    L"form_printer_mode",
    L"form_printer_mode2",
    L"form_printer_bluetooth",
    L"form_printer_driver",
    L"form_printer_search",
    L"form_printer_manufacturer",
    L"form_printer_name",
    L"form_setup_prepare",
    L"form_setup_end",
    L"form_delete_printer",
    L"form_delete_driver",
    L"form_delete_prepare",
    L"form_update_driver",
    L"form_update_prepare",
    L"form_printer_tcpmon",
    L"form_printer_udp",
};

// clang-format off
constexpr Expected kControls[] = {
    {L"form_main", L"chk_install_driver", L"Option"},
    {L"form_main", L"chk_update_driver", L"Option"},
    {L"form_main", L"chk_uninstall_driver", L"Option"},
    {L"form_main", L"process_form_main", L"Progress"},
    {L"form_main", L"btn_form_main_device_manager1", L"Button"},
    {L"form_main", L"btn_form_main_device_manager2", L"Button"},
    {L"form_main", L"btn_form_main_next", L"Button"},
    {L"form_main", L"btn_form_main_cancel", L"Button"},
    {L"form_printer_port", L"chk_port_usb", L"Option"},
    {L"form_printer_port", L"chk_port_net", L"Option"},
    {L"form_printer_port", L"chk_port_blue_tooth", L"Option"},
    {L"form_printer_port", L"chk_port_blue_tooth_adapter", L"Option"},
    {L"form_printer_port", L"chk_port_parallel_port", L"Option"},
    {L"form_printer_port", L"chk_port_serial_port", L"Option"},
    {L"form_printer_port", L"chk_port_custom", L"Option"},
    {L"form_printer_port", L"process_form_printer_port", L"Progress"},
    {L"form_printer_port", L"btn_form_printer_port_pre", L"Button"},
    {L"form_printer_port", L"btn_form_printer_port_next", L"Button"},
    {L"form_printer_port", L"btn_form_printer_port_cancel", L"Button"},
    {L"form_custom_port", L"grid_custom_port", L"Grid"},
    {L"form_custom_port", L"btn_add_port", L"Button"},
    {L"form_custom_port", L"btn_delete_port", L"Button"},
    {L"form_custom_port", L"btn_configure_port", L"Button"},
    {L"form_custom_port", L"btn_port_manager", L"Button"},
    {L"form_custom_port", L"btn_form_custom_port_pre", L"Button"},
    {L"form_custom_port", L"btn_form_custom_port_next", L"Button"},
    {L"form_custom_port", L"btn_form_custom_port_cancel", L"Button"},
    {L"form_custom_printer_mode", L"grid_custom_printer_mode", L"Grid"},
    {L"form_custom_printer_mode", L"text_custom_printer_mode_find_key", L"Edit"},
    {L"form_custom_printer_mode", L"btn_form_custom_printer_mode_pre", L"Button"},
    {L"form_custom_printer_mode", L"btn_form_custom_printer_mode_next", L"Button"},
    {L"form_custom_printer_mode", L"btn_form_custom_printer_mode_cancel", L"Button"},
    {L"form_printer_mode", L"grid_printer_mode", L"Grid"},
    {L"form_printer_mode", L"btn_form_printer_mode_pre", L"Button"},
    {L"form_printer_mode", L"btn_form_printer_mode_next", L"Button"},
    {L"form_printer_mode", L"btn_form_printer_mode_cancel", L"Button"},
    {L"form_printer_mode2", L"grid_printer_mode2", L"Grid"},
    {L"form_printer_mode2", L"text_printer_mode2_find_key", L"Edit"},
    {L"form_printer_mode2", L"btn_form_printer_mode2_pre", L"Button"},
    {L"form_printer_mode2", L"btn_form_printer_mode2_next", L"Button"},
    {L"form_printer_mode2", L"btn_form_printer_mode2_cancel", L"Button"},
    {L"form_printer_bluetooth", L"pic_loading_search_bluetooth", L"AnimatedPicture"},
    {L"form_printer_bluetooth", L"grid_printer_bluetooth", L"Grid"},
    {L"form_printer_bluetooth", L"btn_form_printer_bluetooth_pre", L"Button"},
    {L"form_printer_bluetooth", L"btn_form_printer_bluetooth_next", L"Button"},
    {L"form_printer_bluetooth", L"btn_form_printer_bluetooth_cancel", L"Button"},
    {L"form_printer_driver", L"grid_form_printer_driver", L"Grid"},
    {L"form_printer_driver", L"text_form_printer_driver_find_key", L"Edit"},
    {L"form_printer_driver", L"btn_form_printer_driver_pre", L"Button"},
    {L"form_printer_driver", L"btn_form_printer_driver_next", L"Button"},
    {L"form_printer_driver", L"btn_form_printer_driver_cancel", L"Button"},
    {L"form_printer_search", L"pic_form_printer_search_loading", L"AnimatedPicture"},
    {L"form_printer_search", L"btn_form_printer_search_pre", L"Button"},
    {L"form_printer_search", L"btn_form_printer_search_cancel", L"Button"},
    {L"form_printer_manufacturer", L"grid_printer_manufacturer", L"Grid"},
    {L"form_printer_manufacturer", L"btn_form_printer_manufacturer_pre", L"Button"},
    {L"form_printer_manufacturer", L"btn_form_printer_manufacturer_next", L"Button"},
    {L"form_printer_manufacturer", L"btn_form_printer_manufacturer_cancel", L"Button"},
    {L"form_printer_name", L"text_printer_name", L"Edit"},
    {L"form_printer_name", L"chk_set_default_printer", L"CheckBox"},
    {L"form_printer_name", L"btn_form_printer_name_pre", L"Button"},
    {L"form_printer_name", L"btn_form_printer_name_next", L"Button"},
    {L"form_printer_name", L"btn_form_printer_name_cancel", L"Button"},
    {L"form_setup_prepare", L"td_driver_name", L"Label"},
    {L"form_setup_prepare", L"td_port", L"Label"},
    {L"form_setup_prepare", L"td_printer_name", L"Label"},
    {L"form_setup_prepare", L"td_is_default", L"Label"},
    {L"form_setup_prepare", L"btn_form_setup_prepare_pre", L"Button"},
    {L"form_setup_prepare", L"btn_form_setup_prepare_next", L"Button"},
    {L"form_setup_prepare", L"btn_form_setup_prepare_cancel", L"Button"},
    {L"form_setup_end", L"text_form_setup_end_title", L"Label"},
    {L"form_setup_end", L"text_setup_msg", L"MsgWnd2"},
    {L"form_setup_end", L"btn_form_setup_first", L"Button"},
    {L"form_setup_end", L"btn_form_setup_printer_document_properties", L"Button"},
    {L"form_setup_end", L"btn_form_setup_printer_device_properties", L"Button"},
    {L"form_setup_end", L"btn_form_setup_print_test_page", L"Button"},
    {L"form_setup_end", L"btn_form_setup_cancel", L"Button"},
    {L"form_delete_printer", L"text_delete_printer_find_key", L"Edit"},
    {L"form_delete_printer", L"grid_delete_printer", L"Grid"},
    {L"form_delete_printer", L"chk_list_all_printers", L"CheckBox"},
    {L"form_delete_printer", L"debug_form_delete_printer", L"HorizontalLayout"},
    {L"form_delete_printer", L"btn_debug_print_test_page", L"Button"},
    {L"form_delete_printer", L"btn_debug_document_properties", L"Button"},
    {L"form_delete_printer", L"btn_debug_device_properties", L"Button"},
    {L"form_delete_printer", L"btn_debug_devmode", L"Button"},
    {L"form_delete_printer", L"btn_debug_papers", L"Button"},
    {L"form_delete_printer", L"btn_debug_printer_device", L"Button"},
    {L"form_delete_printer", L"btn_delete_printer_pre", L"Button"},
    {L"form_delete_printer", L"btn_delete_printer_next", L"Button"},
    {L"form_delete_printer", L"btn_delete_printer_cancel", L"Button"},
    {L"form_delete_driver", L"text_delete_driver_find_key", L"Edit"},
    {L"form_delete_driver", L"grid_delete_driver", L"Grid"},
    {L"form_delete_driver", L"chk_list_all_drivers", L"CheckBox"},
    {L"form_delete_driver", L"debug_form_delete_driver", L"HorizontalLayout"},
    {L"form_delete_driver", L"btn_debug_driver_info", L"Button"},
    {L"form_delete_driver", L"btn_delete_driver_pre", L"Button"},
    {L"form_delete_driver", L"btn_delete_driver_next", L"Button"},
    {L"form_delete_driver", L"btn_delete_driver_cancel", L"Button"},
    {L"form_delete_prepare", L"text_prepare_delete", L"RichEdit"},
    {L"form_delete_prepare", L"btn_delete_prepare_pre", L"Button"},
    {L"form_delete_prepare", L"btn_delete_prepare_next", L"Button"},
    {L"form_delete_prepare", L"btn_delete_prepare_cancel", L"Button"},
    {L"form_update_driver", L"text_update_printer_find_key", L"Edit"},
    {L"form_update_driver", L"grid_update_printer_mode", L"Grid"},
    {L"form_update_driver", L"btn_update_driver_pre", L"Button"},
    {L"form_update_driver", L"btn_update_driver_next", L"Button"},
    {L"form_update_driver", L"btn_update_driver_cancel", L"Button"},
    {L"form_update_prepare", L"text_prepare_update", L"RichEdit"},
    {L"form_update_prepare", L"btn_update_prepare_pre", L"Button"},
    {L"form_update_prepare", L"btn_update_prepare_next", L"Button"},
    {L"form_update_prepare", L"btn_update_prepare_cancel", L"Button"},
    {L"form_printer_tcpmon", L"text_tcpmon_ip", L"Edit"},
    {L"form_printer_tcpmon", L"text_tcpmon_port_name", L"Edit"},
    {L"form_printer_tcpmon", L"btn_form_printer_tcpmon_pre", L"Button"},
    {L"form_printer_tcpmon", L"btn_form_printer_tcpmon_next", L"Button"},
    {L"form_printer_tcpmon", L"btn_form_printer_tcpmon_cancel", L"Button"},
    {L"form_printer_udp", L"pic_form_printer_udp_loading", L"AnimatedPicture"},
    {L"form_printer_udp", L"grid_printer_udp", L"Grid"},
    {L"form_printer_udp", L"btn_form_printer_udp_pre", L"Button"},
    {L"form_printer_udp", L"btn_form_printer_udp_next", L"Button"},
    {L"form_printer_udp", L"btn_form_printer_udp_cancel", L"Button"},
};
// clang-format on

void collectNamed(ui::Control& c, std::vector<ui::Control*>& out) {
    if (!c.name().empty())
        out.push_back(&c);
    for (auto& child : c.children())
        collectNamed(*child, out);
}

struct MainWindow : wizard_test::ShippedLayouts {
    std::unique_ptr<ui::Window> window = load(L"MainFrame.xml");
    ui::Tab* tab = window ? window->findAs<ui::Tab>(L"tab_main") : nullptr;
};

} // namespace

TEST(PageLayouts, TheTabHoldsEveryPageInOrderWithTheControlsOfEach) {
    MainWindow w;
    ASSERT_NE(w.tab, nullptr);
    ASSERT_EQ(w.tab->children().size(), std::size(kPages));
    for (std::size_t i = 0; i < std::size(kPages); ++i)
        EXPECT_EQ(w.tab->children()[i]->name(), kPages[i]) << i;
    EXPECT_EQ(w.tab->selected()->name(), L"form_main");

    for (const auto& e : kControls) {
        SCOPED_TRACE(text::toUtf8(std::wstring(e.page) + L"/" + e.name));
        ui::Control* page = w.tab->find(e.page);
        ASSERT_NE(page, nullptr);
        ASSERT_EQ(page->parent(), w.tab);
        ui::Control* control = page->find(e.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->className(), e.kind);
    }
    // The grids' first column holds the check box the pages mark rows with.
    for (const auto& e : kControls)
        if (std::wstring_view(e.kind) == L"Grid") {
            auto* grid = w.window->findAs<ui::Grid>(e.name);
            ASSERT_NE(grid, nullptr);
            EXPECT_TRUE(grid->hasCheckBoxes()) << text::toUtf8(e.name);
        }
}

// The frame and the pages find controls by name in the whole window: a name used twice would hand
// one page another page's control.
TEST(PageLayouts, NoTwoControlsOfTheMainWindowShareAName) {
    MainWindow w;
    ASSERT_NE(w.window, nullptr);
    std::vector<ui::Control*> named;
    collectNamed(*w.window, named);
    std::map<std::wstring, int> count;
    for (auto* c : named)
        ++count[text::toLower(c->name())];
    for (auto& [name, n] : count)
        EXPECT_EQ(n, 1) << text::toUtf8(name);
    EXPECT_GT(named.size(), std::size(kControls));
}

// Each page, shown in the 560 x 400 frame: nothing reaches past the window, and the buttons of the
// bottom row stand in order at the bottom right.
TEST(PageLayouts, EveryPageFitsTheFrame) {
    MainWindow w;
    ASSERT_NE(w.tab, nullptr);
    ui::headless::FixedMetrics metrics;
    const ui::Rect frame{0, 0, 560, 400};
    for (const wchar_t* page : kPages) {
        SCOPED_TRACE(text::toUtf8(page));
        ASSERT_TRUE(w.tab->select(page));
        ui::applyLayout(*w.window, ui::computeLayout(*w.window, w.window->initialSize(), 1.0, metrics));
        std::vector<ui::Control*> named;
        collectNamed(*w.tab->selected(), named);
        for (auto* c : named) {
            if (!c->isShown())
                continue;
            const ui::Rect& r = c->rect();
            EXPECT_TRUE(r.left >= frame.left && r.top >= 27 && r.right <= frame.right &&
                        r.bottom <= frame.bottom)
                << text::toUtf8(c->name()) << " " << r.left << "," << r.top << "," << r.right << ","
                << r.bottom;
            EXPECT_GT(r.height(), 0) << text::toUtf8(c->name());
        }
        ui::Control* cancel = nullptr;
        for (auto* c : named)
            if (c->name().ends_with(L"_cancel"))
                cancel = c;
        ASSERT_NE(cancel, nullptr);
        EXPECT_GE(cancel->rect().right, 560 - 20 - 2);
        EXPECT_GE(cancel->rect().bottom, 400 - 14 - 2);
        for (auto* c : named)
            if (c->name().ends_with(L"_pre") || c->name().ends_with(L"_next")) {
                EXPECT_EQ(c->rect().top, cancel->rect().top) << text::toUtf8(c->name());
                EXPECT_LT(c->rect().right, cancel->rect().left) << text::toUtf8(c->name());
            }
    }
}
