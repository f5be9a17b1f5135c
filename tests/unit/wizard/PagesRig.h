#pragma once
// The main window with its pages on the shipped layouts, headless, in English, over a simulated
// machine (the demo machine unless a test gives one: one JN-2203T-S on USB001, the spooler
// running), the program's catalogue and manufacturer records unless a test gives its own. The main
// page's timed advance is cancelled at once unless asked, as by the user's first click, so that the
// virtual clock moves only what a test starts.
#include "app/PersistedChoices.h"
#include "app/language/Languages.h"
#include "catalogue/LoadXmlResource.h"
#include "support/TestMachine.h"
#include "ui/headless/HeadlessBackend.h"
#include "unit/catalogue/CatalogueFixture.h"
#include "unit/wizard/ShippedLayouts.h"
#include "wizard/CMainFrame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wizard_test {

using sim::Json;

// A USB label printer: the USB device with the printer interface and its USBPRINT child, whose
// instance ID ends in the port.
struct UsbPrinter {
    std::string usbId;      // "USB\\VID_3A5C&PID_0203\\SERIAL"
    std::string printId;    // "USBPRINT\\...\\7&...&USB002"
    std::string hardwareId; // the catalogue's usbname of its model
};

struct PagesRigOptions {
    Json machine = sim::demoMachineState();
    std::string catalogue = {};     // none: the program's own
    std::string manufacturers = {}; // none: the program's own
    bool cancelAdvance = true;      // false: the main page's timed advance runs
};

struct PagesRig {
    testing_support::TestMachine machine;
    ShippedLayouts layouts;
    app::AppContext context{.platform = machine.platform()};
    SetupSession session;
    CLanguage language{layouts.archive};
    wizard::LanguageTranslations translations{language};
    catalogue_test::XmlResources fixtures;
    catalogue::XmlDocument catalogueDoc;
    catalogue::XmlDocument manufacturerDoc;
    ui::headless::HeadlessBackend backend;
    std::unique_ptr<ui::Window> window;
    std::unique_ptr<wizard::CMainFrame> frame;

    explicit PagesRig(PagesRigOptions options = {}) : machine(std::move(options.machine)) {
        (void)language.setLanguage(languageFolder(L"English"), L"English");
        context.translate = [this](std::wstring_view id) { return language.translate(id); };
        load(131, options.catalogue, catalogueDoc);
        load(132, options.manufacturers, manufacturerDoc);
        session.manufacturer.Name = L"CorvaneEx"; // start-up takes it from the catalogue's root
        window = layouts.load(L"MainFrame.xml", &translations);
        if (!window)
            return;
        backend.attach(*window);
        frame = std::make_unique<wizard::CMainFrame>(context, session, *window, [] { return false; });
        frame->setServices({.loadDialog = nullptr,
                            .language = &language,
                            .translations = &translations,
                            .catalogue = &catalogueDoc,
                            .manufacturers = &manufacturerDoc,
                            .minimize = nullptr,
                            .showDeviceInfo = nullptr});
        EXPECT_TRUE(frame->init(L"1.0.0.0"));
        if (options.cancelAdvance)
            backend.click(get(L"label_title"));
    }

    ui::Control& get(std::wstring_view name) { return *window->find(name); }
    ui::Grid& grid(std::wstring_view name) { return *window->findAs<ui::Grid>(name); }
    ui::Edit& edit(std::wstring_view name) { return *window->findAs<ui::Edit>(name); }
    std::wstring page() const { return frame->currentPage(); }

