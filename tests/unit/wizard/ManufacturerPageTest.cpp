// The manufacturer page on the shipped layouts: the list without the base manufacturer, the saved
// choice pre-selected, the single manufacturer passing on at once, and Next taking the checked one
// over as the session's manufacturer and remembering it.
#include "base/Utf.h"
#include "unit/wizard/PagesRig.h"

#include <gtest/gtest.h>

namespace {

using wizard_test::PagesRig;

constexpr const wchar_t* kGrid = L"grid_printer_manufacturer";

std::string record(const char* name, const char* companyEn) {
    return std::string("<Manufacturer><Name>") + name + "</Name><CompanyEnName>" + companyEn +
           "</CompanyEnName><V0>3</V0></Manufacturer>";
}

// Three to choose from, and the base one that is never offered.
const std::string kThree = "<?xml version=\"1.0\"?><Manufacturers>" + record("Native", "Base") +
                           record("CorvaneEx", "Corvane") + record("Tovana", "Tovana Ltd.") +
                           record("Aldreth", "Aldreth Inc.") + "</Manufacturers>";

// The main page's Next in the given operation.
void leaveMainPage(PagesRig& w, const wchar_t* option) {
    w.backend.click(w.get(option));
    w.backend.click(w.get(L"btn_form_main_next"));
}

} // namespace

TEST(ManufacturerPage, ListsEveryManufacturerButTheBaseAndChecksTheSavedOneOnly) {
    struct Case {
        const wchar_t* saved;
        std::vector<int> checked;
    };
    const Case cases[] = {
        {L"Tovana", {1}},
        {L"tovana", {}}, // the saved name must match exactly
        {L"", {}},
        {L"Native", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(text::toUtf8(c.saved));
        PagesRig w({.manufacturers = kThree});
        w.session.savedManufacturer = c.saved;
        leaveMainPage(w, L"chk_install_driver");
        EXPECT_EQ(w.page(), L"form_printer_manufacturer");
        EXPECT_EQ(w.column(kGrid, 1), (std::vector<std::wstring>{L"CorvaneEx", L"Tovana", L"Aldreth"}));
        EXPECT_EQ(w.checkedRows(kGrid), c.checked);
        // Entering again lists them once, not twice.
        w.frame->formPrinterManufacturer().enter();
        EXPECT_EQ(w.grid(kGrid).rowCount(), 3);
    }
}

TEST(ManufacturerPage, AClickLeavesOnlyThatRowCheckedAlsoWhenClickedTwice) {
    PagesRig w({.manufacturers = kThree});
    w.session.savedManufacturer = L"Tovana";
    leaveMainPage(w, L"chk_install_driver");
    w.clickRow(kGrid, 2);
    EXPECT_EQ(w.checkedRows(kGrid), std::vector<int>{2});
    // In the check box column a click toggles the box first; the row stays the one checked.
    w.backend.clickCell(w.grid(kGrid), 2, 0);
    EXPECT_EQ(w.checkedRows(kGrid), std::vector<int>{2});
    w.backend.clickCell(w.grid(kGrid), 0, 0);
    EXPECT_EQ(w.checkedRows(kGrid), std::vector<int>{0});
}

TEST(ManufacturerPage, NextTakesTheCheckedManufacturerOverAndGoesOnByTheOperation) {
    struct Case {
        const wchar_t* option;
        int setupMode;
        const wchar_t* target;
    };
    const Case cases[] = {
        {L"chk_install_driver", 0, L"form_printer_port"},
        {L"chk_update_driver", 1, L"form_update_driver"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setupMode);
        PagesRig w({.manufacturers = kThree});
        leaveMainPage(w, c.option);
        w.clickRow(kGrid, w.rowOf(kGrid, L"Aldreth"));
        w.backend.click(w.get(L"btn_form_printer_manufacturer_next"));
        EXPECT_EQ(w.page(), c.target);
        EXPECT_EQ(w.session.manufacturer.Name, L"Aldreth");
        EXPECT_EQ(w.session.manufacturer.CompanyEnName, L"Aldreth Inc.");
        EXPECT_EQ(w.session.manufacturer.V0, 3);
        EXPECT_EQ(w.saved(app::kValueManufacturer), L"Aldreth");
    }
    // In delete mode the page's Next goes nowhere.
    PagesRig w({.manufacturers = kThree});
    w.frame->formPrinterManufacturer().enter();
    w.session.setupMode = 2;
    w.clickRow(kGrid, 0);
    w.backend.click(w.get(L"btn_form_printer_manufacturer_next"));
    EXPECT_EQ(w.page(), L"form_printer_manufacturer");
}

TEST(ManufacturerPage, NextWithNothingCheckedKeepsTheManufacturer) {
    PagesRig w({.manufacturers = kThree});
    leaveMainPage(w, L"chk_install_driver");
    w.backend.click(w.get(L"btn_form_printer_manufacturer_next"));
    EXPECT_EQ(w.page(), L"form_printer_port");
    ManufacturerRecord unchanged;
    unchanged.Name = L"CorvaneEx";
    EXPECT_EQ(w.session.manufacturer, unchanged);
    EXPECT_EQ(w.saved(app::kValueManufacturer), L"<none>");
}

// The program's own records name one manufacturer: the timed advance of the main page leads
// through the manufacturer page without a stop.
TEST(ManufacturerPage, ASingleManufacturerIsTakenOverWithoutStopping) {
    PagesRig w({.cancelAdvance = false});
    w.backend.advance(1510);
    EXPECT_EQ(w.page(), L"form_printer_port");
    EXPECT_EQ(w.column(kGrid, 1), std::vector<std::wstring>{L"CorvaneEx"});
    EXPECT_EQ(w.checkedRows(kGrid), std::vector<int>{0});
    EXPECT_EQ(w.session.manufacturer.CompanyEnName, L"Corvane Smart Labeling Co., Ltd.");
    EXPECT_EQ(w.session.manufacturer.V3, 465);
    EXPECT_EQ(w.saved(app::kValueManufacturer), L"CorvaneEx");
}
