// Every simulated call that can fail in Windows can be made to fail, by the name of its Windows
// function, with the code and for the number of calls the state says.
#include "SimTestPackage.h"
#include "support/TestMachine.h"

#include "platform/sim/SimJson.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using testing_support::TestMachine;
namespace winerr = ports::winerr;
namespace spool = ports::spool;

constexpr ports::Status kCode = 1234;

struct Case {
    const char* operation;
    std::function<std::uint32_t(ports::Platform&)> call;
    std::uint32_t expected = kCode; // what the call answers with the fault
};

ports::SpoolerHandle openPdf(ports::Platform& p) {
    ports::SpoolerHandle h;
    EXPECT_EQ(p.spooler().openPrinter(L"Microsoft Print to PDF", spool::PrinterAllAccess, h),
              winerr::Success);
    return h;
}

std::vector<Case> cases() {
    using P = ports::Platform;
    return {
        {"OpenPrinterW",
         [](P& p) {
             ports::SpoolerHandle h;
             return p.spooler().openPrinter(L"Microsoft Print to PDF", 8, h);
         }},
        {"AddPrinterW",
         [](P& p) {
             ports::SpoolerHandle h;
             return p.spooler().addPrinter({}, h);
         }},
        {"DeletePrinter",
         [](P& p) {
             auto h = openPdf(p);
             return p.spooler().deletePrinter(h);
         }},
        {"EnumPrintersW",
         [](P& p) {
             std::vector<ports::PrinterInfo2> v;
             return p.spooler().enumPrinters2(spool::EnumLocal, v);
         }},
        {"GetPrinterW",
         [](P& p) {
             auto h = openPdf(p);
             ports::PrinterInfo2 i;
             return p.spooler().getPrinter2(h, i);
         }},
        {"SetPrinterW",
         [](P& p) {
             auto h = openPdf(p);
             return p.spooler().setPrinterCommand(h, spool::ControlPurge);
         }},
        {"GetPrinterDataExW",
         [](P& p) {
             auto h = openPdf(p);
             ports::RegValue v;
             return p.spooler().getPrinterData(h, L"PnPData", L"X", v);
         }},
        {"SetPrinterDataExW",
         [](P& p) {
             auto h = openPdf(p);
             return p.spooler().setPrinterData(h, L"K", L"V", ports::RegValue::fromDword(1));
         }},
        {"GetDefaultPrinterW",
         [](P& p) {
             std::wstring n;
             return p.spooler().getDefaultPrinter(n);
         }},
        {"SetDefaultPrinterW", [](P& p) { return p.spooler().setDefaultPrinter(L"Microsoft Print to PDF"); }},
        {"DocumentPropertiesW",
         [](P& p) {
             auto h = openPdf(p);
             ports::DevMode d;
             return p.spooler().getDefaultDevMode(h, L"", d);
         }},
        {"DeviceCapabilitiesW",
         [](P& p) {
             std::vector<std::wstring> n;
             return p.spooler().paperNames(L"Microsoft Print to PDF", L"", n);
         }},
        {"EnumFormsW",
         [](P& p) {
             auto h = openPdf(p);
             std::vector<ports::FormInfo1> f;
             return p.spooler().enumForms(h, f);
         }},
        {"DeleteFormW",
         [](P& p) {
             auto h = openPdf(p);
             return p.spooler().deleteForm(h, L"X");
         }},
        {"EnumPrinterDriversW",
         [](P& p) {
             std::vector<ports::DriverInfo> d;
             return p.spooler().enumDrivers(L"", 3, d);
         }},
        {"AddPrinterDriverW", [](P& p) { return p.spooler().addPrinterDriver({}); }},
        {"DeletePrinterDriverExW", [](P& p) { return p.spooler().deletePrinterDriver(L"", L"X", 0, 0); }},
        {"GetPrinterDriverDirectoryW",
         [](P& p) {
             std::wstring d;
             return p.spooler().printerDriverDirectory(L"", d);
         }},
        {"UploadPrinterDriverPackageW",
         [](P& p) {
             std::wstring d;
             return p.spooler().uploadPrinterDriverPackage(sim_test::kPackageInf, L"", 3, 0, d);
         },
         ports::hresult::fromWin32(kCode)},
        {"InstallPrinterDriverFromPackageW",
         [](P& p) { return p.spooler().installPrinterDriverFromPackage(L"x", L"y", L"", 1); },
         ports::hresult::fromWin32(kCode)},
        {"DeletePrinterDriverPackageW",
         [](P& p) { return p.spooler().deletePrinterDriverPackage(L"x", L""); },
         ports::hresult::fromWin32(kCode)},
        {"EnumPortsW",
         [](P& p) {
             std::vector<ports::PortInfo2> v;
             return p.spooler().enumPorts2(v);
         }},
        {"AddPortW", [](P& p) { return p.spooler().addPortUi(0, L"Local Port"); }},
        {"ConfigurePortW", [](P& p) { return p.spooler().configurePortUi(0, L"LPT1:"); }},
        {"DeletePortW", [](P& p) { return p.spooler().deletePortUi(0, L"LPT2:"); }},
        {"XcvDataW",
         [](P& p) {
             ports::SpoolerHandle x;
             EXPECT_EQ(p.spooler().openPrinter(L",XcvMonitor Local Port", 1, x), 0u);
             ports::PortData1 d;
             d.portName = L"X";
             return p.spooler().xcvAddPort(x, d).call;
         }},
        {"XcvData",
         [](P& p) {
             ports::SpoolerHandle x;
             EXPECT_EQ(p.spooler().openPrinter(L",XcvMonitor Local Port", 1, x), 0u);
             return p.spooler().xcvDeletePort(x, L"LPT3:").call;
         }},
        {"EnumMonitorsW",
         [](P& p) {
             std::vector<ports::MonitorInfo2> v;
             return p.spooler().enumMonitors2(v);
         }},
        {"AddMonitorW",
         [](P& p) {
             return p.spooler().addMonitor({L"M", L"Windows x64", L"localspl.dll"});
         }},
        {"DeleteMonitorW", [](P& p) { return p.spooler().deleteMonitor(L"Windows x64", L"USB Monitor"); }},
        {"SHInvokePrinterCommandW", [](P& p) { return p.spooler().invokePrinterCommand(0, 1, L"x"); }},
        {"SetupDiGetClassDevsW",
         [](P& p) {
             ports::DeviceInfoSet s;
             return p.devices().getClassDevs(std::nullopt, L"", ports::digcf::AllClasses, s);
         }},
        {"SetupDiCallClassInstaller",
         [](P& p) {
             ports::DeviceInfoSet s;
             ports::DeviceInfoData d;
             bool r = false;
             EXPECT_EQ(p.devices().getClassDevs(std::nullopt, L"USBPRINT", ports::digcf::AllClasses, s), 0u);
             EXPECT_EQ(p.devices().enumDeviceInfo(s, 0, d), 0u);
             return p.devices().removeDevice(s, d, r);
         }},
        {"UpdateDriverForPlugAndPlayDevicesW",
         [](P& p) {
             bool r = false;
             return p.devices().updateDriverForPlugAndPlayDevices(0, L"x", L"y", 1, r);
         }},
        {"CM_Locate_DevNodeW",
         [](P& p) {
             ports::DevInst n = 0;
             return p.devices().locateDevNode(L"", 0, n);
         }},
        {"CM_Reenumerate_DevNode",
         [](P& p) {
             ports::DevInst n = 0;
             EXPECT_EQ(p.devices().locateDevNode(L"", 0, n), 0u);
             return p.devices().reenumerateDevNode(n, 0);
         }},
        {"CreateFileW",
         [](P& p) {
             std::vector<std::uint8_t> r;
             return p.devices().queryUsbPrinterName(L"x", {}, r);
         }},
        {"BluetoothFindFirstRadio",
         [](P& p) {
             ports::BluetoothRadio r;
             return p.bluetooth().findFirstRadio(r);
         }},
        {"BluetoothFindFirstDevice",
         [](P& p) {
             ports::BluetoothRadio r;
             ports::BluetoothDeviceSearch s;
             ports::BluetoothDeviceInfo d;
             ports::BluetoothSearchParams q;
             q.issueInquiry = false;
             return p.bluetooth().findFirstDevice(q, r, s, d);
         }},
        {"BluetoothEnumerateInstalledServices",
         [](P& p) {
             std::vector<ports::Guid> g;
             ports::BluetoothDeviceInfo d;
             d.address = 0xDC0D30A1B2C3;
             return p.bluetooth().installedServices(d, g);
         }},
        {"BluetoothSetServiceState",
         [](P& p) {
             ports::BluetoothDeviceInfo d;
             return p.bluetooth().setServiceState(d, ports::guids::SerialPortServiceClass, true);
         }},
        {"BluetoothRemoveDevice", [](P& p) { return p.bluetooth().removeDevice(0xDC0D30A1B2C3); }},
        {"BluetoothAuthenticateDeviceEx",
         [](P& p) {
             ports::BluetoothDeviceInfo d;
             return p.bluetooth().authenticateDevice(0, d, 0);
         }},
        {"OpenSCManagerW",
         [](P& p) {
             ports::ServiceManagerHandle m;
             return p.services().openManager(0, m);
         }},
        {"OpenServiceW",
         [](P& p) {
             ports::ServiceManagerHandle m;
             ports::ServiceHandle s;
             EXPECT_EQ(p.services().openManager(0, m), 0u);
             return p.services().openService(m, L"Spooler", 0x34, s);
         }},
        {"StartServiceW",
         [](P& p) {
             ports::ServiceManagerHandle m;
             ports::ServiceHandle s;
             EXPECT_EQ(p.services().openManager(0, m), 0u);
             EXPECT_EQ(p.services().openService(m, L"Spooler", 0x34, s), 0u);
             return p.services().start(s);
         }},
        {"ControlService",
         [](P& p) {
             ports::ServiceManagerHandle m;
             ports::ServiceHandle s;
             ports::ServiceStatus st;
             EXPECT_EQ(p.services().openManager(0, m), 0u);
             EXPECT_EQ(p.services().openService(m, L"Spooler", 0x34, s), 0u);
             return p.services().control(s, 1, st);
         }},
        {"QueryServiceStatus",
         [](P& p) {
             ports::ServiceManagerHandle m;
             ports::ServiceHandle s;
             ports::ServiceStatus st;
             EXPECT_EQ(p.services().openManager(0, m), 0u);
             EXPECT_EQ(p.services().openService(m, L"Spooler", 0x34, s), 0u);
             return p.services().queryStatus(s, st);
         }},
        {"CreateProcessW",
         [](P& p) {
             ports::ProcessStartInfo i;
             i.commandLine = L"rundll32 x";
             ports::ProcessHandle h;
             return p.processes().start(i, h);
         }},
    };
}

