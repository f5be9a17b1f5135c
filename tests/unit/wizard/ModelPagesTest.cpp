// The model pages on the shipped layouts with the program's catalogue: the network, driver and
// custom model lists with their find-key filter, the choice written to the session (and remembered
// for the next run where the page does so), the chosen model selected again on every fill, the
// found-printer page kept current by the USB poll, and where Back and Next lead.
#include "base/Utf.h"
#include "catalogue/DriverCatalogue.h"
#include "unit/wizard/PagesRig.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using wizard_test::PagesRig;

constexpr ui::Colour kBlue = 0xFF0000;
constexpr ui::Colour kRed = 0x0000FF;

// A page that lists the manufacturer's models.
struct ListPage {
    const wchar_t* page;
    const wchar_t* grid;
    const wchar_t* edit;
    int portType;
    bool remembers; // writes SetupPrinter when a model is chosen
    void (*fill)(wizard::CMainFrame&);
};
const ListPage kListPages[] = {
    {L"form_printer_mode2", L"grid_printer_mode2", L"text_printer_mode2_find_key", 1, true,
     [](wizard::CMainFrame& f) { f.formPrinterMode2().fill(); }},
    {L"form_printer_driver", L"grid_form_printer_driver", L"text_form_printer_driver_find_key", 2, false,
     [](wizard::CMainFrame& f) { f.formPrinterDriver().fill(); }},
    {L"form_custom_printer_mode", L"grid_custom_printer_mode", L"text_custom_printer_mode_find_key", 6, true,
     [](wizard::CMainFrame& f) { f.formCustomPrinterMode().fill(); }},
};

// The manufacturer's models whose names hold "-ba" in any letter case, in catalogue order.
const std::vector<std::wstring> kDashBa = {L"JN-3315T-BA", L"JN-4379D-BA", L"JN-4656T-BA",
                                           L"QJ-3220D-BA", L"VR-3353D-BA", L"VR-4369T-BA"};

void show(PagesRig& w, const ListPage& p) {
    w.session.portType = p.portType;
    p.fill(*w.frame);
    w.frame->selectPage(p.page);
}

} // namespace

TEST(ModelPages, ListTheManufacturersModelsNarrowedByTheFindKeyInAnyLetterCase) {
    for (const auto& p : kListPages) {
        SCOPED_TRACE(text::toUtf8(p.page));
        PagesRig w;
        show(w, p);
        const auto all = w.column(p.grid, 1);
        ASSERT_GT(all.size(), 100u);
        EXPECT_EQ(all.front(), L"JN-2203T-S");
        w.backend.typeText(w.edit(p.edit), L"-ba");
        auto expected = kDashBa;
        if (p.portType == 2) { // those that drive no Bluetooth printer, by their own word or their parent's
            std::erase(expected, L"QJ-3220D-BA");
            std::erase(expected, L"JN-4656T-BA");
        }
        EXPECT_EQ(w.column(p.grid, 1), expected);
        w.backend.typeText(w.edit(p.edit), L"-bA");
        EXPECT_EQ(w.column(p.grid, 1), expected);
        // The text typed last stays with the page for the next visit.
        p.fill(*w.frame);
        EXPECT_EQ(w.column(p.grid, 1), expected);
        w.backend.typeText(w.edit(p.edit), L"");
        EXPECT_EQ(w.column(p.grid, 1), all);
        // Another manufacturer's list has other models; an unknown one none.
        w.session.manufacturer.Name = L"Tovana";
        p.fill(*w.frame);
        EXPECT_FALSE(w.column(p.grid, 1).empty());
        EXPECT_EQ(w.rowOf(p.grid, L"JN-2203T-S"), -1);
        w.session.manufacturer.Name = L"Nobody";
        p.fill(*w.frame);
        EXPECT_EQ(w.grid(p.grid).rowCount(), 0);
    }
}

TEST(ModelPages, TheDriverPageOffersOnlyBluetoothDriversOnTheBluetoothRoute) {
    struct Case {
        int portType;
        bool nonBluetoothListed;
    };
    for (const Case c : {Case{2, false}, Case{1, true}}) {
        SCOPED_TRACE(c.portType);
        PagesRig w;
        w.session.portType = c.portType;
        w.frame->formPrinterDriver().fill();
        // JN-2264T says it is no Bluetooth driver; JN-2203T-S says nothing, which counts as one.
        EXPECT_EQ(w.rowOf(L"grid_form_printer_driver", L"JN-2264T") >= 0, c.nonBluetoothListed);
        EXPECT_GE(w.rowOf(L"grid_form_printer_driver", L"JN-2203T-S"), 0);
    }
}

