// What start-up takes from the machine: the persisted choices, Windows Sockets, the privilege, the
// user's language and the four system libraries with their entry points.
#include "unit/app/AppFakes.h"

#include "support/TestMachine.h"

#include <gtest/gtest.h>

namespace {

using app::EntryPoint;
using app::SystemLibrary;
using app_fakes::RecordedApp;
using testing_support::TestMachine;

sim::Json regValue(const char* type, sim::Json value) {
    return sim::Json{{"type", type}, {"value", std::move(value)}};
}

TEST(StartupProfile, NoKeyAtAllGivesTheDefaultsAndWritesNothing) {
    TestMachine m;
    RecordedApp run(m.machine(), testing_support::programResources());
    ASSERT_TRUE(run.app->initInstance());
    const SetupSession& s = run.app->session();
    EXPECT_EQ(s.setupMode, setup_mode::Install);
    EXPECT_EQ(s.portType, port_type::Usb);
    EXPECT_EQ(s.newPackage, 1);
    EXPECT_EQ(s.chosen.modelName, L"");
    EXPECT_TRUE(s.chosen.driverNode.empty());
    EXPECT_EQ(s.chosen.ipAddress, L"192.168.1.200");
    EXPECT_EQ(s.chosen.btPin, kDefaultBluetoothPin);
    EXPECT_EQ(s.savedManufacturer, L"");
    EXPECT_EQ(s.savedUpgradePrinter, L"");
    EXPECT_EQ(s.savedDeletePrinter, L"");
    EXPECT_TRUE(s.devices.empty());
    // Values are written when the user chooses, never by start-up.
    m.machine().read([](const sim::Json& state) { EXPECT_EQ(state["profile"], sim::Json::object()); });
    run.app->exitInstance();
}

TEST(StartupProfile, PersistedValuesComeFromTheApplicationsOwnKey) {
    sim::Json state = sim::demoMachineState();
    state["profile"]["software\\ZEVR\\Orvello\\SetupMode"] = {
        {"SetupMode", regValue("REG_DWORD", 2)},
        {"SetupPortType", regValue("REG_DWORD", 9)}, // out of range: kept as it is
        {"SetupPrinter", regValue("REG_SZ", "CX-420T")},
        {"Manufacturer", regValue("REG_SZ", "CorvaneEx")},
        {"UpgradePrinter", regValue("REG_SZ", "\xE6\x89\x93\xE5\x8D\xB0 1")},
        {"DeletePrinter", regValue("REG_SZ", "Old label printer")},
    };
    // Another application's key and another section are not read.
    state["profile"]["software\\ZEVR\\Other\\SetupMode"] = {{"SetupMode", regValue("REG_DWORD", 1)}};
    state["profile"]["software\\ZEVR\\Orvello\\Other"] = {{"SetupPrinter", regValue("REG_SZ", "wrong")}};
    TestMachine m(state);
    RecordedApp run(m.machine(), testing_support::programResources());
    ASSERT_TRUE(run.app->initInstance());
    const SetupSession& s = run.app->session();
    EXPECT_EQ(s.setupMode, 2);
    EXPECT_EQ(s.portType, 9);
    EXPECT_EQ(s.chosen.modelName, L"CX-420T");
    EXPECT_EQ(s.savedManufacturer, L"CorvaneEx");
    EXPECT_EQ(s.savedUpgradePrinter, L"\x6253\x5370 1");
    EXPECT_EQ(s.savedDeletePrinter, L"Old label printer");
    // The chosen entry is otherwise in its reset state.
    EXPECT_EQ(s.chosen.ipAddress, L"192.168.1.200");
    EXPECT_EQ(s.chosen.portName, L"");
    // Pages write through the same key.
    ASSERT_EQ(run.app->writeProfileInt(L"SetupMode", L"SetupPortType", 1), ports::winerr::Success);
    EXPECT_EQ(m.platform().profile().readInt(L"SetupMode", L"SetupPortType", -1), 1);
    run.app->exitInstance();
}

// Winsock as Windows starts it: WSAStartup asked for 2.2 succeeds when the library offers at least
// 1.1 and reports the version it will use in wVersion (the lower one when it offers less); it fails
// only for reasons of its own. Everything else is the simulated machine's host.
class WindowsWinsock final : public ports::AppHost {
public:
    WindowsWinsock(ports::AppHost& inner, std::uint16_t offered, ports::Status failure)
        : inner_(inner), offered_(offered), failure_(failure) {}

    int starts = 0; // started and not cleaned up