TEST(SimFaultInjection, EachOperationFailsWithTheInjectedCodeForTheGivenCount) {
    for (const auto& c : cases()) {
        SCOPED_TRACE(c.operation);
        TestMachine m;
        ASSERT_EQ(sim_test::writePackage(m.platform().files()), winerr::Success);
        m.machine().write([&](sim::Json& s) {
            s["faults"] = {{{"operation", c.operation}, {"code", kCode}, {"count", 2}}};
        });
        EXPECT_EQ(c.call(m.platform()), c.expected);
        EXPECT_EQ(c.call(m.platform()), c.expected);
        EXPECT_NE(c.call(m.platform()), c.expected); // the count is used up
        m.machine().read([](const sim::Json& s) { EXPECT_TRUE(s["faults"].empty()); });
    }
}

// The state file is written by hand: entries and values of the wrong shape are passed over or read
// as their defaults, never a stop of the program.
TEST(SimFaultInjection, MisshapenStateIsPassedOver) {
    TestMachine m;
    m.machine().write([&](sim::Json& s) {
        s["faults"] = sim::Json::parse(R"([
            "RegSetValueEx", 5, null, {"operation": 7}, {"operation": ["SHGetFolderPath"]},
            {"operation": "RegSetValueEx", "code": "0x20", "count": "two"}
        ])");
        s["system"] = sim::Json::parse(R"({"architecture": 64, "isWow64Process2": "yes",
            "windowsVersion": 10, "uiLanguage": "0x0407", "modulePath": false, "winsockVersion": 2})");
    });
    auto& p = m.platform();
    p.profile().setApplicationKey(L"ZEVR", L"Orvello");
    EXPECT_EQ(p.profile().writeInt(L"SetupMode", L"SetupMode", 1), 0x20u); // the well-formed entry, once
    EXPECT_EQ(p.profile().writeInt(L"SetupMode", L"SetupMode", 1), winerr::Success);
    EXPECT_FALSE(p.system().knownFolder(ports::KnownFolder::ProgramFilesX86).empty());
    EXPECT_EQ(p.system().nativeArchitecture(), ports::Architecture::X64);
    EXPECT_EQ(p.system().userDefaultUiLanguage(), 0x0407);
    EXPECT_EQ(p.system().windowsVersion().major, 10u);
    EXPECT_EQ(p.system().modulePath(), L"C:\\Program Files (x86)\\Orvello\\Orvello.exe");
    std::uint16_t reported = 0;
    EXPECT_EQ(p.host().startWinsock(0x0202, reported), winerr::Success);
    EXPECT_EQ(reported, 0x0202);
    // The misshapen entries were dropped when the state was checked, the good one used up.
    m.machine().read([](const sim::Json& s) { EXPECT_EQ(s["faults"].size(), 0u); });
}

} // namespace
