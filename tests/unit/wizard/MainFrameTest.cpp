// The main window and the main page on the shipped layouts, headless: the first choice of operation,
// the timed automatic Next and what cancels it, the debug switch, and the page's buttons.
#include "app/PersistedChoices.h"
#include "app/language/Languages.h"
#include "app/skin/SkinArchive.h"
#include "base/Utf.h"
#include "platform/sim/SimClock.h"
#include "support/TestMachine.h"
#include "unit/catalogue/CatalogueFixture.h"
#include "unit/engine/DeviceToolFakes.h"
#include "ui/headless/HeadlessBackend.h"
#include "wizard/CMainFrame.h"
#include "wizard/CMsgWnd2UI.h"
#include "wizard/SkinLayouts.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kCatalogue = R"(<?xml version="1.0"?>
<Drivers model="CorvaneEx" product="标签打印机" product_en="Thermal Label Printer" company="柯尔凡"
         company_en="" website="https://w.example" tel="" email="s@w.example"
         version0="3" version1="0" version2="2" version3="465" time="2024-05-01"/>)";

// How the machine is when the wizard starts.
struct Start {
    bool modelDriverInstalled = false;
    int savedMode = 0;
    std::uint32_t spoolerState = ports::svc::Running;
    std::map<std::string, ports::Status> spoolerFailures = {};
};

struct Wizard {
    testing_support::TestMachine machine;
    sim::VirtualClock clock;
    engine_test::FakeSpoolerService spooler{clock};
    engine_test::OverridePlatform platform{machine.platform()};
    app::AppContext context{.platform = platform, .systemErrorText = [](std::uint32_t code) {
                                return L"text of " + std::to_wstring(code);
                            }};
    SetupSession session;
    SkinArchive archive;
    CLanguage language{archive};
    wizard::LanguageTranslations translations{language};
    catalogue_test::XmlResources resources;
    catalogue::XmlDocument catalogue;
    ui::headless::HeadlessBackend backend;
    ui::ControlFactory factory;
    std::unique_ptr<wizard::SkinLayoutReader> reader;
    int minimized = 0;
    std::unique_ptr<ui::Window> window;
    std::unique_ptr<wizard::CMainFrame> frame;
    std::vector<int> nexts;

    explicit Wizard(Start start = {}) {
        platform.servicesOverride = &spooler;
        platform.clockOverride = &clock;
        spooler.state = start.spoolerState;
        spooler.failures = start.spoolerFailures;
        session.setupMode = start.savedMode;
        bool modelDriverInstalled = start.modelDriverInstalled;
        EXPECT_EQ(archive.open(testing_support::programResources()), ports::winerr::Success);
        (void)language.setLanguage(languageFolder(L"English"), L"English");
        resources.add(131, kCatalogue);
        catalogue::LoadXmlResource(resources, machine.platform().system(), 131, catalogue);
        wizard::registerMessageLog(factory, clock);
        auto loaded = loader().loadWindow(L"MainFrame.xml");
        if (!loaded.window) {
            ADD_FAILURE() << text::toUtf8(loaded.error->describe());
            return;
        }
        window = std::move(loaded.window);
        backend.attach(*window);
        frame = std::make_unique<wizard::CMainFrame>(context, session, *window,
                                                     [modelDriverInstalled] { return modelDriverInstalled; });
        frame->setServices(
            {.loadDialog = [this](std::wstring_view file) { return loader().loadWindow(file).window; },
             .language = &language,
             .translations = &translations,
             .catalogue = &catalogue,
             .minimize = [this] { ++minimized; },
             .showDeviceInfo = nullptr}); // no device list: its button only says so
        frame->formMain().onNext = [this](int mode) { nexts.push_back(mode); };
        EXPECT_TRUE(frame->init(L"1.2.3.4"));
    }
    ui::LayoutLoader loader() {
        if (!reader)
            reader = std::make_unique<wizard::SkinLayoutReader>(archive);
        return ui::LayoutLoader(*reader, factory, &translations);
    }
    int savedSetupMode() {
        return machine.platform().profile().readInt(app::kProfileSection, app::kValueSetupMode, -1);
    }
    ui::Control& get(const wchar_t* name) { return *window->find(name); }
    bool selected(const wchar_t* name) { return window->findAs<ui::Option>(name)->selected(); }
};

} // namespace

