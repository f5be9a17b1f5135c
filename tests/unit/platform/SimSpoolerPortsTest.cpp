// The simulated spooler's ports and monitors: the Standard TCP/IP monitor's Xcv channel with its
// statuses, the local monitor, and monitors that are in use.
#include "support/SpoolerScenario.h"
#include "support/TestMachine.h"

#include "platform/sim/SimJson.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using testing_support::TestMachine;
namespace winerr = ports::winerr;
namespace spool = ports::spool;

ports::PortData1 rawPort(std::wstring name, std::wstring ip = L"192.168.1.200") {
    ports::PortData1 d;
    d.portName = std::move(name);
    d.hostAddress = ip;
    d.ipAddress = ip;
    d.doubleSpool = 1;
    d.portNumber = 9100;
    return d;
}

class SimSpoolerPortsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(sp().openPrinter(L",XcvMonitor Standard TCP/IP Port", spool::ServerAccessAdminister, tcp),
                  winerr::Success);
    }
    ports::PrintSpooler& sp() { return m.platform().spooler(); }
    std::optional<ports::PortInfo2> port(std::wstring_view name) {
        std::vector<ports::PortInfo2> list;
        EXPECT_EQ(sp().enumPorts2(list), winerr::Success);
        for (auto& p : list) {
            if (p.portName == name)
                return p;
        }
        return std::nullopt;
    }
    TestMachine m;
    ports::SpoolerHandle tcp;
};

TEST_F(SimSpoolerPortsTest, ATcpIpPortIsListedUnderTheMonitorsDllName) {
    const auto r = sp().xcvAddPort(tcp, rawPort(L"IP_192.168.1.200"));
    ASSERT_EQ(r.call, winerr::Success);
    ASSERT_EQ(r.monitor, winerr::Success);
    const auto p = port(L"IP_192.168.1.200");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->monitorName.value_or(L""), L"TCPMON.DLL");
    EXPECT_EQ(p->description.value_or(L""), L"Standard TCP/IP Port");
    m.machine().read([](const sim::Json& s) {
        const sim::Json* rec = sim::findNamed(s["spooler"]["ports"], "name", L"IP_192.168.1.200");
        ASSERT_TRUE(rec);
        EXPECT_EQ((*rec)["tcp"]["portNumber"], 9100);
        EXPECT_EQ((*rec)["tcp"]["hostAddress"], "192.168.1.200");
    });
}

TEST_F(SimSpoolerPortsTest, XcvOutcomesAreTheMonitorsStatusNotTheCalls) {
    struct Case {
        const char* what;
        ports::PortData1 data;
        ports::Status call, monitor;
    };
    auto with = [](auto change) {
        auto d = rawPort(L"IP_10.0.0.9", L"10.0.0.9");
        change(d);
        return d;
    };
    const Case cases[] = {
        {"an existing port (any monitor's)", rawPort(L"LPT1:"), winerr::Success, winerr::AlreadyExists},
        {"existing in other letter case", rawPort(L"file:"), winerr::Success, winerr::AlreadyExists},
        {"version 2", with([](auto& d) { d.version = 2; }), winerr::Success, winerr::InvalidLevel},
        {"no address", with([](auto& d) { d.hostAddress = d.ipAddress = L""; }), winerr::Success,
         winerr::InvalidParameter},
        {"unknown protocol", with([](auto& d) { d.protocol = 7; }), winerr::Success,
         winerr::InvalidParameter},
        // Texts the 964-byte record cannot hold are refused by the port itself, never cut short.
        {"64-character name", rawPort(std::wstring(64, L'P')), winerr::InvalidParameter, winerr::Success},
        {"16-character IP", with([](auto& d) { d.ipAddress = L"192.168.100.2000"; }),
         winerr::InvalidParameter, winerr::Success},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto r = sp().xcvAddPort(tcp, c.data);
        EXPECT_EQ(r.call, c.call);
        EXPECT_EQ(r.monitor, c.monitor);
    }
    EXPECT_FALSE(port(std::wstring(63, L'P')));
    EXPECT_FALSE(port(L"IP_10.0.0.9"));
    // 63 characters fit.
    EXPECT_EQ(sp().xcvAddPort(tcp, rawPort(std::wstring(63, L'P'))).monitor, winerr::Success);
    EXPECT_TRUE(port(std::wstring(63, L'P')));
}

