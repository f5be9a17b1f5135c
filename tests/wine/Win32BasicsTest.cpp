// The real Win32 side of the basic ports, run under Wine (or Windows).
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ProfileStore.h"
#include "platform/win32/Win32Resources.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/UniqueHandle.h"
#include "wine/ThisBuild.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {
namespace winerr = ports::winerr;

// Each test works under its own application key, removed afterwards.
class Win32Profile : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"software\\ZEVR-test"); }
    win32::Win32ProfileStore store{L"ZEVR-test", L"Orvello"};
};

TEST_F(Win32Profile, NoKeyAtAllGivesTheDefaults) {
    EXPECT_EQ(store.readInt(L"SetupMode", L"SetupPortType", 0), 0);
    EXPECT_EQ(store.readString(L"SetupMode", L"SetupPrinter", L"none"), L"none");
}

TEST_F(Win32Profile, WritesRegDwordAndRegSzUnderTheApplicationKey) {
    ASSERT_EQ(store.writeInt(L"SetupMode", L"SetupPortType", 5), winerr::Success);
    ASSERT_EQ(store.writeString(L"SetupMode", L"SetupPrinter", L"\x6253\x5370 CX-420T"), winerr::Success);
    EXPECT_EQ(store.readInt(L"SetupMode", L"SetupPortType", 0), 5);
    EXPECT_EQ(store.readString(L"SetupMode", L"SetupPrinter", L""), L"\x6253\x5370 CX-420T");

    win32::UniqueRegKey key;
    ASSERT_EQ(
        RegOpenKeyExW(HKEY_CURRENT_USER, L"software\\ZEVR-test\\Orvello\\SetupMode", 0, KEY_READ, key.out()),
        ERROR_SUCCESS);
    DWORD type = 0, value = 0, size = sizeof value;
    ASSERT_EQ(
        RegQueryValueExW(key.get(), L"SetupPortType", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 5u);
    ASSERT_EQ(RegQueryValueExW(key.get(), L"SetupPrinter", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

    ASSERT_EQ(store.writeString(L"SetupMode", L"SetupPrinter", std::nullopt), winerr::Success);
    EXPECT_EQ(store.readString(L"SetupMode", L"SetupPrinter", L"gone"), L"gone");
    EXPECT_EQ(store.readInt(L"SetupMode", L"SetupPrinter", -3), -3); // wrong type reads as default
}

TEST(Win32FileSystem, PathsLongerThanMaxPath) {
    win32::Win32FileSystem fs;
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring base =
        std::wstring(temp) + L"orvello-longpath-" + std::to_wstring(GetCurrentProcessId());
    std::wstring dir = base;
    while (dir.size() < 320)
        dir += L"\\a-rather-long-folder-name";
    ASSERT_EQ(fs.createDirectories(dir), winerr::Success);
    const std::vector<std::uint8_t> bytes = {0xFF, 0xFE, 'A', 0};
    ASSERT_EQ(fs.writeFile(dir + L"\\Orvello.log", bytes), winerr::Success);
    ASSERT_EQ(fs.appendFile(dir + L"\\Orvello.log", bytes), winerr::Success);
    std::vector<std::uint8_t> out;
    ASSERT_EQ(fs.readFile(dir + L"\\Orvello.log", out), winerr::Success);
    EXPECT_EQ(out.size(), 8u);
    std::vector<ports::FileEntry> entries;
    ASSERT_EQ(fs.listDirectory(dir, entries), winerr::Success);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, L"Orvello.log");
    EXPECT_EQ(fs.readFile(dir + L"\\missing.log", out), static_cast<ports::Status>(ERROR_FILE_NOT_FOUND));
    // Clean up from the deepest folder upwards.
    ASSERT_EQ(fs.deleteFile(dir + L"\\Orvello.log"), winerr::Success);
    for (std::wstring d = dir; d.size() >= base.size(); d = d.substr(0, d.find_last_of(L'\\')))
        EXPECT_EQ(fs.removeDirectory(d), winerr::Success);
}

TEST(Win32Resources, FindsTheEmbeddedResourcesInChineseSimplified) {
    win32::Win32Resources res;
    auto catalogue = res.find(L"XML", ports::kResourceCatalogue);
    ASSERT_TRUE(catalogue);
    EXPECT_GT(catalogue->size(), 1000u);
    HRSRC exact =
        FindResourceExW(GetModuleHandleW(nullptr), L"ZIPRES", MAKEINTRESOURCEW(ports::kResourceSkin), 2052);
    EXPECT_NE(exact, nullptr);
}

TEST(Win32SystemInfo, AnswersForThisProcess) {
    win32::Win32SystemInfo sys;
    const auto arch = sys.nativeArchitecture();
    // A 32-bit program runs under WOW64 on a 64-bit system; a 64-bit one never does.
    EXPECT_EQ(sys.isWow64Process(), !wine_tests::kIs64Bit && arch != ports::Architecture::X86);
    EXPECT_GE(sys.windowsVersion().major, 5u);
    const std::wstring module = sys.modulePath();
    EXPECT_NE(module.find(L"orvello_tests.exe"), std::wstring::npos);
    EXPECT_FALSE(sys.knownFolder(ports::KnownFolder::System).empty());
    std::wstring wide;
    ASSERT_EQ(sys.ansiToWide("Orvello", wide), winerr::Success);
    EXPECT_EQ(wide, L"Orvello");
    static_assert(sizeof(wchar_t) == 2, "the Windows build has 16-bit wchar_t");
}

} // namespace
