// The language monitor on a simulated 64-bit Windows where the wizard is a 32-bit program: the DLL
// must reach the native system folder (wherever Windows lives), a monitor an installed driver uses
// stays, and the redirection switch is always back on afterwards.
#include "engine/install/DriverInstall.h"
#include "engine/install/LanguageMonitor.h"
#include "unit/engine/InstallRig.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using engine_test::InstallRig;
using engine_test::kMonitorName;
using engine_test::kPackage;
using engine_test::red;
using msglog::LogMessage;
namespace winerr = ports::winerr;

const std::wstring kSource = kPackage + L"amd64\\CorvaneExLM.dll";

sim::Json machineWithWindowsIn(const char* windowsFolder) {
    sim::Json state = sim::demoMachineState();
    state["system"]["windowsFolder"] = windowsFolder;
    return state;
}

std::wstring windowsOf(InstallRig& rig) {
    return rig.machine.platform().system().knownFolder(ports::KnownFolder::Windows);
}

// Redirection is on for the calling thread: a 32-bit write into System32 lands in SysWOW64.
bool redirectionOn(InstallRig& rig) {
    const std::wstring windows = windowsOf(rig);
    rig.writeFile(windows + L"\\System32\\probe.txt", "probe");
    return rig.nativeContent(windows + L"\\SysWOW64\\probe.txt") == "probe";
}

std::wstring install(InstallRig& rig) {
    return engine::InstallLanguageMonitor(rig.ctx, rig.model(engine_test::kMonitorModel));
}

// A driver of this environment that names `monitor`, put into the machine's state as it stands.
void addDriverNaming(InstallRig& rig, const char* monitor) {
    rig.machine.machine().write([&](sim::Json& s) {
        s["spooler"]["drivers"].push_back(
            {{"name", "Other"},
             {"environment", "Windows x64"},
             {"version", 3},
             {"driverPath", "C:\\Windows\\system32\\spool\\DRIVERS\\x64\\3\\o.dll"},
             {"dataFile", "C:\\Windows\\system32\\spool\\DRIVERS\\x64\\3\\o.dat"},
             {"configFile", "C:\\Windows\\system32\\spool\\DRIVERS\\x64\\3\\o.dll"},
             {"monitor", monitor}});
    });
}

TEST(InstallLanguageMonitor, CopiesTheDllIntoTheNativeSystemFolderWhereverWindowsLives) {
    for (const char* windowsFolder : {"C:\\Windows", "D:\\Windows", "E:\\WINNT"}) {
        SCOPED_TRACE(windowsFolder);
        InstallRig rig(machineWithWindowsIn(windowsFolder));
        rig.unpackPackage(1);
        const std::wstring windows = windowsOf(rig);
        EXPECT_EQ(install(rig), kMonitorName);
        EXPECT_EQ(rig.messages(), std::vector<LogMessage>{});
        EXPECT_EQ(rig.nativeContent(windows + L"\\System32\\CorvaneExLM.dll"), sim::u8(kSource));
        EXPECT_EQ(rig.nativeContent(windows + L"\\SysWOW64\\CorvaneExLM.dll"), "");
        const auto monitors = rig.monitors();
        ASSERT_FALSE(monitors.empty());
        EXPECT_EQ(monitors.back().name, kMonitorName);
        EXPECT_EQ(monitors.back().environment, L"Windows x64");
        EXPECT_EQ(monitors.back().dllName, L"CorvaneExLM.dll");
        EXPECT_TRUE(redirectionOn(rig));
    }
}

TEST(InstallLanguageMonitor, AMonitorAnInstalledDriverUsesStaysWithItsDll) {
    InstallRig rig;
    rig.unpackPackage(1);
    ASSERT_TRUE(engine::InstallDriverByCopy(rig.ctx, engine_test::kMonitorModel, L"CorvaneEx"));
    const std::wstring dll = L"C:\\Windows\\System32\\CorvaneExLM.dll";
    std::filesystem::remove(rig.machine.machine().hostPath(dll));
    rig.log.clear();
    const auto before = rig.monitors().size();

    EXPECT_EQ(install(rig), kMonitorName);
    EXPECT_EQ(rig.nativeContent(dll), ""); // not copied again
    EXPECT_EQ(rig.monitors().size(), before);
    EXPECT_EQ(rig.messages(), std::vector<LogMessage>{});
    EXPECT_EQ(rig.clock.elapsedMs(), 0u); // no spooler restart
    EXPECT_TRUE(redirectionOn(rig));
}

TEST(RemoveLanguageMonitor, OnlyADriverNamingTheMonitorExactlyKeepsIt) {
    InstallRig rig;
    addDriverNaming(rig, "corvaneex language monitor");
    EXPECT_EQ(engine::RemoveLanguageMonitor(rig.ctx, L"corvaneex language monitor"), engine::kMonitorInUse);
    // Not registered: it counts as removed, and the first installation copies and registers it.
    EXPECT_EQ(engine::RemoveLanguageMonitor(rig.ctx, kMonitorName), engine::kMonitorRemoved);
    rig.unpackPackage(1);
    EXPECT_EQ(install(rig), kMonitorName);
    EXPECT_TRUE(rig.monitorRegistered(kMonitorName));
    EXPECT_EQ(rig.nativeContent(L"C:\\Windows\\System32\\CorvaneExLM.dll"), sim::u8(kSource));
}