    // The texts of one column, top to bottom.
    std::vector<std::wstring> column(std::wstring_view gridName, int col) {
        auto& g = grid(gridName);
        std::vector<std::wstring> texts;
        for (int row = 0; row < g.rowCount(); ++row)
            texts.push_back(g.cellText(row, col));
        return texts;
    }
    std::vector<int> checkedRows(std::wstring_view gridName) {
        auto& g = grid(gridName);
        std::vector<int> rows;
        for (int row = 0; row < g.rowCount(); ++row)
            if (g.isChecked(row))
                rows.push_back(row);
        return rows;
    }
    // The row showing `text` in column 1, or -1.
    int rowOf(std::wstring_view gridName, std::wstring_view text) {
        auto texts = column(gridName, 1);
        auto it = std::find(texts.begin(), texts.end(), text);
        return it == texts.end() ? -1 : static_cast<int>(it - texts.begin());
    }
    // A click of the user on the row's text.
    void clickRow(std::wstring_view gridName, int row) { backend.clickCell(grid(gridName), row, 1); }

    std::wstring saved(std::wstring_view value) {
        return machine.platform().profile().readString(app::kProfileSection, value, L"<none>");
    }

    // Plugs a printer in (or back in) or pulls it out, as the shared state would change it.
    void plug(const UsbPrinter& p) {
        machine.machine().write([&](Json& s) {
            auto& nodes = s["devices"]["nodes"];
            bool known = false;
            for (auto& n : nodes)
                if (n["instanceId"] == p.usbId || n["instanceId"] == p.printId) {
                    n["present"] = true;
                    known = true;
                }
            if (known)
                return;
            nodes.push_back({{"instanceId", p.usbId},
                             {"class", "USB"},
                             {"service", "usbprint"},
                             {"present", true},
                             {"interfaces", Json::array({"{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}"})}});
            nodes.push_back({{"instanceId", p.printId},
                             {"parent", p.usbId},
                             {"present", true},
                             {"hardwareIds", Json::array({p.hardwareId})},
                             {"problem", 28}});
        });
    }
    void pull(const UsbPrinter& p) {
        machine.machine().write([&](Json& s) {
            for (auto& n : s["devices"]["nodes"])
                if (n["instanceId"] == p.usbId || n["instanceId"] == p.printId)
                    n["present"] = false;
        });
    }
    // A queue whose Plug and Play data names the print device, as Windows makes for an installed one.
    void addQueueFor(const std::string& printId, const std::string& name) {
        machine.machine().write([&](Json& s) {
            s["spooler"]["printers"].push_back(
                {{"name", name},
                 {"port", "FILE:"},
                 {"driver", "Microsoft Print To PDF"},
                 {"data", {{"PnPData", {{"DeviceInstanceId", {{"type", "REG_SZ"}, {"value", printId}}}}}}}});
        });
    }

private:
    void load(std::uint16_t id, const std::string& xml, catalogue::XmlDocument& doc) {
        if (xml.empty()) {
            catalogue::LoadXmlResource(testing_support::programResources(), machine.platform().system(), id,
                                       doc);
            return;
        }
        fixtures.add(id, xml);
        catalogue::LoadXmlResource(fixtures, machine.platform().system(), id, doc);
    }
};

// The demo machine's printer and two more of the manufacturer's models.
inline const UsbPrinter kDemoJn2203{"USB\\VID_3A5C&PID_0203\\JN2203TS0001",
                                    "USBPRINT\\CorvaneExJN-2203T-S50F3\\7&3A1F2C4B&0&USB001",
                                    "USBPRINT\\CorvaneExJN-2203T-S50F3"};
inline const UsbPrinter kJn2236{"USB\\VID_3A5C&PID_0236\\JN2236T0001",
                                "USBPRINT\\CorvaneExJN-2236T3F6D\\7&1B2C&0&USB002",
                                "USBPRINT\\CorvaneExJN-2236T3F6D"};
inline const UsbPrinter kSecondJn2203{"USB\\VID_3A5C&PID_0203\\JN2203TS0002",
                                      "USBPRINT\\CorvaneExJN-2203T-S50F3\\7&4C5D&0&USB003",
                                      "USBPRINT\\CorvaneExJN-2203T-S50F3"};

} // namespace wizard_test
