// The debug log file: its place next to the executable, its exact bytes, one file per day, and
// lines from several threads.
#include "app/CMyLog.h"

#include "base/Utf.h"
#include "platform/sim/SimClock.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>

namespace {

using testing_support::TestMachine;
namespace winerr = ports::winerr;
using namespace std::chrono_literals;

constexpr const wchar_t* kModule = L"C:\\Program Files (x86)\\Orvello\\Orvello.exe";
constexpr const wchar_t* kFolder = L"C:\\Program Files (x86)\\Orvello\\Log\\";

std::vector<std::uint8_t> utf16le(std::u16string_view s) {
    std::vector<std::uint8_t> out;
    for (char16_t c : s) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return out;
}

std::vector<std::uint8_t> fileBytes(ports::FileSystem& fs, const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(fs.readFile(path, bytes), winerr::Success) << text::toUtf8(path);
    return bytes;
}

class LogFile : public ::testing::Test {
protected:
    TestMachine m;
    ports::FileSystem& fs = m.platform().files();
    // The local time starts at the given moment and moves only when the test advances it.
    sim::VirtualClock& startAt(int y, int mo, int d, int h, int mi, int s, int ms) {
        const auto u = [](int v) { return static_cast<std::uint16_t>(v); };
        return clock_.emplace(ports::SystemTime{u(y), u(mo), 0, u(d), u(h), u(mi), u(s), u(ms)});
    }

private:
    std::optional<sim::VirtualClock> clock_;
};

TEST_F(LogFile, TwoRunsOnOneDayShareAFileAndMidnightStartsTheNext) {
    auto& clock = startAt(2024, 5, 29, 23, 59, 58, 7);
    {
        CMyLog log(fs, clock);
        log.start(kModule, L"Orvello");
        EXPECT_EQ(log.folder(), kFolder);
        log.logStartLine();
        log.logFormatted(L"Find printer, HardWareID=%s, sPortName=%s", L"USBPRINT\\CX-420T", L"USB001");
        ASSERT_TRUE(log.waitUntilWritten(10s));
    }
    {
        CMyLog log(fs, clock);
        log.start(kModule, L"Orvello");
        clock.advance(1992); // 23:59:59.999
        log.addLine(L"\x6253\x5370 \U0001F5A8");
        ASSERT_TRUE(log.waitUntilWritten(10s));
        clock.advance(1); // midnight
        log.addLine(L"after midnight");
        ASSERT_TRUE(log.waitUntilWritten(10s));
    }
    EXPECT_EQ(
        fileBytes(fs, std::wstring(kFolder) + L"Orvello 2024-05-29.log"),
        utf16le(u"\xFEFF"
                u"2024-05-29 23:59:58.007 : Run Orvello application\r\n"
                u"2024-05-29 23:59:58.007 : Find printer, HardWareID=USBPRINT\\CX-420T, sPortName=USB001\r\n"
                u"2024-05-29 23:59:59.999 : \x6253\x5370 \U0001F5A8\r\n"));
    EXPECT_EQ(fileBytes(fs, std::wstring(kFolder) + L"Orvello 2024-05-30.log"),
              utf16le(u"\xFEFF"
                      u"2024-05-30 00:00:00.000 : after midnight\r\n"));
}

TEST_F(LogFile, NothingBeforeTheWriterIsStarted) {
    auto& clock = startAt(2024, 5, 29, 12, 0, 0, 0);
    {
        CMyLog log(fs, clock);
        log.logStartLine();
        log.logFormatted(L"GetBluetoothName: %s", L"CX-420T");
        EXPECT_FALSE(log.started());
        EXPECT_EQ(log.folder(), L"");
    }
    EXPECT_FALSE(fs.directoryExists(kFolder));
}

TEST_F(LogFile, OnlyTheFirstStartCounts) {
    auto& clock = startAt(2024, 1, 2, 3, 4, 5, 6);
    CMyLog log(fs, clock);
    log.start(kModule, L"Orvello");
    log.start(L"C:\\Elsewhere\\Other.exe", L"Other");
    log.addLine(L"x");
    ASSERT_TRUE(log.waitUntilWritten(10s));
    EXPECT_TRUE(fs.fileExists(std::wstring(kFolder) + L"Orvello 2024-01-02.log"));
    EXPECT_FALSE(fs.directoryExists(L"C:\\Elsewhere"));
}

TEST_F(LogFile, AnExecutableDeeperThanMaxPathStillFindsItsFolder) {
    std::wstring folder = L"C:\\Program Files (x86)";
    while (folder.size() < 300)
        folder += L"\\a-rather-long-folder-name";
    ASSERT_EQ(fs.createDirectories(folder), winerr::Success);
    auto& clock = startAt(2024, 5, 29, 8, 0, 0, 0);
    {
        CMyLog log(fs, clock);
        log.start(folder + L"\\Orvello.exe", L"Orvello");
        log.logStartLine();
        ASSERT_TRUE(log.waitUntilWritten(10s));
    }
    EXPECT_EQ(fileBytes(fs, folder + L"\\Log\\Orvello 2024-05-29.log"),
              utf16le(u"\xFEFF"
                      u"2024-05-29 08:00:00.000 : Run Orvello application\r\n"));
}

TEST_F(LogFile, LinesFromManyThreadsAllArriveEachInItsOrder) {
    auto& clock = startAt(2024, 5, 29, 9, 30, 0, 250);
    constexpr int kThreads = 4, kLines = 200;
    {
        CMyLog log(fs, clock);
        log.start(kModule, L"Orvello");
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&log, t] {
                for (int i = 0; i < kLines; ++i)
                    log.logFormatted(L"thread %d line %03d", t, i);
            });
        for (auto& th : threads)
            th.join();
        ASSERT_TRUE(log.waitUntilWritten(30s));
    }
    const auto bytes = fileBytes(fs, std::wstring(kFolder) + L"Orvello 2024-05-29.log");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    std::string text; // the lines are ASCII: every second byte
    for (std::size_t i = 2; i < bytes.size(); i += 2)
        text += static_cast<char>(bytes[i]);
    int next[kThreads] = {};
    std::size_t pos = 0, lines = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos);
        const std::string line = text.substr(pos, end - pos);
        pos = end + 2;
        ++lines;
        int t = -1, i = -1;
        ASSERT_EQ(std::sscanf(line.c_str(), "2024-05-29 09:30:00.250 : thread %d line %d", &t, &i), 2)
            << line;
        ASSERT_TRUE(t >= 0 && t < kThreads) << line;
        EXPECT_EQ(i, next[t]++) << line;
    }
    EXPECT_EQ(lines, static_cast<std::size_t>(kThreads * kLines));
}

