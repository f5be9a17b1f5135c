// The message log seam the tool runner, the pipe reader and the spooler routines write through:
// formatting, colours, the one current log, and posts from several threads.
#include "app/msglog/RecordingMessageLog.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using msglog::LogMessage;
using msglog::RecordingMessageLog;

TEST(MessageLog, PrintOperationsFormatAndColour) {
    RecordingMessageLog log;
    PrintMessage(L"return dwCode = %d", -2);
    PrintMessageColor(msglog::kRed, L"删除打印机: %s. 失败. 错误码: %d. 错误描述: %s.", L"CX-420T", 5,
                      L"Access is denied");
    PrintMessageColor(msglog::kBlue, L"安装完成.");
    PostLogMessage(L"100% of \"C:\\a %s b\"", msglog::kBlack); // texts that are no formats stay as they are
    EXPECT_EQ(log.messages(),
              (std::vector<LogMessage>{
                  {L"return dwCode = -2", 0x000000},
                  {L"删除打印机: CX-420T. 失败. 错误码: 5. 错误描述: Access is denied.", 0x0000FF},
                  {L"安装完成.", 0xFF0000},
                  {L"100% of \"C:\\a %s b\"", 0x000000}}));
}

TEST(MessageLog, OnlyTheCurrentLogReceivesAndNoneDropsQuietly) {
    PrintMessage(L"before any log"); // dropped
    std::optional<RecordingMessageLog> first;
    first.emplace();
    PrintMessage(L"one");
    {
        RecordingMessageLog second; // the newest log is the current one
        PrintMessage(L"two");
        EXPECT_EQ(second.messages(), (std::vector<LogMessage>{{L"two", 0}}));
    }
    PrintMessage(L"three"); // the second log is gone, and with it the current log
    EXPECT_EQ(first->messages(), (std::vector<LogMessage>{{L"one", 0}}));

    // An older log going away does not take the current one with it.
    RecordingMessageLog third;
    first.reset();
    PrintMessage(L"four");
    EXPECT_EQ(third.messages(), (std::vector<LogMessage>{{L"four", 0}}));
}

TEST(MessageLog, PostsFromSeveralThreadsAllArriveInTheirThreadsOrder) {
    RecordingMessageLog log;
    constexpr int kThreads = 4;
    constexpr int kEach = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kEach; ++i)
                PrintMessage(L"%d %d", t, i);
        });
    for (auto& th : threads)
        th.join();
    const auto messages = log.messages();
    ASSERT_EQ(messages.size(), static_cast<std::size_t>(kThreads * kEach));
    std::vector<int> next(kThreads, 0);
    for (const auto& m : messages) {
        const int t = std::stoi(m.text);
        EXPECT_EQ(m.text, std::to_wstring(t) + L" " + std::to_wstring(next[t]));
        ++next[t];
    }
}

} // namespace