TEST_F(SimSpoolerPortsTest, DeletingThroughXcvTouchesOnlyTheMonitorsOwnFreePorts) {
    ASSERT_EQ(sp().xcvAddPort(tcp, rawPort(L"IP_1")).monitor, winerr::Success);
    EXPECT_EQ(sp().xcvDeletePort(tcp, L"LPT1:").monitor, winerr::UnknownPort); // a local port
    EXPECT_EQ(sp().xcvDeletePort(tcp, L"IP_2").monitor, winerr::UnknownPort);
    EXPECT_EQ(sp().xcvDeletePort(tcp, std::wstring(64, L'P')).call, winerr::InvalidParameter);
    // In use by a printer: busy.
    ASSERT_EQ(testing_support::addDriverWithFiles(sp(), m.platform().files(), L"Windows x64", L"JN-2232T"),
              winerr::Success);
    ports::PrinterInfo2 p;
    p.printerName = L"Net";
    p.portName = L"IP_1";
    p.driverName = L"JN-2232T";
    p.printProcessor = L"winprint";
    ports::SpoolerHandle printer;
    ASSERT_EQ(sp().addPrinter(p, printer), winerr::Success);
    EXPECT_EQ(sp().xcvDeletePort(tcp, L"IP_1").monitor, 170u); // ERROR_BUSY
    ASSERT_EQ(sp().deletePrinter(printer), winerr::Success);
    const auto r = sp().xcvDeletePort(tcp, L"ip_1");
    EXPECT_EQ(r.call, winerr::Success);
    EXPECT_EQ(r.monitor, winerr::Success);
    EXPECT_FALSE(port(L"IP_1"));
}

TEST_F(SimSpoolerPortsTest, XcvChannelsNeedAKnownMonitorAndAdministerAccess) {
    ports::SpoolerHandle h;
    EXPECT_EQ(sp().openPrinter(L",XcvMonitor No Such Monitor", spool::ServerAccessAdminister, h),
              winerr::UnknownPort);
    ASSERT_EQ(sp().openPrinter(L",XcvMonitor Standard TCP/IP Port", spool::PrinterAccessUse, h),
              winerr::Success);
    EXPECT_EQ(sp().xcvAddPort(h, rawPort(L"IP_3")).call, winerr::AccessDenied);
    ports::SpoolerHandle printer;
    ASSERT_EQ(sp().openPrinter(L"Microsoft Print to PDF", spool::PrinterAllAccess, printer), winerr::Success);
    EXPECT_EQ(sp().xcvAddPort(printer, rawPort(L"IP_3")).call, winerr::InvalidHandle);
}