TEST(RemoveLanguageMonitor, ResultsByWhatTheSpoolerAllows) {
    struct Case {
        const char* note;
        bool registered;
        const char* usedBy; // a driver's monitor name, or nullptr
        int deleteFailures;
        int result;
        bool stillRegistered;
        bool restarted;
        bool managerFails = false; // the service manager cannot be opened for the restart
    };
    const Case cases[] = {
        {"not registered", false, nullptr, 0, engine::kMonitorRemoved, false, false},
        {"registered, unused", true, nullptr, 0, engine::kMonitorRemoved, false, false},
        {"let go after a restart", true, nullptr, 1, engine::kMonitorRemoved, false, true},
        {"held after a restart", true, nullptr, 2, engine::kMonitorNotRemoved, true, true},
        {"in use", true, "CorvaneEx Language Monitor", 0, engine::kMonitorInUse, true, false},
        // The restart fails at its first step and says so; the second try is still made.
        {"no restart possible", true, nullptr, 1, engine::kMonitorRemoved, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        InstallRig rig;
        if (c.registered) {
            rig.writeNative(L"C:\\Windows\\System32\\CorvaneExLM.dll", "MZ");
            ASSERT_EQ(rig.spooler().addMonitor({kMonitorName, L"Windows x64", L"CorvaneExLM.dll"}),
                      winerr::Success);
        }
        if (c.usedBy)
            addDriverNaming(rig, c.usedBy);
        if (c.deleteFailures)
            rig.fail("DeleteMonitorW", winerr::AccessDenied, c.deleteFailures);
        if (c.managerFails)
            rig.fail("OpenSCManagerW", winerr::AccessDenied);
        EXPECT_EQ(engine::RemoveLanguageMonitor(rig.ctx, kMonitorName), c.result);
        EXPECT_EQ(rig.monitorRegistered(kMonitorName), c.stillRegistered);
        EXPECT_EQ(rig.clock.elapsedMs() > 0, c.restarted);
        // Nothing of its own; only a failed restart speaks.
        std::vector<LogMessage> expected;
        if (c.managerFails)
            expected.push_back(red(L"打开服务: Spooler 失败. 错误码: 6. 错误描述: " +
                                   rig.errorText(winerr::InvalidHandle) + L"."));
        EXPECT_EQ(rig.messages(), expected);
    }
}

TEST(InstallLanguageMonitor, EachFailingCallGivesItsOutcomeAndRedirectionComesBackOn) {
    struct Case {
        const char* operation;
        std::function<void(InstallRig&)> setUp; // the machine before the call, besides the package
        std::wstring result;
        bool registered; // afterwards
        std::function<std::vector<LogMessage>(InstallRig&)> messages;
    };
    const auto none = [](InstallRig&) { return std::vector<LogMessage>{}; };
    const auto nothing = [](InstallRig&) {};
    const auto inUse = [](InstallRig& rig) {
        ASSERT_TRUE(engine::InstallDriverByCopy(rig.ctx, engine_test::kMonitorModel, L"CorvaneEx"));
        rig.log.clear();
    };
    const auto monitorFailed = [](ports::Status code) {
        return [code](InstallRig& rig) {
            return std::vector<LogMessage>{red(L"安装监视器失败. 错误码: " + std::to_wstring(code) +
                                               L". 错误描述: " + rig.errorText(code) + L".")};
        };
    };
    const Case cases[] = {
        {"CopyFile", nothing, L"", false,
         [](InstallRig& rig) {
             return std::vector<LogMessage>{red(L"写入文件: " + kSource + L". 失败. 错误码: 5. 错误描述: " +
                                                rig.errorText(winerr::AccessDenied) + L".")};
         }},
        {"AddMonitorW", nothing, L"", false, monitorFailed(winerr::AccessDenied)},
        // Left on, the copy lands in SysWOW64, where the spooler does not look.
        {"Wow64EnableWow64FsRedirection", nothing, L"", false, monitorFailed(winerr::ModNotFound)},
        // Not knowing the drivers, the monitor is taken for unused.
        {"EnumPrinterDriversW", nothing, kMonitorName, true, none},
        // The spooler lets go of it once restarted.
        {"DeleteMonitorW", [](InstallRig& rig) { ASSERT_EQ(install(rig), kMonitorName); }, kMonitorName, true,
         none},
        // In use but the spooler cannot be reached: the copy and the registration are tried anyway.
        {"OpenSCManagerW", inUse, L"", true, monitorFailed(winerr::PrintMonitorAlreadyInstalled)},
        {"OpenServiceW", inUse, L"", true, monitorFailed(winerr::PrintMonitorAlreadyInstalled)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.operation);
        InstallRig rig;
        rig.unpackPackage(1);
        c.setUp(rig);
        rig.fail(c.operation, winerr::AccessDenied);
        EXPECT_EQ(install(rig), c.result);
        EXPECT_EQ(rig.messages(), c.messages(rig));
        EXPECT_EQ(rig.monitorRegistered(kMonitorName), c.registered);
        EXPECT_TRUE(redirectionOn(rig));
    }
}

} // namespace