TEST(ModelPages, AClickMakesTheRowsModelTheChosenOne) {
    for (const auto& p : kListPages) {
        SCOPED_TRACE(text::toUtf8(p.page));
        PagesRig w;
        show(w, p);
        w.session.chosen.ipAddress = L"10.1.2.3"; // the rest of the chosen printer stays
        const int row = w.rowOf(p.grid, L"JN-2236T");
        w.clickRow(p.grid, row);
        EXPECT_EQ(w.checkedRows(p.grid), std::vector<int>{row});
        EXPECT_EQ(w.session.chosen.modelName, L"JN-2236T");
        EXPECT_EQ(catalogue::DriverName(w.session.chosen.driverNode), L"JN-2236T");
        EXPECT_EQ(catalogue::DriverManufacturerMode(w.session.chosen.driverNode), L"CorvaneEx");
        EXPECT_EQ(w.session.chosen.ipAddress, L"10.1.2.3");
        EXPECT_EQ(w.saved(app::kValueSetupPrinter), p.remembers ? L"JN-2236T" : L"<none>");
        // Another row: only it is checked; the same row in the check box column: still checked.
        const int other = w.rowOf(p.grid, L"JN-2220D");
        w.clickRow(p.grid, other);
        w.backend.clickCell(w.grid(p.grid), other, 0);
        EXPECT_EQ(w.checkedRows(p.grid), std::vector<int>{other});
        EXPECT_EQ(w.session.chosen.modelName, L"JN-2220D");
    }
}

TEST(ModelPages, EveryFillSelectsTheChosenModelAgainWithItsEffects) {
    for (const auto& p : kListPages) {
        SCOPED_TRACE(text::toUtf8(p.page));
        PagesRig w;
        w.session.chosen.modelName = L"JN-2236T"; // as the last run saved it
        show(w, p);
        const int row = w.rowOf(p.grid, L"JN-2236T");
        EXPECT_EQ(w.checkedRows(p.grid), std::vector<int>{row});
        EXPECT_EQ(catalogue::DriverName(w.session.chosen.driverNode), L"JN-2236T");
        EXPECT_EQ(w.saved(app::kValueSetupPrinter), p.remembers ? L"JN-2236T" : L"<none>");
        // A filter that leaves it out checks nothing and keeps the choice.
        w.backend.typeText(w.edit(p.edit), L"KV-");
        EXPECT_TRUE(w.checkedRows(p.grid).empty());
        EXPECT_EQ(w.session.chosen.modelName, L"JN-2236T");
    }
}

