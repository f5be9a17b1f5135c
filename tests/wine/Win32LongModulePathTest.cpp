// A program placed deeper than MAX_PATH (260 characters) still learns its whole path and writes its
// debug log beside itself. A copy of this test program, loaded as a module from such a folder,
// stands in for the deep executable.
#include "app/CMyLog.h"
#include "app/Folders.h"
#include "base/Compare.h"
#include "base/Utf.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32SystemInfo.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {
namespace winerr = ports::winerr;

std::wstring todaysLogName() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t name[64];
    swprintf(name, 64, L"Orvello %04d-%02d-%02d.log", now.wYear, now.wMonth, now.wDay);
    return name;
}

TEST(Win32LongModulePath, TheWholePathIsFoundAndTheLogLandsBesideIt) {
    win32::Win32FileSystem fs;
    win32::Win32Clock clock;
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring base = std::wstring(temp) + L"orvello-deep-" + std::to_wstring(GetCurrentProcessId());
    struct Cleanup {
        ports::FileSystem& fs;
        std::wstring base;
        ~Cleanup() {
            (void)app::deleteFolderContents(fs, base);
            (void)fs.removeDirectory(base);
        }
    } cleanup{fs, base};
    std::wstring folder = base;
    while (folder.size() <= MAX_PATH + 20)
        folder += L"\\a-rather-long-folder-name";
    ASSERT_EQ(fs.createDirectories(folder), winerr::Success);
    const std::wstring deep = folder + L"\\orvello_tests.exe";
    ASSERT_EQ(fs.copyFile(win32::Win32SystemInfo().modulePath(), deep, false), winerr::Success);

    std::wstring module;
    {
        win32::UniqueModule loaded(LoadLibraryExW(win32::extendedPath(deep).c_str(), nullptr, 0));
        ASSERT_TRUE(loaded) << GetLastError();
        module = win32::modulePathOf(loaded.get());
    }
    ASSERT_GT(module.size(), static_cast<size_t>(MAX_PATH));
    EXPECT_TRUE(text::equalsNoCase(win32::extendedPath(module), win32::extendedPath(deep)))
        << text::toUtf8(module);

    {
        CMyLog log(fs, clock);
        log.start(module, L"Orvello");
        log.logStartLine();
        ASSERT_TRUE(log.waitUntilWritten(std::chrono::seconds(10)));
    }
    std::vector<std::uint8_t> bytes;
    ASSERT_EQ(fs.readFile(folder + L"\\Log\\" + todaysLogName(), bytes), winerr::Success);
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    EXPECT_TRUE(text.starts_with(L"\xFEFF")) << text::toUtf8(text);
    EXPECT_TRUE(text.ends_with(L" : Run Orvello application\r\n")) << text::toUtf8(text);

    // Emptying works at this depth too.
    EXPECT_EQ(app::deleteFolderContents(fs, base), winerr::Success);
    EXPECT_EQ(fs.removeDirectory(base), winerr::Success);
}

} // namespace
