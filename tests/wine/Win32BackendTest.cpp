// The toolkit on native windows, under Wine (or Windows) on a display: the child windows follow the
// model, native input reaches the pages as the headless backend delivers it, and timers, tasks from
// other threads and modal dialogs run through the window system's message loop.
#include "ui/core/Controls.h"
#include "ui/core/Grid.h"
#include "ui/win32/NativeControls.h"
#include "ui/win32/Win32Backend.h"
#include "unit/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace ui;
using uitest::RecordingPage;
using uitest::Skin;
using Seen = std::vector<std::string>;

namespace {

std::wstring classOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring textOf(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return text;
}

class NativeBackend : public testing::Test {
protected:
    void SetUp() override {
        auto loaded = Skin().load();
        ASSERT_TRUE(loaded.window);
        window = std::move(loaded.window);
        ASSERT_TRUE(backend.createFrame(*window));
        window->find(L"form_main")->setOwner(&mainPage);
        window->find(L"form_printer_port")->setOwner(&portPage);
        backend.showFrame();
        backend.pumpMessages();
    }
    void TearDown() override {
        backend.destroyFrame();
        window.reset();
        // A quit left by a test must not reach the next one.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    HWND hwnd(const wchar_t* name) {
        Control* c = window->find(name);
        EXPECT_NE(c, nullptr) << name;
        return c ? backend.frame()->hwndOf(*c) : nullptr;
    }
    template <typename T> T& get(const wchar_t* name) {
        auto* c = window->findAs<T>(name);
        EXPECT_NE(c, nullptr);
        return *c;
    }
    // Handles messages until `done` holds, for at most five seconds.
    template <typename F> bool pumpUntil(F done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done() && std::chrono::steady_clock::now() < end) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            backend.pumpMessages();
        }
        return done();
    }

    win32::Win32Backend backend;
    std::unique_ptr<Window> window;
    RecordingPage mainPage, portPage;
};

