// Wow64EnableWow64FsRedirection through the Win32 file port. The test executable is 32-bit where the
// machine runs 32-bit programs and 64-bit where it does not: a 32-bit process under WOW64 can switch
// redirection off and on again, any other process is told that there is nothing to redirect.
#include "ThisBuild.h"

#include "platform/win32/Win32FileSystem.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

namespace {
namespace winerr = ports::winerr;
using ports::Status;

bool runsUnderWow64() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

std::wstring windowsFolder() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetWindowsDirectoryW(path.data(), MAX_PATH));
    return path;
}

// Leaves redirection on for the tests that run on this thread after this one, however it ends.
class RedirectionBackOn {
public:
    explicit RedirectionBackOn(ports::FileSystem& files) : files_(files) {}
    ~RedirectionBackOn() { (void)files_.enableWow64FsRedirection(true); }
    RedirectionBackOn(const RedirectionBackOn&) = delete;
    RedirectionBackOn& operator=(const RedirectionBackOn&) = delete;

private:
    ports::FileSystem& files_;
};

TEST(Win32FileSystem, Wow64RedirectionSwitchesForThisProcessAndThreadOnly) {
    win32::Win32FileSystem files;
    const bool wow64 = runsUnderWow64();
    if (wine_tests::kIs64Bit) {
        ASSERT_FALSE(wow64);
    }
    const std::wstring system32 = windowsFolder() + L"\\System32";
    // Every system the program starts on (Windows 7 on) and Wine have the function.
    const Status off = files.enableWow64FsRedirection(false);
    RedirectionBackOn backOn(files);

    if (!wow64) {
        // A 64-bit process, or a 32-bit one on 32-bit Windows: the function exists and fails.
        EXPECT_EQ(off, static_cast<Status>(ERROR_INVALID_FUNCTION));
        EXPECT_EQ(files.enableWow64FsRedirection(true), static_cast<Status>(ERROR_INVALID_FUNCTION));
        EXPECT_EQ(files.enableWow64FsRedirection(false), static_cast<Status>(ERROR_INVALID_FUNCTION));
        EXPECT_TRUE(files.directoryExists(system32));
        return;
    }

    // Under WOW64: a file written with redirection off is in the native system folder, which the
    // same path does not reach while redirection is on (another thread, or this one switched back).
    ASSERT_EQ(off, winerr::Success);
    const std::wstring name =
        system32 + L"\\orvello-wow64-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    const Status written = files.writeFile(name, std::vector<std::uint8_t>{1});
    if (written == winerr::AccessDenied)
        GTEST_SKIP() << "writing to the system folder needs administrator rights";
    ASSERT_EQ(written, winerr::Success);
    EXPECT_TRUE(files.fileExists(name));
    bool seenByOtherThread = true;
    std::thread([&] { seenByOtherThread = files.fileExists(name); }).join();
    EXPECT_FALSE(seenByOtherThread);

    ASSERT_EQ(files.enableWow64FsRedirection(true), winerr::Success);
    EXPECT_FALSE(files.fileExists(name));
    ASSERT_EQ(files.enableWow64FsRedirection(false), winerr::Success);
    EXPECT_EQ(files.deleteFile(name), winerr::Success);
    EXPECT_EQ(files.enableWow64FsRedirection(true), winerr::Success);
}

} // namespace
