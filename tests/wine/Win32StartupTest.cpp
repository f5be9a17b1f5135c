// CApp's start-up on the real Windows side: the persisted choices from the registry, the
// libraries, the catalogue and the language from the executable's resources, the driver folder
// from the spooler, and the log file beside the executable in debug mode.
#include "unit/app/AppFakes.h"

#include "app/Architecture.h"
#include "app/PersistedChoices.h"
#include "app/language/Languages.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Resources.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <algorithm>

namespace {

// Each test runs under a company key and a single-instance name of its own, removed afterwards,
// so that it neither meets a real installation's choices nor a parallel test run.
class Win32Startup : public ::testing::Test {
protected:
    void SetUp() override {
        identity.companyKey = L"ZEVR-core-test-" + std::to_wstring(GetCurrentProcessId());
        identity.singleInstanceId = L"orvello-core-startup-" + std::to_wstring(GetCurrentProcessId());
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, (L"software\\" + identity.companyKey).c_str());
    }

    std::unique_ptr<CApp> makeApp() {
        app::AppParts parts;
        auto ui = std::make_unique<app_fakes::RecordingUi>(journal);
        parts.ui = std::move(ui);
        parts.identity = identity;
        return std::make_unique<CApp>(platform, std::move(parts));
    }

    void setValue(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        win32::UniqueRegKey key;
        const std::wstring path = L"software\\" + identity.companyKey + L"\\Orvello\\SetupMode";
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  key.out(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
    }
    void setDword(const wchar_t* name, DWORD v) { setValue(name, REG_DWORD, &v, sizeof v); }
    void setText(const wchar_t* name, const std::wstring& v) {
        setValue(name, REG_SZ, v.c_str(), static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t)));
    }

    app::AppIdentity identity;
    app_fakes::Journal journal;
    win32::Win32Resources resources;
    win32::Win32Platform platform{resources};
};

TEST_F(Win32Startup, PersistedChoicesComeFromTheRegistry) {
    setDword(L"SetupMode", 1);
    setDword(L"SetupPortType", 2);
    setText(L"SetupPrinter", L"\x6253\x5370 CX-420T");
    setText(L"Manufacturer", L"CorvaneEx");
    setText(L"UpgradePrinter", L"Upgrade me");
    setText(L"DeletePrinter", L"Delete me");
    auto theApp = makeApp();
    ASSERT_TRUE(theApp->initInstance());
    const SetupSession& s = theApp->session();
    EXPECT_EQ(s.setupMode, 1);
    EXPECT_EQ(s.portType, 2);
    EXPECT_EQ(s.chosen.modelName, L"\x6253\x5370 CX-420T");
    EXPECT_EQ(s.savedManufacturer, L"CorvaneEx");
    EXPECT_EQ(s.savedUpgradePrinter, L"Upgrade me");
    EXPECT_EQ(s.savedDeletePrinter, L"Delete me");
    EXPECT_TRUE(theApp->libraries().loaded(app::SystemLibrary::WinSpool));
    // A page's choice lands under the same key.
    ASSERT_EQ(theApp->writeProfileString(app::kProfileSection, app::kValueSetupPrinter, L"CX-300"),
              ports::winerr::Success);
    EXPECT_EQ(platform.profile().readString(L"SetupMode", L"SetupPrinter", L""), L"CX-300");
    theApp->exitInstance();
}

TEST_F(Win32Startup, NoKeyAtAllGivesTheDefaultsAndCreatesNoKey) {
    auto theApp = makeApp();
    ASSERT_TRUE(theApp->initInstance());
    const SetupSession& s = theApp->session();
    EXPECT_EQ(s.setupMode, 0);
    EXPECT_EQ(s.portType, 0);
    EXPECT_EQ(s.chosen.modelName, L"");
    EXPECT_EQ(s.savedManufacturer, L"");
    theApp->exitInstance();
    win32::UniqueRegKey key;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (L"software\\" + identity.companyKey).c_str(), 0, KEY_READ,
                            key.out()),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(Win32Startup, CatalogueLanguageAndDriverFolderComeFromThisMachine) {
    auto theApp = makeApp();
    ASSERT_TRUE(theApp->initInstance());
    EXPECT_EQ(theApp->session().manufacturer.Name, L"CorvaneEx");
    EXPECT_TRUE(theApp->manufacturerDoc().loaded());
    const StartupLanguage expected = startupLanguage(GetUserDefaultUILanguage());
    EXPECT_EQ(theApp->language().currentLanguageName(), expected.name);
    // Messages are translated through that language's table in the executable's skin.
    ASSERT_TRUE(theApp->skin().isOpen());
    CLanguage sameLanguage(theApp->skin());
    ASSERT_EQ(sameLanguage.setLanguage(expected.folder, expected.name), ports::winerr::Success);
    EXPECT_EQ(theApp->context().tr(L"安装完成."), sameLanguage.translate(L"安装完成."));

    const std::wstring environment = app::printEnvironment(platform.system());
    wchar_t folder[MAX_PATH] = {};
    DWORD needed = 0;
    ASSERT_TRUE(GetPrinterDriverDirectoryW(nullptr, const_cast<wchar_t*>(environment.c_str()), 1,
                                           reinterpret_cast<BYTE*>(folder), sizeof folder, &needed))
        << GetLastError();
    std::wstring direct = folder;
    if (direct.back() != L'\\')
        direct += L'\\';
    EXPECT_EQ(theApp->printerDriverFolder(), direct);
    EXPECT_TRUE(std::none_of(journal.begin(), journal.end(),
                             [](const std::string& line) { return line.starts_with("messageBox"); }));
    theApp->exitInstance();
}

TEST_F(Win32Startup, DebugModeWritesTheLogBesideTheExecutable) {
    auto theApp = makeApp();
    theApp->context().debugMode = 1;
    ASSERT_TRUE(theApp->initInstance());
    ASSERT_TRUE(theApp->log().waitUntilWritten(std::chrono::seconds(10)));
    const std::wstring module = platform.system().modulePath();
    const std::wstring folder = module.substr(0, module.find_last_of(L'\\') + 1) + L"Log\\";
    EXPECT_EQ(theApp->log().folder(), folder);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t name[64];
    swprintf(name, 64, L"Orvello %04d-%02d-%02d.log", now.wYear, now.wMonth, now.wDay);
    const std::wstring path = folder + name;
    std::vector<std::uint8_t> bytes;
    ASSERT_EQ(platform.files().readFile(path, bytes), ports::winerr::Success);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    EXPECT_TRUE(text.ends_with(L" : Run Orvello application\r\n")) << text::toUtf8(text);
    theApp->exitInstance();
    theApp.reset();
    DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.c_str()); // only when no other day's file is left
}

} // namespace
