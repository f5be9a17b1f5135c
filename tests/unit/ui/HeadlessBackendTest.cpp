// The headless backend: timers on the virtual clock, the dispatcher that the test pumps, private
// messages and their records, message boxes and modal dialogs.
#include "UiFixture.h"

#include "ui/core/Controls.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace ui;
using uitest::RecordingPage;
using uitest::Skin;
using Seen = std::vector<std::string>;

namespace {

struct Page {
    headless::HeadlessBackend backend;
    std::unique_ptr<Window> window;
    RecordingPage page;
    Page() {
        auto loaded = Skin().load();
        window = std::move(loaded.window);
        backend.attach(*window);
        window->setOwner(&page);
    }
    Control& get(const wchar_t* name) { return *window->find(name); }
};

// A record that counts its live instances, to see that each posted one is freed exactly once.
struct Counted {
    static inline std::atomic<int> alive{0};
    int value;
    explicit Counted(int v) : value(v) { ++alive; }
    ~Counted() { --alive; }
};

} // namespace

TEST(VirtualClock, TicksFallAtTheirMomentsInOrder) {
    Page p;
    auto& progress = p.get(L"process_form_main");
    auto& pic = p.get(L"label_debug");
    ASSERT_TRUE(progress.startTimer(1, 10));
    ASSERT_TRUE(pic.startTimer(500, 25));
    p.backend.advance(9);
    EXPECT_TRUE(p.page.seen.empty());
    p.backend.advance(41); // to 50 ms
    EXPECT_EQ(p.page.seen,
              (Seen{"timer process_form_main 1", "timer process_form_main 1", "timer label_debug 500",
                    "timer process_form_main 1", "timer process_form_main 1", "timer label_debug 500",
                    "timer process_form_main 1"}));
    EXPECT_EQ(p.backend.now(), 50u);
}

TEST(VirtualClock, AHandlerMayStopOrRestartTimersDuringATick) {
    Page p;
    auto& progress = p.get(L"process_form_main");
    int ticks = 0;
    p.page.then = [&](const Notification& n) {
        if (++ticks == 3)
            n.control.stopTimer(n.timerId);
    };
    progress.startTimer(1, 10);
    p.backend.advance(1000);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(p.backend.timerRunning(progress, 1));
    // Starting again restarts the period from now.
    progress.startTimer(1, 10);
    p.backend.advance(5);
    progress.startTimer(1, 10);
    p.backend.advance(9);
    EXPECT_EQ(ticks, 3);
    p.backend.advance(1);
    EXPECT_EQ(ticks, 4);
}

TEST(VirtualClock, AOneAndAHalfSecondAdvanceIsExact) {
    // The wizard's automatic advance: 150 steps of 10 ms on a progress bar, then Next.
    Page p;
    auto& bar = *p.window->findAs<Progress>(L"process_form_main");
    bar.setMaximum(150);
    bool next = false;
    p.page.then = [&](const Notification& n) {
        if (n.kind != NotifyKind::Timer)
            return;
        if (bar.value() == bar.maximum()) {
            bar.stopTimer(1);
            next = true;
        } else
            bar.setValue(bar.value() + 1);
    };
    bar.startTimer(1, 10);
    p.backend.advance(1500);
    EXPECT_FALSE(next);
    p.backend.advance(10);
    EXPECT_TRUE(next);
    EXPECT_EQ(p.backend.timerCount(), 0u);
}

TEST(VirtualClock, TimersOfADestroyedWindowAreForgotten) {
    headless::HeadlessBackend backend;
    {
        auto loaded = Skin().load();
        backend.attach(*loaded.window);
        loaded.window->find(L"process_form_main")->startTimer(1, 10);
        EXPECT_EQ(backend.timerCount(), 1u);
    }
    EXPECT_EQ(backend.timerCount(), 0u);
    backend.advance(100); // nothing left to call
}

TEST(VirtualClock, AnimatedPictureCyclesItsFramesOnItsOwnTimer) {
    Page p;
    auto& pic = *p.window->findAs<AnimatedPicture>(L"pic_search");
    pic.start();
    EXPECT_TRUE(pic.running());
    p.backend.advance(200);
    EXPECT_EQ(pic.frame(), 1);
    p.backend.advance(200);
    EXPECT_EQ(pic.frame(), 0);
    pic.stop();
    EXPECT_FALSE(p.backend.timerRunning(pic, AnimatedPicture::kFrameTimer));
    EXPECT_TRUE(p.page.seen.empty()); // the animation's ticks are its own
}