TEST(MainFrame, InstallIsChosenAndNextFollowsAfterOneAndAHalfSeconds) {
    Wizard w({.savedMode = 2}); // whatever the last run saved
    EXPECT_TRUE(w.selected(L"chk_install_driver"));
    EXPECT_EQ(w.session.setupMode, 0);
    EXPECT_EQ(w.savedSetupMode(), 0);
    EXPECT_EQ(w.frame->currentPage(), L"form_main");
    EXPECT_EQ(w.get(L"mainframe_label_version").text(), L"1.2.3.4");
    // 151 ticks of 10 ms: 150 steps, then Next on the tick that finds the bar full.
    w.backend.advance(1500);
    EXPECT_TRUE(w.nexts.empty());
    EXPECT_EQ(w.window->findAs<ui::Progress>(L"process_form_main")->value(), 150);
    w.backend.advance(10);
    EXPECT_EQ(w.nexts, std::vector<int>{0});
    EXPECT_EQ(w.window->findAs<ui::Progress>(L"process_form_main")->value(), 0);
    EXPECT_EQ(w.backend.timerCount(), 0u);
    w.backend.advance(5000);
    EXPECT_EQ(w.nexts.size(), 1u);
}

TEST(MainFrame, AnInstalledModelDriverChoosesDeleteAndNothingAdvances) {
    Wizard w({.modelDriverInstalled = true});
    EXPECT_TRUE(w.selected(L"chk_uninstall_driver"));
    EXPECT_FALSE(w.selected(L"chk_install_driver"));
    EXPECT_EQ(w.session.setupMode, 2);
    EXPECT_EQ(w.savedSetupMode(), 2);
    w.backend.advance(5000);
    EXPECT_TRUE(w.nexts.empty());
}

TEST(MainFrame, AnyKeyCharacterOrClickCancelsTheAdvanceForGood) {
    enum Input { Click, Key, Character };
    for (Input input : {Click, Key, Character}) {
        Wizard w;
        w.backend.advance(500);
        if (input == Click)
            w.backend.click(w.get(L"label_title"));
        else if (input == Key)
            w.backend.keyDown(*w.window, 0x41);
        else
            w.backend.character(*w.window, L'a');
        EXPECT_EQ(w.frame->autoAdvanceCounting(), nullptr) << input;
        EXPECT_EQ(w.window->findAs<ui::Progress>(L"process_form_main")->value(), 0) << input;
        w.backend.advance(5000);
        // Entering the page again starts nothing either.
        w.frame->formMain().enter();
        w.backend.advance(5000);
        EXPECT_TRUE(w.nexts.empty()) << input;
        EXPECT_FALSE(w.frame->autoAdvanceEnabled());
    }
}

TEST(MainFrame, CtrlF9TogglesDebugModeAndItsControls) {
    Wizard w;
    EXPECT_EQ(w.get(L"label_debug").text(), L"");
    EXPECT_FALSE(w.get(L"btn_form_main_device_manager1").visible());
    w.backend.keyDown(*w.window, 0x78); // F9 alone: nothing
    EXPECT_FALSE(w.context.debug());
    w.backend.keyDown(*w.window, 0x78, true);
    EXPECT_TRUE(w.context.debug());
    EXPECT_EQ(w.get(L"label_debug").text(), L"DEBUG");
    EXPECT_TRUE(w.get(L"btn_form_main_device_manager1").visible());
    EXPECT_FALSE(w.get(L"btn_form_main_device_manager2").visible());
    w.backend.keyDown(*w.window, 0x78, true);
    EXPECT_FALSE(w.context.debug());
    EXPECT_EQ(w.get(L"label_debug").text(), L"");
    EXPECT_FALSE(w.get(L"btn_form_main_device_manager1").visible());
}

TEST(MainFrame, TheUsersChoiceIsSavedAtOnceAndNextAndCancelAct) {
    Wizard w;
    w.backend.click(w.get(L"chk_update_driver"));
    EXPECT_EQ(w.session.setupMode, 1);
    EXPECT_EQ(w.savedSetupMode(), 1);
    w.backend.click(w.get(L"btn_form_main_next"));
    EXPECT_EQ(w.nexts, std::vector<int>{1});
    // Entering again shows the session's choice and, outside install mode, starts no advance.
    w.frame->formMain().enter();
    EXPECT_TRUE(w.selected(L"chk_update_driver"));
    EXPECT_EQ(w.frame->autoAdvanceCounting(), nullptr);
    EXPECT_FALSE(w.window->closed());
    w.backend.click(w.get(L"btn_form_main_cancel"));
    EXPECT_TRUE(w.window->closed());
}

