// The process entry and CApp's start-up and exit on a simulated machine: the order of the steps,
// the exit codes, and the "-debug" switch.
#include "unit/app/AppFakes.h"

#include "support/TestMachine.h"

#include <gtest/gtest.h>

namespace {

using app_fakes::Journal;
using app_fakes::RecordedApp;
using testing_support::TestMachine;

class Startup : public ::testing::Test {
protected:
    static sim::Json machineAt(const char* localTime) {
        sim::Json state = sim::demoMachineState();
        state["system"]["localTime"] = localTime;
        return state;
    }
};

std::vector<std::uint8_t> utf16le(std::u16string_view s) {
    std::vector<std::uint8_t> out;
    for (char16_t c : s) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return out;
}

TEST_F(Startup, RunsEveryStepInOrderThenTheLoopThenTheExit) {
    TestMachine m(machineAt("2024-05-29 10:11:12.345"));
    RecordedApp run(m.machine(), testing_support::programResources());
    const std::vector<std::wstring> args = {L"-debug"};

    EXPECT_EQ(app::runProcess(*run.app, args), 0);

    const Journal expected = {
        "initialiseFramework",
        "findResource ZIPRES 129, log not started",
        "initialiseToolkit Orvello skin ZIPRES 129",
        "claimSingleInstance 9FF1EC1E-3EF5-4B76-A618-2288977D2E05",
        "initialiseRichEdit",
        "registerControlClasses CMsgWnd2UI CTreeShellUI CTreeDeviceUI",
        "startWinsock 0x0202",
        "enablePrivilege SeLoadDriverPrivilege",
        "setApplicationKey ZEVR Orvello",
        "readInt SetupMode SetupMode 0",
        "readInt SetupMode SetupPortType 0",
        "readString SetupMode SetupPrinter \"\"",
        "readString SetupMode Manufacturer \"\"",
        "readString SetupMode UpgradePrinter \"\"",
        "readString SetupMode DeletePrinter \"\"",
        "findResource XML 131, log not started",
        "findResource XML 132, log not started",
        "userDefaultUiLanguage, log started",
        "setThreadUiLanguage 0x0409",
        "loadLibrary WinSpool.drv",
        "loadLibrary SetupAPI.dll",
        "loadLibrary Cfgmgr32.dll",
        "loadLibrary bthprops.cpl",
        "createMainWindow Orvello 0x10CF0000 0 0 0 0 0 centred",
        "runMessageLoop",
        // the exit
        "freeLibrary WinSpool.drv",
        "freeLibrary SetupAPI.dll",
        "freeLibrary Cfgmgr32.dll",
        "freeLibrary bthprops.cpl",
        "cleanupWinsock",
        "deleteShellManager",
        "destroyMainWindow",
        "closeSingleInstanceMutex",
        "releaseToolkit",
    };
    EXPECT_EQ(run.journal, expected);
    EXPECT_EQ(run.app->session().manufacturer.Name, L"CorvaneEx");
    EXPECT_EQ(run.app->language().currentLanguageName(), L"English");
    EXPECT_EQ(run.platform.simSystem().threadUiLanguage(), 0x0409);
    EXPECT_EQ(run.platform.simHost().enabledPrivileges(),
              std::vector<std::wstring>{L"SeLoadDriverPrivilege"});
    EXPECT_EQ(run.platform.simHost().winsockStarts(), 0);
    EXPECT_TRUE(run.platform.simHost().loadedLibraries().empty());

    // Debug mode started the log with its first line.
    ASSERT_TRUE(run.app->log().waitUntilWritten(std::chrono::seconds(10)));
    std::vector<std::uint8_t> bytes;
    ASSERT_EQ(m.platform().files().readFile(L"C:\\Program Files (x86)\\Orvello\\Log\\Orvello 2024-05-29.log",
                                            bytes),
              ports::winerr::Success);
    EXPECT_EQ(bytes, utf16le(u"\xFEFF"
                             u"2024-05-29 10:11:12.345 : Run Orvello application\r\n"));
}

TEST_F(Startup, ExitCodeAndHowFarTheProcessGets) {
    struct Case {
        const char* name;
        bool frameworkOk, toolkitOk, windowOk;
        int exitCode;
        bool claimed, loopRan, exitRan;
    };
    const Case cases[] = {
        {"framework fails", false, true, true, 1, false, false, false},
        {"toolkit fails", true, false, true, 0, false, false, false},
        {"no main window", true, true, false, 0, true, false, false},
        {"main window", true, true, true, 0, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine m;
        RecordedApp run(m.machine(), testing_support::programResources());
        run.ui->frameworkOk = c.frameworkOk;
        run.ui->toolkitOk = c.toolkitOk;
        run.ui->windowOk = c.windowOk;
        EXPECT_EQ(app::runProcess(*run.app, {}), c.exitCode);
        auto has = [&](const char* step) {
            return std::any_of(run.journal.begin(), run.journal.end(),
                               [&](const std::string& s) { return s.starts_with(step); });
        };
        EXPECT_EQ(has("claimSingleInstance"), c.claimed);
        EXPECT_EQ(has("runMessageLoop"), c.loopRan);
        EXPECT_EQ(has("releaseToolkit"), c.exitRan);
        EXPECT_EQ(has("cleanupWinsock"), c.exitRan);
    }
}

TEST_F(Startup, DebugSwitchIsACaseSensitiveSubstringOfAnyArgument) {
    struct Case {
        std::vector<std::wstring> args;
        int debugMode;
    };
    const Case cases[] = {
        {{}, 0},
        {{L"-debug"}, 1},
        {{L"x-debugger"}, 1},
        {{L"-simulate", L"--debug"}, 1},
        {{L"-simulate=C:\\m.json", L"a-debug"}, 1},
        {{L"-DEBUG"}, 0},
        {{L"-Debug"}, 0},
        {{L"/debug"}, 0},
        {{L"debug"}, 0},
        {{L"- debug"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(text::toUtf8(c.args.empty() ? L"(none)" : c.args.back())));
        TestMachine m;
        {
            CApp theApp(m.platform()); // the stand-in user interface: no main window yet
            EXPECT_EQ(app::runProcess(theApp, c.args), 0);
            EXPECT_EQ(theApp.context().debugMode.load(), c.debugMode);
            EXPECT_EQ(theApp.log().started(), c.debugMode == 1);
        }
        // Outside debug mode no log folder is made at all.
        EXPECT_EQ(m.platform().files().directoryExists(L"C:\\Program Files (x86)\\Orvello\\Log"),
                  c.debugMode == 1);
    }
}

TEST_F(Startup, TheStandInUserInterfaceEndsStartUpCleanlyAndSaysWhere) {
    TestMachine m;
    std::vector<std::wstring> said;
    app::AppParts parts;
    parts.say = [&](std::wstring_view line) { said.emplace_back(line); };
    CApp theApp(m.platform(), std::move(parts));
    EXPECT_EQ(app::runProcess(theApp, {}), 0);
    // It names what start-up built: the embedded catalogue, the language and the engine's folder.
    const std::vector<std::wstring> expected = {
        L"catalogue loaded: manufacturer CorvaneEx, version 3.0.2.465; manufacturer records loaded",
        L"language English (Lang\\English)",
        L"working folder C:\\Program Files (x86)\\LabelPrinterDriver\\, device-console tool devcon64.exe",
        L"start-up stops here: the main window is not built yet",
    };
    EXPECT_EQ(said, expected);
    // Start-up went as far as the libraries before it stopped.
    EXPECT_EQ(m.platform().simHost().loadedLibraries().size(), 4u);
}

} // namespace