TEST_F(SimSpoolerPortsTest, MonitorsInUseStayUnknownOnesAreUnknown) {
    std::vector<ports::MonitorInfo2> monitors;
    ASSERT_EQ(sp().enumMonitors2(monitors), winerr::Success);
    ASSERT_EQ(monitors.size(), 3u);
    EXPECT_EQ(monitors[0].name, L"Local Port");
    EXPECT_EQ(monitors[0].environment, L"Windows x64");

    const ports::MonitorInfo2 lm{L"CorvaneEx Language Monitor", L"Windows x64", L"CorvaneExLM.dll"};
    EXPECT_EQ(sp().addMonitor(lm), winerr::ModNotFound); // its DLL is not in the system folder yet
    // The 32-bit wizard reaches the spooler's System32 only with redirection switched off.
    ASSERT_EQ(m.platform().files().enableWow64FsRedirection(false), winerr::Success);
    ASSERT_EQ(m.platform().files().createDirectories(L"C:\\Windows\\System32"), winerr::Success);
    ASSERT_EQ(m.platform().files().writeFile(L"C:\\Windows\\System32\\CorvaneExLM.dll",
                                             std::vector<std::uint8_t>{1}),
              winerr::Success);
    ASSERT_EQ(m.platform().files().enableWow64FsRedirection(true), winerr::Success);
    EXPECT_EQ(sp().addMonitor({lm.name, L"Windows NT x86", lm.dllName}), winerr::InvalidEnvironment);
    ASSERT_EQ(sp().addMonitor(lm), winerr::Success);
    EXPECT_EQ(sp().addMonitor(lm), winerr::PrintMonitorAlreadyInstalled);

    // A driver that names it as its language monitor keeps it in use.
    ports::DriverInfo d;
    d.level = 3;
    d.name = L"JN-2232T";
    d.environment = L"Windows x64";
    d.driverPath = L"JN-2232T.dll";
    d.dataFile = L"JN-2232T.gpd";
    d.configFile = L"JN-2232TUI.dll";
    d.monitorName = lm.name;
    std::wstring dir;
    ASSERT_EQ(sp().printerDriverDirectory(L"Windows x64", dir), winerr::Success);
    for (auto f : {L"JN-2232T.dll", L"JN-2232T.gpd", L"JN-2232TUI.dll"})
        ASSERT_EQ(
            m.platform().files().writeFile(std::wstring(L"C:\\Windows\\system32\\spool\\DRIVERS\\x64\\") + f,
                                           std::vector<std::uint8_t>{1}),
            winerr::Success);
    ASSERT_EQ(sp().addPrinterDriver(d), winerr::Success);
    EXPECT_EQ(sp().deleteMonitor(L"Windows x64", lm.name), winerr::PrintMonitorInUse);
    ASSERT_EQ(sp().deletePrinterDriver(L"Windows x64", d.name, 0, 0), winerr::Success);
    EXPECT_EQ(sp().deleteMonitor(L"Windows x64", lm.name), winerr::Success);
    EXPECT_EQ(sp().deleteMonitor(L"Windows x64", lm.name), winerr::UnknownPrintMonitor);

    // A port monitor whose port a printer uses is in use too.
    EXPECT_EQ(sp().deleteMonitor(L"Windows x64", L"Local Port"), winerr::PrintMonitorInUse);
}

TEST_F(SimSpoolerPortsTest, TheMonitorsOwnDialogsAnswerAsTheStateSays) {
    EXPECT_EQ(sp().addPortUi(0, L"Local Port"), winerr::Cancelled);
    m.machine().write([](sim::Json& s) { s["spooler"]["portDialog"] = {{"portName", "C:\\out.prn"}}; });
    EXPECT_EQ(sp().addPortUi(0, L"Local Port"), winerr::Success);
    const auto p = port(L"C:\\out.prn");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->monitorName.value_or(L""), L"Local Port");
    EXPECT_EQ(sp().addPortUi(0, L"Local Port"), winerr::Cancelled); // the answer is used once
    EXPECT_EQ(sp().addPortUi(0, L"No Such Monitor"), winerr::UnknownPrintMonitor);
    EXPECT_EQ(sp().configurePortUi(0, L"COM1:"), winerr::Success);
    EXPECT_EQ(sp().configurePortUi(0, L"COM9:"), winerr::UnknownPort);
    EXPECT_EQ(sp().deletePortUi(0, L"PORTPROMPT:"), 170u); // the PDF printer prints there
    EXPECT_EQ(sp().deletePortUi(0, L"C:\\out.prn"), winerr::Success);
    EXPECT_FALSE(port(L"C:\\out.prn"));
}

} // namespace