TEST(MainFrame, AStoppedSpoolerIsStartedAndOneThatWillNotStartIsReportedAtEachEntry) {
    {
        Wizard w({.spoolerState = ports::svc::Stopped});
        EXPECT_EQ(w.spooler.stateNow(), ports::svc::Running);
        EXPECT_TRUE(w.backend.messageBoxes().empty());
    }
    Wizard w({.spoolerState = ports::svc::Stopped, .spoolerFailures = {{"StartService", 1058}}});
    ASSERT_EQ(w.backend.messageBoxes().size(), 2u); // the window's start and the main page's entry
    EXPECT_EQ(w.backend.messageBoxes()[0].text,
              L"打开服务: Spooler 失败. 错误码: 1058. 错误描述: text of 1058.");
    EXPECT_EQ(w.backend.messageBoxes()[0].flags, ui::mb::Ok);
    // The wizard goes on: install mode, and the timed Next still comes.
    w.backend.advance(1510);
    EXPECT_EQ(w.nexts, std::vector<int>{0});
    w.frame->formMain().enter();
    EXPECT_EQ(w.backend.messageBoxes().size(), 3u);
}

TEST(MainFrame, NextLeadsToTheFirstPageOfTheChosenOperationAndBackReturns) {
    struct Case {
        const wchar_t* option;
        const wchar_t* page;
        bool chosenReset;
    };
    const Case cases[] = {
        {L"chk_install_driver", L"form_printer_manufacturer", true},
        {L"chk_update_driver", L"form_printer_manufacturer", false},
        {L"chk_uninstall_driver", L"form_delete_printer", false},
    };
    for (const auto& c : cases) {
        Wizard w;
        w.session.chosen.modelName = L"Earlier";
        w.backend.click(w.get(c.option));
        w.backend.click(w.get(L"btn_form_main_next"));
        EXPECT_EQ(w.frame->currentPage(), c.page) << text::toUtf8(c.option);
        EXPECT_TRUE(w.get(L"btn_form_printer_manufacturer_pre").isShown() ==
                    (std::wstring_view(c.page) == L"form_printer_manufacturer"));
        EXPECT_EQ(w.session.chosen.modelName, c.chosenReset ? L"" : L"Earlier") << text::toUtf8(c.option);
    }
    // Back from the manufacturer page enters the main page again, with the choice of the session.
    Wizard w;
    w.backend.click(w.get(L"chk_update_driver"));
    w.backend.click(w.get(L"btn_form_main_next"));
    w.backend.click(w.get(L"btn_form_printer_manufacturer_pre"));
    EXPECT_EQ(w.frame->currentPage(), L"form_main");
    EXPECT_TRUE(w.selected(L"chk_update_driver"));
    w.backend.click(w.get(L"btn_form_main_next"));
    w.backend.click(w.get(L"btn_form_printer_manufacturer_cancel"));
    EXPECT_TRUE(w.window->closed());
}

TEST(MainFrame, TheTimedAdvanceEntersTheManufacturerPage) {
    Wizard w;
    w.session.chosen.modelName = L"Earlier";
    w.backend.advance(1510);
    EXPECT_EQ(w.frame->currentPage(), L"form_printer_manufacturer");
    EXPECT_EQ(w.session.chosen.modelName, L"");
}

