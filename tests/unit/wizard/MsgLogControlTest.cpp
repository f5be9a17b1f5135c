// The end page's message log: prefixes by its layout attributes, colours, the 5000-line rule, the
// order of lines from many threads, and lines that arrive when the log cannot take them.
#include "unit/ui/UiFixture.h"

#include "app/msglog/MessageLog.h"
#include "base/Utf.h"
#include "platform/sim/SimClock.h"
#include "wizard/CMsgWnd2UI.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

using wizard::CMsgWnd2UI;

namespace {

constexpr ports::SystemTime kNoon{2026, 12, 5, 11, 12, 3, 4, 56};

// The end page's layout with the log's attributes, in a window on the headless backend.
struct EndPage {
    sim::VirtualClock clock{kNoon};
    ui::headless::HeadlessBackend backend;
    std::unique_ptr<ui::Window> window;
    CMsgWnd2UI* log = nullptr;

    explicit EndPage(const char* attributes = R"(showdate="false" showtime="false")", bool init = true) {
        uitest::Skin skin;
        wizard::registerMessageLog(skin.factory, clock);
        skin.files.set(L"form_main.xml",
                       std::string(R"(<VerticalLayout><MsgWnd2 name="text_setup_msg" font="0" )") +
                           attributes + "/></VerticalLayout>");
        auto loaded = skin.load();
        if (!loaded.window)
            ADD_FAILURE() << text::toUtf8(loaded.error->describe());
        window = std::move(loaded.window);
        backend.attach(*window);
        log = window->findAs<CMsgWnd2UI>(L"text_setup_msg");
        if (init)
            log->init(*window);
    }
    std::size_t pump() { return backend.queue().pump(); }
};

} // namespace

TEST(MsgLogControl, PrefixesFollowTheLayoutAttributes) {
    struct Case {
        const char* attributes;
        const wchar_t* line;
    };
    for (auto c : {Case{R"(showdate="false" showtime="false")", L"已找到打印机\r\n"},
                   Case{"", L"2026-12-11 12:03:04.056 : 已找到打印机\r\n"},
                   Case{R"(showdate="TRUE" showtime="true")", L"2026-12-11 12:03:04.056 : 已找到打印机\r\n"},
                   Case{R"(showdate="false" showtime="true")", L"12:03:04.056 : 已找到打印机\r\n"},
                   Case{R"(showdate="true" showtime="no")", L"2026-12-11 : 已找到打印机\r\n"}}) {
        EndPage page(c.attributes);
        PrintMessage(L"已找到%s", L"打印机");
        page.pump();
        EXPECT_EQ(page.log->content(), c.line) << c.attributes;
    }
}

TEST(MsgLogControl, LinesKeepTheirColours) {
    EndPage page;
    PrintMessage(L"step %d", 1);
    PrintMessageColor(msglog::kRed, L"打开服务: Spooler 失败. 错误码: %d. 错误描述: %s.", 5,
                      L"Access is denied.");
    PrintMessageColor(msglog::kBlue, L"安装完成.");
    page.pump();
    using Run = ui::RichEdit::Run;
    EXPECT_EQ(page.log->runs(),
              (std::vector<Run>{
                  {L"step 1\r\n", msglog::kBlack},
                  {L"打开服务: Spooler 失败. 错误码: 5. 错误描述: Access is denied..\r\n", msglog::kRed},
                  {L"安装完成.\r\n", msglog::kBlue}}));
    // The end page's reset clears it.
    page.log->setText(L"");
    EXPECT_EQ(page.log->content(), L"");
    EXPECT_EQ(page.log->text(), L"");
}

TEST(MsgLogControl, TheFiveThousandthLineStartsTheLogAgain) {
    EndPage page;
    for (int i = 1; i <= 4999; ++i)
        PostLogMessage(L"x", msglog::kBlack);
    page.pump();
    EXPECT_EQ(page.log->lineCount(), 5000);
    EXPECT_EQ(page.log->runs().size(), 4999u);
    PostLogMessage(L"line 5000", msglog::kRed);
    page.pump();
    EXPECT_EQ(page.log->content(), L"line 5000\r\n");
    EXPECT_EQ(page.log->lineCount(), 2);
}

TEST(MsgLogControl, LinesFromManyThreadsKeepTheirPostingOrder) {
    EndPage page;
    // The writers take turns under a lock, so the order of the calls is known.
    std::mutex turn;
    int next = 0;
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([&] {
            for (int i = 0; i < 250; ++i) {
                std::lock_guard lock(turn);
                PrintMessage(L"%d", next++);
            }
        });
    // The UI thread pumps while they write.
    while (page.log->runs().size() < 1000) {
        page.pump();
        std::this_thread::yield();
    }
    for (auto& w : writers)
        w.join();
    ASSERT_EQ(page.log->runs().size(), 1000u);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(page.log->runs()[static_cast<std::size_t>(i)].text, std::to_wstring(i) + L"\r\n");
}

TEST(MsgLogControl, LinesBeforeInitAfterDestructionOrWhileClosingAreDropped) {
    {
        EndPage page("", false);
        PrintMessage(L"too early");
        EXPECT_EQ(page.pump(), 0u);
        page.log->init(*page.window);
        PrintMessage(L"in time");
        page.backend.close(*page.window); // queued before the close: dropped, freed
        page.pump();
        EXPECT_EQ(page.log->runs().size(), 0u);
    }
    // Writers still running while the window closes and is destroyed.
    std::atomic<bool> stop{false};
    std::vector<std::thread> writers;
    {
        EndPage page;
        for (int t = 0; t < 3; ++t)
            writers.emplace_back([&] {
                for (int i = 0; i < 20000 && !stop; ++i)
                    PrintMessageColor(msglog::kRed, L"writer %d", i);
            });
        while (page.log->runs().size() < 10)
            page.pump();
        page.backend.close(*page.window);
        page.pump();
    }                        // the window, its log and the backend with its queue go while the writers write
    PrintMessage(L"no log"); // nothing current: dropped
    stop = true;
    for (auto& w : writers)
        w.join();
}
