// Child processes and pipes through the real Win32 port: the device-console runner's road
// (inheritable pipe as the child's output, hidden window, wait, exit code) and the output capture.
#include "ChildHelper.h"

#include "platform/win32/Win32Processes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

namespace {
namespace winerr = ports::winerr;
using wine_tests::childCommandLine;

struct ChildRun {
    std::size_t bytes;
    std::uint32_t exitCode;
};

class Win32ChildOutput : public ::testing::TestWithParam<ChildRun> {
protected:
    win32::Win32Processes processes;
};

// The child writes everything while the parent reads 4095 bytes at a time, as the pipe reader
// does; far more than a pipe buffer holds, so a parent that waited before reading would hang.
TEST_P(Win32ChildOutput, ParentReadsEverythingTheChildWritesThenItsExitCode) {
    const ChildRun run = GetParam();
    ports::PipeHandle readEnd, writeEnd;
    ASSERT_EQ(processes.createPipe(true, readEnd, writeEnd), winerr::Success);
    ports::ProcessStartInfo info;
    info.commandLine =
        childCommandLine(L"write:" + std::to_wstring(run.bytes) + L":" + std::to_wstring(run.exitCode));
    info.inheritHandles = true;
    info.output = &writeEnd;
    ports::ProcessHandle child;
    ASSERT_EQ(processes.start(info, child), winerr::Success);
    writeEnd.reset(); // only the child holds a write end now: its exit ends the reading

    std::size_t total = 0;
    bool inOrder = true;
    std::vector<std::uint8_t> chunk;
    ports::Status s;
    while ((s = processes.readPipe(readEnd, 4095, chunk)) == winerr::Success && !chunk.empty()) {
        EXPECT_LE(chunk.size(), 4095u);
        for (std::size_t i = 0; i < chunk.size(); ++i)
            inOrder = inOrder && chunk[i] == wine_tests::childByte(total + i);
        total += chunk.size();
    }
    EXPECT_EQ(s, static_cast<ports::Status>(ERROR_BROKEN_PIPE));
    EXPECT_EQ(total, run.bytes);
    EXPECT_TRUE(inOrder);
    ASSERT_EQ(processes.wait(child, 10000), winerr::Success);
    std::uint32_t code = 0;
    ASSERT_EQ(processes.exitCode(child, code), winerr::Success);
    EXPECT_EQ(code, run.exitCode);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Win32ChildOutput,
                         ::testing::Values(ChildRun{0, 0}, ChildRun{1, 1}, ChildRun{4095, 2},
                                           ChildRun{4096, 3}, ChildRun{3 * 1024 * 1024 + 17, 3010}));

TEST(Win32Processes, AProgramThatDoesNotExistFailsToStartAndGivesNoHandle) {
    win32::Win32Processes processes;
    ports::ProcessStartInfo info;
    info.commandLine = L"\"C:\\no such folder\\devcon32.exe\" rescan";
    ports::ProcessHandle child;
    const ports::Status s = processes.start(info, child);
    EXPECT_TRUE(s == ERROR_FILE_NOT_FOUND || s == ERROR_PATH_NOT_FOUND) << s;
    EXPECT_FALSE(child);
    std::uint32_t code = 0;
    EXPECT_EQ(processes.exitCode(child, code), static_cast<ports::Status>(ERROR_INVALID_HANDLE));
}

TEST(Win32Processes, WaitRunsOutWhileTheChildRunsAndTerminateEndsIt) {
    win32::Win32Processes processes;
    ports::ProcessStartInfo info;
    info.commandLine = childCommandLine(L"sleep:60000:0");
    ports::ProcessHandle child;
    ASSERT_EQ(processes.start(info, child), winerr::Success);
    EXPECT_EQ(processes.wait(child, 50), static_cast<ports::Status>(WAIT_TIMEOUT));
    std::uint32_t code = 0;
    ASSERT_EQ(processes.exitCode(child, code), winerr::Success);
    EXPECT_EQ(code, static_cast<std::uint32_t>(STILL_ACTIVE));
    ASSERT_EQ(processes.terminate(child, 7), winerr::Success);
    ASSERT_EQ(processes.wait(child, 10000), winerr::Success);
    ASSERT_EQ(processes.exitCode(child, code), winerr::Success);
    EXPECT_EQ(code, 7u);
}

// The output capture: this process's standard output goes into the pipe until it is restored.
TEST(Win32Processes, RedirectedStandardOutputLandsInThePipeUntilRestored) {
    win32::Win32Processes processes;
    const HANDLE original = GetStdHandle(STD_OUTPUT_HANDLE);
    ports::PipeHandle readEnd, writeEnd;
    ASSERT_EQ(processes.createPipe(true, readEnd, writeEnd), winerr::Success);
    ASSERT_EQ(processes.redirectStdOutput(writeEnd), winerr::Success);
    const char text[] = "return dwCode = 0";
    DWORD written = 0;
    const BOOL wrote = WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, sizeof text - 1, &written, nullptr);
    const HANDLE during = GetStdHandle(STD_OUTPUT_HANDLE);
    ASSERT_EQ(processes.restoreStdOutput(), winerr::Success);
    EXPECT_EQ(GetStdHandle(STD_OUTPUT_HANDLE), original);
    EXPECT_NE(during, original);
    ASSERT_TRUE(wrote);
    std::vector<std::uint8_t> chunk;
    ASSERT_EQ(processes.readPipe(readEnd, 4095, chunk), winerr::Success);
    EXPECT_EQ(std::string(chunk.begin(), chunk.end()), "return dwCode = 0");
}