    ports::Status startWinsock(std::uint16_t requested, std::uint16_t& reported) noexcept override {
        reported = 0;
        if (failure_ != ports::winerr::Success)
            return failure_;
        const auto order = [](std::uint16_t v) { return (v & 0xFF) << 8 | v >> 8; };
        reported = order(offered_) < order(requested) ? offered_ : requested;
        ++starts;
        return ports::winerr::Success;
    }
    ports::Status cleanupWinsock() noexcept override {
        if (starts == 0)
            return 10093; // WSANOTINITIALISED
        --starts;
        return ports::winerr::Success;
    }
    std::unique_ptr<ports::SingleInstance> claimSingleInstance(std::wstring_view id) noexcept override {
        return inner_.claimSingleInstance(id);
    }
    ports::Status enablePrivilege(std::wstring_view name) noexcept override {
        return inner_.enablePrivilege(name);
    }
    std::unique_ptr<ports::Module> loadLibrary(std::wstring_view name,
                                               ports::Status& status) noexcept override {
        return inner_.loadLibrary(name, status);
    }

private:
    ports::AppHost& inner_;
    std::uint16_t offered_;
    ports::Status failure_;
};

TEST(StartupWinsock, ALowerVersionThanAskedIsReportedAndReleased) {
    struct Case {
        const char* name;
        std::uint16_t offered; // what the library offers, as wVersion (minor in the high byte)
        ports::Status failure; // WSAStartup's own failure, 0 for none
        bool messageBox;
        bool cleanupAtStart;
    };
    const Case cases[] = {
        {"2.2 offered", 0x0202, 0, false, false},
        {"only 1.1 offered", 0x0101, 0, true, true},
        {"only 2.0 offered", 0x0002, 0, true, true},
        // A failed start has nothing to release and is not reported.
        {"fails", 0x0202, 10091 /* WSASYSNOTREADY */, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine m;
        WindowsWinsock winsock(m.platform().host(), c.offered, c.failure);
        RecordedApp run(m.machine(), testing_support::programResources(), {}, &winsock);
        // Start-up goes on either way.
        ASSERT_TRUE(run.app->initInstance());
        if (c.messageBox)
            EXPECT_EQ(run.ui->messageBoxes,
                      std::vector<std::wstring>{L"Error: Incorrect version of WS2_32.dll found"});
        else
            EXPECT_TRUE(run.ui->messageBoxes.empty());
        const auto start = std::find(run.journal.begin(), run.journal.end(), "startWinsock 0x0202");
        const auto next = std::find(start, run.journal.end(), "enablePrivilege SeLoadDriverPrivilege");
        ASSERT_NE(next, run.journal.end());
        EXPECT_EQ(std::find(start, next, "cleanupWinsock") != next, c.cleanupAtStart);
        EXPECT_EQ(winsock.starts, c.failure == 0 && !c.cleanupAtStart ? 1 : 0);
        run.app->exitInstance();
        EXPECT_EQ(winsock.starts, 0);
    }
}

TEST(StartupPrivilege, AFailureToEnableItIsIgnored) {
    sim::Json state = sim::demoMachineState();
    state["faults"] = {{{"operation", "AdjustTokenPrivileges"}, {"code", 1300}}};
    TestMachine m(state);
    RecordedApp run(m.machine(), testing_support::programResources());
    EXPECT_TRUE(run.app->initInstance());
    EXPECT_TRUE(run.platform.simHost().enabledPrivileges().empty());
    EXPECT_TRUE(run.ui->messageBoxes.empty());
    run.app->exitInstance();
}

TEST(StartupLibraries, AMissingLibraryOrEntryPointOnlyTakesItsFeatureAway) {
    struct Case {
        const char* name;
        sim::Json missingLibraries;
        sim::Json missingEntryPoints;
        sim::Json faults;
        std::vector<SystemLibrary> absent;
        std::vector<EntryPoint> unavailable;
    };
    const std::vector<EntryPoint> bluetooth = {EntryPoint::BluetoothRegisterForAuthenticationEx,
                                               EntryPoint::BluetoothAuthenticateDeviceEx,
                                               EntryPoint::BluetoothSendAuthenticationResponseEx};
    const std::vector<EntryPoint> driverStore = {EntryPoint::UploadPrinterDriverPackageW,
                                                 EntryPoint::InstallPrinterDriverFromPackageW,
                                                 EntryPoint::DeletePrinterDriverPackageW};
    const Case cases[] = {
        {"everything there", sim::Json::array(), sim::Json::array(), sim::Json::array(), {}, {}},
        {"no bthprops.cpl",
         {"BTHPROPS.CPL"},
         sim::Json::array(),
         sim::Json::array(),
         {SystemLibrary::BthProps},
         bluetooth},
        {"no driver-store install",
         sim::Json::array(),
         {"InstallPrinterDriverFromPackageW"},
         sim::Json::array(),
         {},
         {EntryPoint::InstallPrinterDriverFromPackageW}},
        {"first load fails",
         sim::Json::array(),
         sim::Json::array(),
         {{{"operation", "LoadLibrary"}, {"code", 5}}},
         {SystemLibrary::WinSpool},
         driverStore},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Json state = sim::demoMachineState();
        state["system"]["missingLibraries"] = c.missingLibraries;
        state["system"]["missingEntryPoints"] = c.missingEntryPoints;
        state["faults"] = c.faults;
        TestMachine m(state);
        RecordedApp run(m.machine(), testing_support::programResources());
        ASSERT_TRUE(run.app->initInstance());
        const app::SystemLibraries& libs = run.app->libraries();
        for (auto lib : {SystemLibrary::WinSpool, SystemLibrary::SetupApi, SystemLibrary::Cfgmgr32,
                         SystemLibrary::BthProps}) {
            const bool absent = std::find(c.absent.begin(), c.absent.end(), lib) != c.absent.end();
            EXPECT_EQ(libs.loaded(lib), !absent) << text::toUtf8(app::SystemLibraries::fileName(lib));
        }
        for (std::size_t i = 0; i < app::kEntryPointCount; ++i) {
            const auto e = static_cast<EntryPoint>(i);
            const bool gone = std::find(c.unavailable.begin(), c.unavailable.end(), e) != c.unavailable.end();
            EXPECT_EQ(libs.available(e), !gone) << app::SystemLibraries::entryPointName(e);
        }
        run.app->exitInstance();
        EXPECT_FALSE(libs.loaded(SystemLibrary::SetupApi));
        EXPECT_FALSE(libs.available(EntryPoint::SetupDiLoadDeviceIcon));
    }
}

} // namespace
