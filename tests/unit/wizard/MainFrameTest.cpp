// The main window and the main page on the shipped layouts, headless: the first choice of operation,
// the timed automatic Next and what cancels it, the debug switch, and the page's buttons.
#include "app/PersistedChoices.h"
#include "app/skin/SkinArchive.h"
#include "base/Utf.h"
#include "platform/sim/SimClock.h"
#include "support/TestMachine.h"
#include "unit/engine/DeviceToolFakes.h"
#include "ui/headless/HeadlessBackend.h"
#include "wizard/CMainFrame.h"
#include "wizard/CMsgWnd2UI.h"
#include "wizard/SkinLayouts.h"

#include <gtest/gtest.h>

namespace {

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
    ui::headless::HeadlessBackend backend;
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
        wizard::SkinLayoutReader reader(archive);
        ui::ControlFactory factory;
        wizard::registerMessageLog(factory, clock);
        auto loaded = ui::LayoutLoader(reader, factory, nullptr).loadWindow(L"MainFrame.xml");
        if (!loaded.window) {
            ADD_FAILURE() << text::toUtf8(loaded.error->describe());
            return;
        }
        window = std::move(loaded.window);
        backend.attach(*window);
        frame = std::make_unique<wizard::CMainFrame>(context, session, *window,
                                                     [modelDriverInstalled] { return modelDriverInstalled; });
        frame->formMain().onNext = [this](int mode) { nexts.push_back(mode); };
        EXPECT_TRUE(frame->init(L"1.2.3.4"));
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