TEST(MainFrame, TheAboutDialogShowsTheCatalogueInTheCurrentLanguage) {
    struct Case {
        const wchar_t* language;
        const wchar_t* product;
        const wchar_t* company; // no English company name: the Chinese one in every language
    };
    const Case cases[] = {
        {L"English", L"Thermal Label Printer", L"柯尔凡"},
        {L"German", L"Thermal Label Printer", L"柯尔凡"},
        {L"ChineseSimplified", L"标签打印机", L"柯尔凡"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(text::toUtf8(c.language));
        Wizard w;
        (void)w.language.setLanguage(languageFolder(c.language), c.language);
        std::map<std::wstring, std::pair<std::wstring, bool>> seen;
        w.backend.setModalHandler([&](ui::Window& dialog) {
            for (const wchar_t* name : {L"label_product", L"label_company", L"label_website", L"label_tel",
                                        L"label_email", L"label_version", L"label_create_time"})
                seen[name] = {dialog.find(name)->text(), dialog.find(name)->visible()};
            w.backend.click(*dialog.find(L"btn_ok"));
            return ui::mb::IdCancel;
        });
        w.backend.click(w.get(L"windowaboutbtn"));
        ASSERT_EQ(w.backend.modalsShown().size(), 1u);
        EXPECT_EQ(seen[L"label_product"], std::pair(std::wstring(c.product), true));
        EXPECT_EQ(seen[L"label_company"], std::pair(std::wstring(c.company), true));
        EXPECT_EQ(seen[L"label_website"].first, L"https://w.example");
        EXPECT_FALSE(seen[L"label_tel"].second);
        EXPECT_EQ(seen[L"label_email"].first, L"s@w.example");
        EXPECT_EQ(seen[L"label_version"].first, L"3.0.2.465");
        EXPECT_EQ(seen[L"label_create_time"].first, L"2024-05-01");
    }
}

TEST(MainFrame, TheLanguageDialogSwitchesTheLiveTextsAtOnceAndClosingKeepsTheChoice) {
    Wizard w;
    EXPECT_EQ(w.get(L"label_title").text(), L"Printer Driver Wizard");
    EXPECT_EQ(w.get(L"windowclosebtn").tooltip(), L"Close");
    std::wstring titleDuring, dialogTitle;
    bool englishSelected = false;
    w.backend.setModalHandler([&](ui::Window& dialog) {
        englishSelected = dialog.findAs<ui::Option>(L"menu_lang_English")->selected();
        w.backend.click(*dialog.find(L"menu_lang_German"));
        titleDuring = w.get(L"label_title").text();
        dialogTitle = dialog.find(L"label_language_title")->text();
        return ui::mb::IdCancel;
    });
    w.backend.click(w.get(L"windowlangbtn"));
    EXPECT_TRUE(englishSelected);
    EXPECT_EQ(titleDuring, L"Druckertreiber-Assistent");
    EXPECT_EQ(dialogTitle, L"Sprache wechseln");
    EXPECT_EQ(w.language.currentLanguageName(), L"German");
    EXPECT_EQ(w.get(L"windowclosebtn").tooltip(), L"Schließen");
    EXPECT_EQ(w.get(L"chk_install_driver").text(), L"Drucker installieren");

    // Opened again: German is the selected option; the close button leaves it so.
    bool germanSelected = false;
    w.backend.setModalHandler([&](ui::Window& dialog) {
        germanSelected = dialog.findAs<ui::Option>(L"menu_lang_German")->selected();
        w.backend.click(*dialog.find(L"windowclosebtn"));
        return ui::mb::IdOk;
    });
    w.backend.click(w.get(L"windowlangbtn"));
    EXPECT_TRUE(germanSelected);
    EXPECT_EQ(w.language.currentLanguageName(), L"German");
    EXPECT_EQ(w.get(L"label_title").text(), L"Druckertreiber-Assistent");

    // The source language shows the layouts' own texts again.
    w.backend.setModalHandler([&](ui::Window& dialog) {
        w.backend.click(*dialog.find(L"menu_lang_ChineseSimplified"));
        return ui::mb::IdCancel;
    });
    w.backend.click(w.get(L"windowlangbtn"));
    EXPECT_EQ(w.get(L"label_title").text(), L"打印机驱动向导");
    EXPECT_EQ(w.get(L"btn_form_main_next").text(), L"下一步");
}

TEST(MainFrame, TheOtherTitleBarButtons) {
    Wizard w;
    w.backend.click(w.get(L"windowminbtn"));
    EXPECT_EQ(w.minimized, 1);
    w.backend.click(w.get(L"windowdeviceinfobtn"));
    EXPECT_EQ(w.backend.messageBoxes().size(), 1u);
    EXPECT_FALSE(w.window->closed());
    w.backend.click(w.get(L"windowclosebtn"));
    EXPECT_TRUE(w.window->closed());
}
