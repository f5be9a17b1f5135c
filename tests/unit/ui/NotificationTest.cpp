// What pages are told: clicks, selection and text changes from the user's input through the headless
// backend, delivered to the page that owns the control.
#include "UiFixture.h"

#include "ui/core/Controls.h"
#include "ui/core/Grid.h"
#include "ui/core/Tree.h"

#include <gtest/gtest.h>

using namespace ui;
using uitest::RecordingPage;
using uitest::Skin;
using Seen = std::vector<std::string>;

class Notifications : public testing::Test {
protected:
    void SetUp() override {
        auto loaded = Skin().load();
        ASSERT_TRUE(loaded.window);
        window = std::move(loaded.window);
        backend.attach(*window);
        window->find(L"form_main")->setOwner(&mainPage);
        window->find(L"form_printer_port")->setOwner(&portPage);
    }
    template <typename T> T& get(const wchar_t* name) {
        auto* c = window->findAs<T>(name);
        EXPECT_NE(c, nullptr);
        return *c;
    }

    headless::HeadlessBackend backend;
    std::unique_ptr<Window> window;
    RecordingPage mainPage, portPage;
};

TEST_F(Notifications, GoToThePageOwningTheControl) {
    backend.click(get<Button>(L"btn_form_main_next"));
    get<Tab>(L"tab_main").select(L"form_printer_port");
    backend.clickCell(get<Grid>(L"grid_printer_port"), -1, 0); // no row: nothing
    EXPECT_EQ(mainPage.seen, (Seen{"click btn_form_main_next"}));
    EXPECT_TRUE(portPage.seen.empty());
}

TEST_F(Notifications, DisabledOrHiddenControlsSayNothing) {
    auto& next = get<Button>(L"btn_form_main_next");
    next.setEnabled(false);
    backend.click(next);
    next.setEnabled(true);
    get<Tab>(L"tab_main").select(L"form_printer_port"); // the main page is now hidden
    backend.click(next);
    EXPECT_TRUE(mainPage.seen.empty());
}

TEST_F(Notifications, OptionsOfAGroupSelectOneAndOnlyTheNewOneReports) {
    auto& install = get<Option>(L"chk_install_driver");
    auto& update = get<Option>(L"chk_update_driver");
    auto& remove = get<Option>(L"chk_uninstall_driver");
    install.setSelected(true); // by the page, with notification
    backend.click(remove);     // by the user
    backend.click(remove);     // already selected: no change
    update.setSelected(true, false);
    EXPECT_EQ(mainPage.seen, (Seen{"selection chk_install_driver", "selection chk_uninstall_driver"}));
    EXPECT_FALSE(install.selected());
    EXPECT_FALSE(remove.selected());
    EXPECT_TRUE(update.selected());
}

TEST_F(Notifications, APageReadsTheNewStateInsideItsHandler) {
    // Delivered at once: the handler already sees the option selected and the others cleared.
    std::vector<bool> states;
    mainPage.then = [&](const Notification&) {
        states = {get<Option>(L"chk_install_driver").selected(),
                  get<Option>(L"chk_update_driver").selected()};
    };
    get<Option>(L"chk_install_driver").setSelected(true);
    get<Option>(L"chk_update_driver").setSelected(true);
    EXPECT_EQ(states, (std::vector<bool>{false, true}));
}

TEST_F(Notifications, EditsCombosAndGrids) {
    get<Tab>(L"tab_main").select(L"form_printer_port");
    auto& edit = get<Edit>(L"text_ip_address");
    backend.typeText(edit, L"10.0.0.1234567890123"); // longer than maxchar 15
    EXPECT_EQ(edit.text(), L"10.0.0.12345678");
    auto& combo = get<Combo>(L"combo_port");
    EXPECT_TRUE(combo.select(1));
    EXPECT_FALSE(combo.select(5));
    auto& grid = get<Grid>(L"grid_printer_port");
    grid.appendRow();
    grid.appendRow();
    backend.clickCell(grid, 1, 0); // the check box column
    backend.clickCell(grid, 0, 1);
    EXPECT_EQ(portPage.seen,
              (Seen{"text text_ip_address", "selection combo_port", "click grid_printer_port row 1 col 0",
                    "click grid_printer_port row 0 col 1"}));
    EXPECT_TRUE(grid.isChecked(1));
    EXPECT_FALSE(grid.isChecked(0));
    EXPECT_EQ(grid.clickedRow(), 0);
    EXPECT_EQ(grid.selectedRow(), 0);
}