TEST_F(NativeBackend, EveryLeafIsANativeChildWithItsLayoutNameClassAndRectangle) {
    const struct {
        const wchar_t* name;
        const wchar_t* cls;
        LONG kind; // button style bits, or -1
    } cases[] = {
        {L"label_title", L"Static", -1},
        {L"windowclosebtn", L"Button", BS_PUSHBUTTON},
        {L"chk_install_driver", L"Button", BS_RADIOBUTTON},
        {L"process_form_main", PROGRESS_CLASSW, -1},
        {L"btn_form_main_next", L"Button", BS_PUSHBUTTON},
        {L"grid_printer_port", WC_LISTVIEWW, -1},
        {L"text_ip_address", L"Edit", -1},
        {L"combo_port", L"ComboBox", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
        HWND h = hwnd(c.name);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(GetParent(h), backend.frame()->hwnd());
        EXPECT_EQ(win32::layoutNameOf(h), c.name);
        EXPECT_EQ(_wcsicmp(classOf(h).c_str(), c.cls), 0) << classOf(h).c_str();
        if (c.kind >= 0) {
            EXPECT_EQ(GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK, c.kind);
        }
        EXPECT_NE(SendMessageW(h, WM_GETFONT, 0, 0), 0);
    }
    // Shown controls sit where the layout put them; the other page's stay hidden.
    for (const wchar_t* name : {L"label_title", L"chk_update_driver", L"btn_form_main_cancel"}) {
        HWND h = hwnd(name);
        RECT r{};
        GetWindowRect(h, &r);
        MapWindowPoints(HWND_DESKTOP, backend.frame()->hwnd(), reinterpret_cast<POINT*>(&r), 2);
        const Rect& want = window->find(name)->rect();
        EXPECT_FALSE(want.empty());
        EXPECT_EQ((Rect{r.left, r.top, r.right, r.bottom}), want);
        EXPECT_TRUE(IsWindowVisible(h));
    }
    EXPECT_FALSE(IsWindowVisible(hwnd(L"grid_printer_port")));
    EXPECT_EQ(textOf(hwnd(L"btn_form_main_next")), L"下一步");
}

TEST_F(NativeBackend, NativeWindowsFollowTextStateAndPageChangesOfTheModel) {
    get<Label>(L"label_debug").setText(L"DEBUG");
    get<Button>(L"btn_form_main_next").setEnabled(false);
    get<Option>(L"chk_update_driver").setSelected(true, false);
    get<Progress>(L"process_form_main").setValue(42);
    EXPECT_EQ(textOf(hwnd(L"label_debug")), L"DEBUG");
    EXPECT_FALSE(IsWindowEnabled(hwnd(L"btn_form_main_next")));
    EXPECT_EQ(SendMessageW(hwnd(L"chk_update_driver"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(hwnd(L"process_form_main"), PBM_GETPOS, 0, 0), 42);

    auto& combo = get<Combo>(L"combo_port");
    combo.addItem(L"USB001");
    combo.select(2, false);
    EXPECT_EQ(SendMessageW(hwnd(L"combo_port"), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(hwnd(L"combo_port"), CB_GETCURSEL, 0, 0), 2);

    get<Tab>(L"tab_main").select(L"form_printer_port");
    ASSERT_TRUE(pumpUntil([&] { return IsWindowVisible(hwnd(L"grid_printer_port")) != FALSE; }));
    EXPECT_FALSE(IsWindowVisible(hwnd(L"btn_form_main_next")));
    auto& grid = get<Grid>(L"grid_printer_port");
    grid.setCellText(grid.appendRow(), 1, L"LPT1:");
    EXPECT_EQ(SendMessageW(hwnd(L"grid_printer_port"), LVM_GETITEMCOUNT, 0, 0), 1);
}

TEST_F(NativeBackend, NativeInputReachesThePageAsTheToolkitsNotifications) {
    SendMessageW(hwnd(L"btn_form_main_next"), BM_CLICK, 0, 0);
    SendMessageW(hwnd(L"chk_uninstall_driver"), BM_CLICK, 0, 0);
    get<Button>(L"btn_form_main_cancel").setEnabled(false);
    SendMessageW(hwnd(L"btn_form_main_cancel"), BM_CLICK, 0, 0); // disabled: nothing
    EXPECT_EQ(mainPage.seen, (Seen{"click btn_form_main_next", "selection chk_uninstall_driver"}));
    EXPECT_TRUE(get<Option>(L"chk_uninstall_driver").selected());
    EXPECT_EQ(SendMessageW(hwnd(L"chk_uninstall_driver"), BM_GETCHECK, 0, 0), BST_CHECKED);

    get<Tab>(L"tab_main").select(L"form_printer_port");
    SetWindowTextW(hwnd(L"text_ip_address"), L"10.0.0.7");
    HWND combo = hwnd(L"combo_port");
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    SendMessageW(backend.frame()->hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(portPage.seen, (Seen{"text text_ip_address", "selection combo_port"}));
    EXPECT_EQ(get<Edit>(L"text_ip_address").text(), L"10.0.0.7");
    EXPECT_EQ(get<Combo>(L"combo_port").selectedIndex(), 1);
}

TEST_F(NativeBackend, EnterPressesNextEscPressesCancelAndTheHookSeesKeysFirst) {
    std::vector<unsigned> keys;
    window->setMessageHook([&](Window&, const WindowMessage& m) {
        if (m.kind == WindowMessage::KeyDown)
            keys.push_back(m.key);
        return false;
    });
    HWND option = hwnd(L"chk_install_driver");
    SetFocus(option);
    PostMessageW(option, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(option, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(pumpUntil([&] { return mainPage.seen.size() >= 2; }));
    EXPECT_EQ(mainPage.seen, (Seen{"click btn_form_main_next", "click btn_form_main_cancel"}));
    EXPECT_EQ(keys, (std::vector<unsigned>{VK_RETURN, VK_ESCAPE}));
}

TEST_F(NativeBackend, TheFirstInputOfThePageHasTheFocusAndTabMovesItOverShownEnabledInputs) {
    EXPECT_EQ(win32::layoutNameOf(GetFocus()), L"chk_install_driver");
    get<Option>(L"chk_update_driver").setEnabled(false);
    SetFocus(hwnd(L"chk_install_driver"));
    std::vector<std::wstring> visited;
    for (int i = 0; i < 3; ++i) {
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        backend.pumpMessages();
        visited.push_back(win32::layoutNameOf(GetFocus()));
    }
    EXPECT_EQ(visited, (std::vector<std::wstring>{L"chk_uninstall_driver", L"btn_form_main_next",
                                                  L"btn_form_main_cancel"}));
}

TEST_F(NativeBackend, TimersTickOnTheControlUntilStopped) {
    auto& progress = get<Progress>(L"process_form_main");
    ASSERT_TRUE(progress.startTimer(7, 10));
    ASSERT_TRUE(pumpUntil([&] { return mainPage.seen.size() >= 2; }));
    progress.stopTimer(7);
    const std::size_t ticks = mainPage.seen.size();
    EXPECT_EQ(mainPage.seen.front(), "timer process_form_main 7");
    Sleep(50);
    backend.pumpMessages();
    EXPECT_EQ(mainPage.seen.size(), ticks);
}

TEST_F(NativeBackend, OtherThreadsPostAndSendToTheUiThreadAndRecordsAreFreedAfterClose) {
    const DWORD uiThread = GetCurrentThreadId();
    struct Record {
        std::shared_ptr<int> alive;
        DWORD ranOn = 0;
    };
    auto alive = std::make_shared<int>(0);
    std::vector<DWORD> ranOn;
    window->onPrivate<Record>(0x0402, [&](Record&) { ranOn.push_back(GetCurrentThreadId()); });
    WindowPoster poster = window->poster();
    std::atomic<bool> sent{false};
    std::thread other([&] {
        EXPECT_TRUE(poster.post(0x0402, std::make_unique<Record>(Record{alive})));
        Record r{alive};
        sent = poster.send(0x0402, r);
    });
    ASSERT_TRUE(pumpUntil([&] { return sent.load(); }));
    other.join();
    EXPECT_EQ(ranOn, (std::vector<DWORD>{uiThread, uiThread}));
    EXPECT_EQ(alive.use_count(), 1);

    backend.destroyFrame();
    EXPECT_FALSE(poster.post(0x0402, std::make_unique<Record>(Record{alive})));
    EXPECT_EQ(alive.use_count(), 1);
}

TEST_F(NativeBackend, AModalDialogDisablesItsOwnerUntilItEnds) {
    Skin skin;
    skin.files.set(L"dialog.xml", R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="300,120" title="Question"><Include source="config.xml"/>
  <Button name="btn_ok" text="OK"/></Window>)");
    auto dialog = skin.load(L"dialog.xml");
    ASSERT_TRUE(dialog.window);
    BOOL ownerEnabled = TRUE;
    HWND dialogWindow = nullptr;
    // The dialog's own page ends it when its button is clicked.
    struct Ender : NotifyTarget {
        Window* dialog;
        void notify(const Notification& n) override {
            if (n.kind == NotifyKind::Click)
                dialog->endModal(6);
        }
    } ender;
    ender.dialog = dialog.window.get();
    dialog.window->setOwner(&ender);
    window->poster().post(0x0403, std::make_unique<int>(0));
    window->onPrivate<int>(0x0403, [&](int&) {
        ownerEnabled = IsWindowEnabled(backend.frame()->hwnd());
        win32::NativeWindow* native = backend.nativeOf(*dialog.window);
        dialogWindow = native ? native->hwnd() : nullptr;
        if (native)
            PostMessageW(native->hwndOf(*dialog.window->find(L"btn_ok")), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(window->showModal(*dialog.window), 6);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_NE(dialogWindow, nullptr);
    EXPECT_FALSE(IsWindow(dialogWindow));
    EXPECT_TRUE(IsWindowEnabled(backend.frame()->hwnd()));
}

TEST_F(NativeBackend, TheCaptionDragsTheWindowAndClosingEndsTheLoop) {
    HWND frame = backend.frame()->hwnd();
    RECT r{};
    GetWindowRect(frame, &r);
    const auto hitAt = [&](int y) {
        return SendMessageW(frame, WM_NCHITTEST, 0, MAKELPARAM(r.left + 100, r.top + y));
    };
    const int caption = static_cast<int>(27 * backend.frame()->scale());
    EXPECT_EQ(hitAt(2), HTCAPTION);
    EXPECT_EQ(hitAt(caption - 1), HTCAPTION);
    EXPECT_EQ(hitAt(caption + 40), HTCLIENT);

    bool hookSawClose = false;
    window->setMessageHook([&](Window&, const WindowMessage& m) {
        hookSawClose = hookSawClose || m.kind == WindowMessage::Close;
        return false;
    });
    PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(backend.runMessageLoop(), 0);
    EXPECT_TRUE(hookSawClose);
    EXPECT_TRUE(window->closed());
}

} // namespace