TEST(ModelPages, BackAndNextLeadToTheirPagesAndStopThePollWhereTheyLeaveTheUsbSearch) {
    struct Case {
        const wchar_t* page;
        const wchar_t* button;
        const wchar_t* target;
        bool pollRuns;
    };
    const Case cases[] = {
        {L"form_printer_manufacturer", L"btn_form_printer_manufacturer_pre", L"form_main", true},
        {L"form_printer_mode", L"btn_form_printer_mode_pre", L"form_printer_port", false},
        {L"form_printer_mode", L"btn_form_printer_mode_next", L"form_printer_name", false},
        {L"form_printer_mode2", L"btn_form_printer_mode2_pre", L"form_printer_port", true},
        {L"form_printer_mode2", L"btn_form_printer_mode2_next", L"form_printer_tcpmon", true},
        {L"form_printer_driver", L"btn_form_printer_driver_pre", L"form_printer_bluetooth", true},
        {L"form_printer_driver", L"btn_form_printer_driver_next", L"form_printer_name", true},
        {L"form_custom_printer_mode", L"btn_form_custom_printer_mode_pre", L"form_printer_port", false},
        {L"form_custom_printer_mode", L"btn_form_custom_printer_mode_next", L"form_custom_port", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(text::toUtf8(c.button));
        PagesRig w;
        w.session.portType = 4; // the poll's ticks do nothing
        ASSERT_TRUE(w.frame->usbPoll().start());
        w.frame->selectPage(c.page);
        w.backend.click(w.get(c.button));
        EXPECT_EQ(w.page(), c.target);
        EXPECT_EQ(w.frame->usbPoll().running(), c.pollRuns);
        EXPECT_EQ(w.backend.timerRunning(w.get(L"pic_form_printer_search_loading"), 500), c.pollRuns);
    }
    // Every Cancel closes the window.
    const std::pair<const wchar_t*, const wchar_t*> cancels[] = {
        {L"form_printer_manufacturer", L"btn_form_printer_manufacturer_cancel"},
        {L"form_printer_mode", L"btn_form_printer_mode_cancel"},
        {L"form_printer_mode2", L"btn_form_printer_mode2_cancel"},
        {L"form_printer_driver", L"btn_form_printer_driver_cancel"},
        {L"form_custom_printer_mode", L"btn_form_custom_printer_mode_cancel"},
    };
    for (const auto& [page, cancel] : cancels) {
        PagesRig w;
        w.frame->selectPage(page);
        w.backend.click(w.get(cancel));
        EXPECT_TRUE(w.window->closed()) << text::toUtf8(cancel);
    }
}

TEST(ModelPages, TheNetworkModelsNextGoesToTheSearchOnlyForModelsThatAnswerIt) {
    const std::string catalogue = R"(<?xml version="1.0"?>
<Drivers model="CorvaneEx"><Manufacturers><Manufacturer mode="CorvaneEx">
  <Driver name="Net-1" udp="true"/>
  <Driver name="Net-2"/>
</Manufacturer></Manufacturers></Drivers>)";
    struct Case {
        const wchar_t* model;
        const wchar_t* target;
        const wchar_t* ipAddress;
        const wchar_t* portName;
    };
    const Case cases[] = {
        {L"Net-1", L"form_printer_udp", L"", L""},
        {L"Net-2", L"form_printer_tcpmon", L"192.168.1.200", L"Net-2_192.168.1.200"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(text::toUtf8(c.model));
        PagesRig w({.catalogue = catalogue});
        show(w, kListPages[0]);
        w.session.chosen.ipAddress.clear();
        w.clickRow(L"grid_printer_mode2", w.rowOf(L"grid_printer_mode2", c.model));
        w.backend.click(w.get(L"btn_form_printer_mode2_next"));
        EXPECT_EQ(w.page(), c.target);
        EXPECT_EQ(w.session.chosen.ipAddress, c.ipAddress);
        EXPECT_EQ(w.session.chosen.portName, c.portName);
    }
}

TEST(FoundPrinterPage, FollowsThePrintersPluggedInAndPulledOutBetweenTicks) {
    PagesRig w;
    w.session.portType = 0;
    ASSERT_TRUE(w.frame->usbPoll().start());
    w.backend.advance(500);
    EXPECT_EQ(w.page(), L"form_printer_mode");
    EXPECT_EQ(w.column(L"grid_printer_mode", 1), std::vector<std::wstring>{L"JN-2203T-S"});
    EXPECT_EQ(w.column(L"grid_printer_mode", 2), std::vector<std::wstring>{L"USB001"});
    EXPECT_EQ(w.column(L"grid_printer_mode", 3), std::vector<std::wstring>{L"Not installed"});
    EXPECT_EQ(w.grid(L"grid_printer_mode").cellColour(0, 3), kRed);

    // A model with a name of its own for the user shows that name.
    w.plug(wizard_test::kJn2236);
    w.backend.advance(500);
    EXPECT_EQ(w.column(L"grid_printer_mode", 1),
              (std::vector<std::wstring>{L"JN-2203T-S", L"Corvane JN-2236T"}));
    EXPECT_EQ(w.column(L"grid_printer_mode", 2), (std::vector<std::wstring>{L"USB001", L"USB002"}));

    w.pull(wizard_test::kDemoJn2203);
    w.backend.advance(500);
    EXPECT_EQ(w.column(L"grid_printer_mode", 1), std::vector<std::wstring>{L"Corvane JN-2236T"});
    EXPECT_EQ(w.page(), L"form_printer_mode");

    w.pull(wizard_test::kJn2236);
    w.backend.advance(500);
    EXPECT_EQ(w.page(), L"form_printer_search");
    EXPECT_TRUE(w.frame->usbPoll().running());
    w.plug(wizard_test::kDemoJn2203);
    w.backend.advance(500);
    EXPECT_EQ(w.page(), L"form_printer_mode");
    EXPECT_EQ(w.column(L"grid_printer_mode", 1), std::vector<std::wstring>{L"JN-2203T-S"});
}

TEST(FoundPrinterPage, AClickChoosesThePrinterAndOnlyOneWithoutAQueueMayGoOn) {
    PagesRig w;
    w.plug(wizard_test::kJn2236);
    w.addQueueFor(wizard_test::kJn2236.printId, "JN-2236T");
    w.session.portType = 0;
    ASSERT_TRUE(w.frame->usbPoll().start());
    w.backend.advance(500);
    ASSERT_EQ(w.grid(L"grid_printer_mode").rowCount(), 2);
    EXPECT_EQ(w.column(L"grid_printer_mode", 3),
              (std::vector<std::wstring>{L"Not installed", L"already installed"}));
    EXPECT_EQ(w.grid(L"grid_printer_mode").cellColour(1, 3), kBlue);

    auto& next = w.get(L"btn_form_printer_mode_next");
    w.clickRow(L"grid_printer_mode", 1);
    EXPECT_EQ(w.checkedRows(L"grid_printer_mode"), std::vector<int>{1});
    EXPECT_EQ(w.session.chosen.printDeviceId, text::fromUtf8(wizard_test::kJn2236.printId));
    EXPECT_EQ(w.session.chosen.installed, 1);
    EXPECT_EQ(w.saved(app::kValueSetupPrinter), L"JN-2236T");
    EXPECT_FALSE(next.enabled());
    w.clickRow(L"grid_printer_mode", 0);
    EXPECT_EQ(w.checkedRows(L"grid_printer_mode"), std::vector<int>{0});
    EXPECT_EQ(w.session.chosen.portName, L"USB001");
    EXPECT_EQ(w.saved(app::kValueSetupPrinter), L"JN-2203T-S");
    EXPECT_TRUE(next.enabled());
    // The choice survives the next ticks.
    w.backend.advance(1000);
    EXPECT_EQ(w.checkedRows(L"grid_printer_mode"), std::vector<int>{0});
}

TEST(FoundPrinterPage, OfTwoPrintersOfTheChosenModelTheOneListedLastIsChosen) {
    PagesRig w;
    w.plug(wizard_test::kSecondJn2203);
    w.session.chosen.modelName = L"JN-2203T-S";
    w.session.portType = 0;
    ASSERT_TRUE(w.frame->usbPoll().start());
    w.backend.advance(500);
    EXPECT_EQ(w.column(L"grid_printer_mode", 2), (std::vector<std::wstring>{L"USB001", L"USB003"}));
    EXPECT_EQ(w.checkedRows(L"grid_printer_mode"), std::vector<int>{1});
    EXPECT_EQ(w.session.chosen.portName, L"USB003");
    EXPECT_EQ(w.saved(app::kValueSetupPrinter), L"JN-2203T-S");
}

TEST(CustomModelPage, ListsTheConnectedModelsFirstWithTheirPortAndAFreshQueueCheck) {
    PagesRig w;
    w.pull(wizard_test::kDemoJn2203);
    w.plug(wizard_test::kJn2236);
    w.session.portType = 6;
    show(w, kListPages[2]);
    EXPECT_EQ(w.column(L"grid_custom_printer_mode", 1).front(), L"JN-2203T-S");
    ASSERT_TRUE(w.frame->usbPoll().start());
    w.backend.advance(500);
    EXPECT_EQ(w.page(), L"form_custom_printer_mode");
    auto& g = w.grid(L"grid_custom_printer_mode");
    EXPECT_EQ(g.cellText(0, 1), L"JN-2236T");
    EXPECT_EQ(g.cellText(0, 2), L"USB002");
    EXPECT_EQ(g.cellText(0, 3), L"Connected");
    EXPECT_EQ(g.cellColour(0, 3), kBlue);
    EXPECT_EQ(g.cellText(0, 4), L"Not installed");
    EXPECT_EQ(g.cellColour(0, 4), kRed);
    EXPECT_EQ(g.cellText(1, 1), L"JN-2203T-S");
    EXPECT_EQ(g.cellText(1, 3), L"");
    EXPECT_EQ(g.cellText(1, 4), L"");
    auto& next = w.get(L"btn_form_custom_printer_mode_next");
    w.clickRow(L"grid_custom_printer_mode", 0);
    EXPECT_EQ(w.session.chosen.portName, L"USB002");
    EXPECT_TRUE(next.enabled());

    // A queue made since the search: the next fill sees it, and the model cannot go on.
    w.addQueueFor(wizard_test::kJn2236.printId, "JN-2236T");
    w.backend.typeText(w.edit(L"text_custom_printer_mode_find_key"), L"jn-22");
    EXPECT_EQ(g.cellText(0, 4), L"already installed");
    EXPECT_EQ(g.cellColour(0, 4), kBlue);
    EXPECT_EQ(w.session.devices[0].installed, 1);
    EXPECT_EQ(w.checkedRows(L"grid_custom_printer_mode"), std::vector<int>{0});
    EXPECT_FALSE(next.enabled());
    // A model without a printer found has no port and may go on.
    w.clickRow(L"grid_custom_printer_mode", w.rowOf(L"grid_custom_printer_mode", L"JN-2220D"));
    EXPECT_EQ(w.session.chosen.portName, L"");
    EXPECT_TRUE(next.enabled());

    // Pulled out: the next tick rebuilds the list without it.
    w.pull(wizard_test::kJn2236);
    w.backend.advance(500);
    EXPECT_EQ(g.cellText(0, 1), L"JN-2203T-S");
    const int pulled = w.rowOf(L"grid_custom_printer_mode", L"JN-2236T");
    EXPECT_GT(pulled, 0);
    EXPECT_EQ(g.cellText(pulled, 3), L"");
}