TEST_F(LogFile, AFailedBatchIsDroppedAndTheNextOneWritten) {
    auto& clock = startAt(2024, 5, 29, 10, 0, 0, 0);
    CMyLog log(fs, clock);
    log.start(kModule, L"Orvello");
    m.machine().write([](sim::Json& s) { s["faults"] = {{{"operation", "WriteFile"}, {"code", 5}}}; });
    log.addLine(L"lost");
    ASSERT_TRUE(log.waitUntilWritten(10s));
    log.addLine(L"kept");
    ASSERT_TRUE(log.waitUntilWritten(10s));
    EXPECT_EQ(fileBytes(fs, std::wstring(kFolder) + L"Orvello 2024-05-29.log"),
              utf16le(u"\xFEFF"
                      u"2024-05-29 10:00:00.000 : kept\r\n"));
}

// A clock that keeps the log's writer waiting, as a stuck write would, and counts the calls under
// way; the thread that made it gets its answers at once.
class SlowForTheWriter final : public ports::Clock {
public:
    explicit SlowForTheWriter(ports::Clock& inner) : inner_(inner), caller_(std::this_thread::get_id()) {}

    std::atomic<int> underWay{0};

    ports::SystemTime localTime() noexcept override {
        ++underWay;
        if (std::this_thread::get_id() != caller_)
            std::this_thread::sleep_for(700ms);
        const ports::SystemTime t = inner_.localTime();
        --underWay;
        return t;
    }
    std::uint64_t nowMs() noexcept override { return inner_.nowMs(); }
    void sleepMs(std::uint32_t ms) noexcept override { inner_.sleepMs(ms); }

private:
    ports::Clock& inner_;
    std::thread::id caller_;
};

TEST_F(LogFile, TheWriterIsJoinedEvenBehindASlowWriteAndFinishesItsBatch) {
    SlowForTheWriter slow(startAt(2024, 5, 29, 10, 0, 0, 0));
    {
        CMyLog log(fs, slow);
        log.start(kModule, L"Orvello");
        log.addLine(L"last words");
    }
    // Nothing is left inside the ports the log was given.
    EXPECT_EQ(slow.underWay.load(), 0);
    EXPECT_EQ(fileBytes(fs, std::wstring(kFolder) + L"Orvello 2024-05-29.log"),
              utf16le(u"\xFEFF"
                      u"2024-05-29 10:00:00.000 : last words\r\n"));
}

} // namespace