// The pipe reader's end: blocked in a read, it returns once the last write end is closed, or once
// another thread closes its read end (the output capture stops both ways).
class Win32PipeReaderEnd : public ::testing::TestWithParam<bool> {};

TEST_P(Win32PipeReaderEnd, ABlockedReaderReturnsWhenAnEndIsClosedFromAnotherThread) {
    const bool closeReadEnd = GetParam();
    win32::Win32Processes processes;
    ports::PipeHandle readEnd, writeEnd;
    ASSERT_EQ(processes.createPipe(false, readEnd, writeEnd), winerr::Success);
    const std::uint64_t readId = readEnd.id();
    ports::Status readResult = winerr::Success;
    std::vector<std::uint8_t> got;
    std::atomic<std::size_t> taken{0};
    std::promise<void> finished;
    std::future<void> readerDone = finished.get_future();
    std::thread reader([&] {
        std::vector<std::uint8_t> chunk;
        while ((readResult = processes.readPipe(readEnd, 4095, chunk)) == winerr::Success && !chunk.empty()) {
            got.insert(got.end(), chunk.begin(), chunk.end());
            taken += chunk.size();
        }
        finished.set_value();
    });
    ASSERT_EQ(processes.writePipe(writeEnd, {'o', 'k'}), winerr::Success);
    // Closing before the reader waits again would prove nothing: wait until it has taken "ok" and
    // its next read is pending in the system with the pipe empty.
    bool blocked = false;
    for (int i = 0; i < 10000 && !blocked; ++i) {
        blocked = taken == 2 && processes.readPending(readEnd);
        if (!blocked)
            Sleep(1);
    }
    EXPECT_TRUE(blocked) << "the reader never blocked in a read";
    if (closeReadEnd)
        processes.closeHandle(readId); // what resetting the reader's handle does, without racing on it
    else
        writeEnd.reset();
    const bool returned = readerDone.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    EXPECT_TRUE(returned) << "the reader still blocks after the close";
    if (!returned) { // free the thread so that it can be joined: break the pipe under it
        processes.closeHandle(readId);
        writeEnd.reset();
    }
    reader.join();
    EXPECT_EQ(readResult,
              static_cast<ports::Status>(closeReadEnd ? ERROR_OPERATION_ABORTED : ERROR_BROKEN_PIPE));
    EXPECT_EQ(got, (std::vector<std::uint8_t>{'o', 'k'}));
}

INSTANTIATE_TEST_SUITE_P(WriteEndOrReadEnd, Win32PipeReaderEnd, ::testing::Bool());

TEST(Win32Processes, HandlesOfAnotherPortOrAlreadyClosedAreRefused) {
    win32::Win32Processes mine, other;
    ports::PipeHandle readEnd, writeEnd;
    ASSERT_EQ(mine.createPipe(false, readEnd, writeEnd), winerr::Success);
    std::vector<std::uint8_t> chunk;
    EXPECT_EQ(other.readPipe(readEnd, 16, chunk), static_cast<ports::Status>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(other.redirectStdOutput(writeEnd), static_cast<ports::Status>(ERROR_INVALID_HANDLE));
    ports::ProcessStartInfo info;
    info.commandLine = childCommandLine(L"write:1:0");
    info.inheritHandles = true;
    info.output = &writeEnd;
    ports::ProcessHandle child;
    EXPECT_EQ(other.start(info, child), static_cast<ports::Status>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(child);
    const std::uint64_t id = writeEnd.id();
    writeEnd.reset();
    ports::PipeHandle stale(mine, id); // the id of a closed handle, as a stale copy would carry it
    EXPECT_EQ(mine.writePipe(stale, {1}), static_cast<ports::Status>(ERROR_INVALID_HANDLE));
}

} // namespace