TEST_F(Notifications, TheHookSeesInputFirstAndMayConsumeClose) {
    std::vector<unsigned> hooked;
    bool keepOpen = true;
    window->setMessageHook([&](Window&, const WindowMessage& m) {
        hooked.push_back(m.kind);
        return m.kind == WindowMessage::Close && keepOpen;
    });
    mainPage.then = [&](const Notification&) { hooked.push_back(0); };
    backend.click(get<Button>(L"btn_form_main_next"));
    backend.keyDown(*window, 0x78, true);
    backend.close(*window);
    EXPECT_FALSE(window->closed());
    keepOpen = false;
    backend.close(*window);
    EXPECT_TRUE(window->closed());
    EXPECT_EQ(hooked, (std::vector<unsigned>{WindowMessage::LButtonDown, 0, WindowMessage::KeyDown,
                                             WindowMessage::Close, WindowMessage::Close}));
}

TEST(Grid, RowsOnDemandAreAskedOnceWhenReadAndAgainAfterARecount) {
    Grid grid;
    grid.addColumn(L"型号", 100);
    grid.addColumn(L"驱动", 100);
    int asked = 0;
    grid.setRowSource(
        [&](int index, Grid::Row& row) {
            ++asked;
            row.cells[0].text = L"model " + std::to_wstring(index);
            row.cells[1].colour = 0x0000FF;
        },
        100000);
    EXPECT_EQ(grid.rowCount(), 100000);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(grid.cellText(99999, 0), L"model 99999");
    EXPECT_EQ(grid.cellColour(99999, 1), Colour{0x0000FF});
    EXPECT_EQ(grid.cellText(99999, 1), L"");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(grid.cellText(100000, 0), L""); // beyond the count: the page is not asked
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(grid.sortByColumn(0, true));
    grid.setRowCount(10);
    EXPECT_EQ(grid.cellText(9, 0), L"model 9");
    EXPECT_EQ(asked, 2);
}

TEST(Grid, SortsKeptRowsByAColumnAndClearsTheClickedRow) {
    Grid grid;
    grid.addColumn(L"名称", 100);
    grid.addColumn(L"端口", 100);
    const wchar_t* names[] = {L"beta", L"Alpha", L"gamma", L"alpha"};
    for (auto* n : names) {
        int r = grid.appendRow();
        grid.setCellText(r, 0, n);
        grid.setCellText(r, 1, std::wstring(n) + L"_port");
    }
    grid.clickCell(2, 1);
    ASSERT_TRUE(grid.sortByColumn(0, true));
    std::vector<std::wstring> order;
    for (int r = 0; r < grid.rowCount(); ++r)
        order.push_back(grid.cellText(r, 0) + L"/" + grid.cellText(r, 1));
    // Letter case ignored, equal keys keep their order.
    EXPECT_EQ(order, (std::vector<std::wstring>{L"Alpha/Alpha_port", L"alpha/alpha_port", L"beta/beta_port",
                                                L"gamma/gamma_port"}));
    EXPECT_EQ(grid.clickedRow(), -1);
    ASSERT_TRUE(grid.sortByColumn(0, false));
    EXPECT_EQ(grid.cellText(0, 0), L"gamma");
    grid.setCellText(7, 0, L"nowhere"); // out of range: nothing
    EXPECT_EQ(grid.rowCount(), 4);
}

TEST(TreeAndMenu, SelectionAndClicksReachTheOwner) {
    uitest::Skin skin;
    skin.files.set(L"form_main.xml", R"(<VerticalLayout>
      <Tree name="tree_devices"/>
      <Menu name="menu_port"><MenuItem name="menu_port_add" text="添加端口"/></Menu>
    </VerticalLayout>)");
    auto loaded = skin.load();
    ASSERT_TRUE(loaded.window);
    headless::HeadlessBackend backend;
    backend.attach(*loaded.window);
    RecordingPage page;
    loaded.window->setOwner(&page);

    auto& tree = *loaded.window->findAs<Tree>(L"tree_devices");
    auto& usb = tree.addNode(nullptr, L"USB");
    auto& printer = tree.addNode(&usb, L"USB001", L"USB\\VID_1234");
    tree.select(&printer);
    tree.select(&printer); // the same node again: no change
    EXPECT_EQ(tree.nodeCount(), 2u);
    EXPECT_EQ(tree.selected()->parent, &usb);
    tree.clear();
    EXPECT_EQ(tree.selected(), nullptr);
    backend.click(*loaded.window->find(L"menu_port_add"));
    EXPECT_EQ(page.seen, (Seen{"selection tree_devices", "click menu_port_add"}));
}