TEST(PrivateMessages, PostedRecordsArriveInOrderFromManyThreadsAndAreFreed) {
    constexpr unsigned kFound = 0x400 + 102;
    Page p;
    std::vector<int> got;
    p.window->onPrivate<Counted>(kFound, [&](Counted& r) { got.push_back(r.value); });
    auto poster = p.window->poster();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([poster, t] {
            for (int i = 0; i < 100; ++i)
                poster.post(kFound, std::make_unique<Counted>(t * 1000 + i));
        });
    for (auto& t : threads)
        t.join();
    EXPECT_TRUE(got.empty()); // nothing before the UI thread pumps
    EXPECT_EQ(p.backend.queue().pump(), 400u);
    ASSERT_EQ(got.size(), 400u);
    // Each thread's records in the order it posted them.
    for (int t = 0; t < 4; ++t) {
        int last = -1;
        for (int v : got)
            if (v / 1000 == t) {
                EXPECT_GT(v, last);
                last = v;
            }
    }
    EXPECT_EQ(Counted::alive, 0);
}

TEST(PrivateMessages, RecordsForAGoneOrClosedWindowAreDroppedAndFreed) {
    constexpr unsigned kMsg = 0x402;
    headless::HeadlessBackend backend;
    int handled = 0;
    WindowPoster poster;
    {
        auto loaded = Skin().load();
        backend.attach(*loaded.window);
        loaded.window->onPrivate<Counted>(kMsg, [&](Counted&) { ++handled; });
        poster = loaded.window->poster();
        poster.post(kMsg, std::make_unique<Counted>(1));
        backend.close(*loaded.window);
        poster.post(kMsg, std::make_unique<Counted>(2)); // closing: dropped when handled
        backend.queue().pump();
        EXPECT_EQ(handled, 0);
        poster.post(kMsg, std::make_unique<Counted>(3)); // the window goes before this one is pumped
    }
    backend.queue().pump();
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(Counted::alive, 0);
    // A record of another type than the handler's is not passed off as one.
    auto loaded = Skin().load();
    backend.attach(*loaded.window);
    loaded.window->onPrivate<Counted>(kMsg, [&](Counted&) { ++handled; });
    loaded.window->poster().post(kMsg, std::make_unique<std::string>("other"));
    backend.queue().pump();
    EXPECT_EQ(handled, 0);
}

TEST(PrivateMessages, SendWaitsForTheUiThreadAndFailsOnceItStops) {
    constexpr unsigned kBt = 0x400 + 103;
    Page p;
    p.window->onPrivate<int>(kBt, [](int& v) { v *= 2; });
    auto poster = p.window->poster();
    int value = 21;
    std::atomic<bool> sent{false};
    std::thread sender([&] {
        EXPECT_TRUE(poster.send(kBt, value));
        sent = true;
    });
    while (p.backend.queue().pending() == 0)
        std::this_thread::yield();
    EXPECT_FALSE(sent);
    p.backend.queue().pump();
    sender.join();
    EXPECT_EQ(value, 42);
    // On the UI thread itself a send runs at once.
    EXPECT_TRUE(poster.send(kBt, value));
    EXPECT_EQ(value, 84);
    // A sender waiting when the UI thread stops is released with false.
    std::thread late([&] { EXPECT_FALSE(poster.send(kBt, value)); });
    while (p.backend.queue().pending() == 0)
        std::this_thread::yield();
    p.backend.queue().close();
    late.join();
    EXPECT_EQ(value, 84);
    EXPECT_FALSE(poster.post(kBt, std::make_unique<int>(1)));
}

TEST(Dialogs, MessageBoxesAreRecordedAndAnsweredInTurn) {
    Page p;
    p.backend.answerNextMessageBox(mb::IdNo);
    EXPECT_EQ(p.window->messageBox(L"删除打印机?", L"Orvello", mb::YesNo | mb::IconQuestion), mb::IdNo);
    EXPECT_EQ(p.window->messageBox(L"打开服务: Spooler 失败.", L"Orvello", mb::Ok), mb::IdOk);
    ASSERT_EQ(p.backend.messageBoxes().size(), 2u);
    EXPECT_EQ(p.backend.messageBoxes()[0].text, L"删除打印机?");
    EXPECT_EQ(p.backend.messageBoxes()[0].flags, mb::YesNo | mb::IconQuestion);
}

TEST(Dialogs, AModalDialogEndsWithTheCodeItsPageGives) {
    Page p;
    Skin skin;
    skin.files.set(L"DlgAbout.xml", R"(<Window size="300,200" name="DlgAbout">
      <Button name="btn_ok" text="OK"/></Window>)");
    auto dialog = skin.load(L"DlgAbout.xml");
    ASSERT_TRUE(dialog.window);
    RecordingPage dlgPage;
    dialog.window->setOwner(&dlgPage);
    dlgPage.then = [&](const Notification&) { dialog.window->endModal(mb::IdOk); };
    p.backend.setModalHandler([&](Window& d) {
        p.backend.click(*d.find(L"btn_ok"));
        return mb::IdCancel; // the page's end code counts
    });
    EXPECT_EQ(p.window->showModal(*dialog.window), mb::IdOk);
    EXPECT_EQ(p.backend.modalsShown(), (std::vector<std::wstring>{L"DlgAbout"}));
    EXPECT_EQ(dlgPage.seen, (Seen{"click btn_ok"}));
}
