// Standard TCP/IP ports on the simulated spooler: the record of a new port, the statuses that stop or
// let the installation go on, the refusal of texts that do not fit, and deleting only what is ours.
#include "engine/install/TcpIpPorts.h"
#include "unit/engine/InstallFixture.h"

namespace {

using namespace engine;

using msglog::LogMessage;
namespace winerr = ports::winerr;

constexpr std::wstring_view kFailed = L"%s失败. 错误码: %d. 错误描述: %s.";

class TcpIpPorts : public engine_test::InstallFixture {
protected:
    TcpIpPorts() {
        session.portType = 1;
        session.chosen.ipAddress = L"192.168.1.200";
        session.chosen.portName = L"IP_192.168.1.200";
    }
    std::size_t portCount() {
        std::size_t n = 0;
        machine.machine().read([&](const sim::Json& s) { n = s["spooler"]["ports"].size(); });
        return n;
    }
};

TEST_F(TcpIpPorts, NewPortIsRawOn9100WithDoubleSpoolingAndNoSnmp) {
    ASSERT_TRUE(AddTcpIpPort(ctx));
    const auto p = port("IP_192.168.1.200");
    ASSERT_TRUE(p);
    EXPECT_EQ((*p)["monitor"], "Standard TCP/IP Port");
    const auto& tcp = (*p)["tcp"];
    EXPECT_EQ(tcp["protocol"], 1);
    EXPECT_EQ(tcp["portNumber"], 9100);
    EXPECT_EQ(tcp["doubleSpool"], 1);
    EXPECT_EQ(tcp["snmpEnabled"], 0);
    EXPECT_EQ(tcp["snmpDevIndex"], 0);
    EXPECT_EQ(tcp["hostAddress"], "192.168.1.200");
    EXPECT_EQ(tcp["ipAddress"], "192.168.1.200");
    EXPECT_EQ(tcp["snmpCommunity"], "");
    EXPECT_EQ(tcp["queue"], "");
    EXPECT_TRUE(log.messages().empty());
}

TEST_F(TcpIpPorts, ExistingPortNameStopsTheInstallationWithTheMonitorsStatus) {
    addTcpIpPort("IP_192.168.1.200");
    EXPECT_FALSE(AddTcpIpPort(ctx));
    EXPECT_EQ(log.messages(),
              (std::vector<LogMessage>{
                  {failure(kFailed, L"AddPort dwStatus ", winerr::AlreadyExists), msglog::kRed}}));
    EXPECT_FALSE(errorText(winerr::AlreadyExists).empty());
}

TEST_F(TcpIpPorts, ChannelThatDoesNotOpenEndsBeforeAnythingChanges) {
    failNext("OpenPrinterW", winerr::AccessDenied);
    EXPECT_FALSE(AddTcpIpPort(ctx));
    EXPECT_FALSE(port("IP_192.168.1.200"));
    EXPECT_EQ(log.messages(), (std::vector<LogMessage>{
                                  {failure(kFailed, kTcpIpXcvName, winerr::AccessDenied), msglog::kRed}}));
}

TEST_F(TcpIpPorts, FailedAddPortCallIsReportedAndTheInstallationGoesOn) {
    failNext("XcvDataW", winerr::RpcServerUnavailable);
    EXPECT_TRUE(AddTcpIpPort(ctx));
    EXPECT_EQ(log.messages(),
              (std::vector<LogMessage>{
                  {failure(kFailed, L"AddPort", winerr::RpcServerUnavailable), msglog::kRed}}));
    EXPECT_FALSE(errorText(winerr::RpcServerUnavailable).empty());
}

TEST_F(TcpIpPorts, NameOrAddressThatDoesNotFitIsRefusedWholeBeforeTheChannelOpens) {
    struct Case {
        std::wstring portName, address;
        bool fits;
    };
    const std::vector<Case> cases = {
        {std::wstring(63, L'P'), L"192.168.100.200", true},
        {std::wstring(64, L'P'), L"192.168.1.200", false},
        {L"IP_x", L"192.168.100.2001", false},
        {L"IP_y", L"printer.example.com", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(text::toUtf8(c.portName + L" " + c.address));
        log.clear();
        const auto portsBefore = portCount();
        session.chosen.portName = c.portName;
        session.chosen.ipAddress = c.address;
        // A fault on the channel shows whether it was opened at all.
        failNext("OpenPrinterW", winerr::AccessDenied);
        EXPECT_FALSE(AddTcpIpPort(ctx));
        EXPECT_EQ(faultsLeft(), c.fits ? 0u : 1u);
        ASSERT_EQ(log.messages().size(), 1u);
        EXPECT_EQ(log.messages()[0].colour, msglog::kRed);
        machine.machine().write([](sim::Json& s) { s["faults"] = sim::Json::array(); });
        if (c.fits) {
            EXPECT_TRUE(AddTcpIpPort(ctx));
            EXPECT_TRUE(port(text::toUtf8(c.portName)));
        } else {
            EXPECT_EQ(portCount(), portsBefore); // nothing cut short reached the spooler
            EXPECT_NE(log.messages()[0].text.find(std::to_wstring(winerr::InvalidParameter)),
                      std::wstring::npos);
        }
    }
}

TEST_F(TcpIpPorts, DeletionIsSilentUnlessDebugAndReportsWhatWentWrong) {
    addTcpIpPort("IP_10.0.0.9");
    EXPECT_TRUE(DeleteTcpIpPort(app, L"IP_10.0.0.9"));
    EXPECT_FALSE(port("IP_10.0.0.9"));
    EXPECT_TRUE(log.messages().empty());

    addTcpIpPort("IP_10.0.0.9");
    app.debugMode = 1;
    EXPECT_TRUE(DeleteTcpIpPort(app, L"IP_10.0.0.9"));
    EXPECT_EQ(log.messages(), (std::vector<LogMessage>{{L"Delete Port: IP_10.0.0.9. ", msglog::kBlack}}));

    log.clear();
    EXPECT_FALSE(DeleteTcpIpPort(app, L"IP_10.0.0.9"));
    EXPECT_EQ(log.messages(),
              (std::vector<LogMessage>{
                  {failure(kFailed, L"Delete Port: IP_10.0.0.9. ", winerr::UnknownPort), msglog::kRed}}));
    EXPECT_FALSE(errorText(winerr::UnknownPort).empty());

    addTcpIpPort("IP_10.0.0.9");
    log.clear();
    failNext("XcvDataW", winerr::AccessDenied);
    EXPECT_FALSE(DeleteTcpIpPort(app, L"IP_10.0.0.9"));
    EXPECT_TRUE(port("IP_10.0.0.9"));
    EXPECT_EQ(log.messages(),
              (std::vector<LogMessage>{
                  {failure(kFailed, L"Delete Port: IP_10.0.0.9. ", winerr::AccessDenied), msglog::kRed}}));

    log.clear();
    failNext("OpenPrinterW", winerr::AccessDenied);
    EXPECT_FALSE(DeleteTcpIpPort(app, L"IP_10.0.0.9"));
    EXPECT_EQ(log.messages(), (std::vector<LogMessage>{
                                  {failure(kFailed, kTcpIpXcvName, winerr::AccessDenied), msglog::kRed}}));
}

TEST_F(TcpIpPorts, OnlyPortsOfTheTcpIpMonitorAreDeletedFoundInAnyCase) {
    addTcpIpPort("IP_10.0.0.9");
    for (const char* other : {"USB001", "COM1:", "FILE:", "LPT1:", "NoSuchPort"}) {
        SCOPED_TRACE(other);
        EXPECT_FALSE(DeletePortIfTcpIp(app, text::fromUtf8(other)));
    }
    EXPECT_TRUE(log.messages().empty());
    for (const char* kept : {"USB001", "COM1:", "FILE:", "LPT1:"})
        EXPECT_TRUE(port(kept));

    failNext("EnumPortsW", winerr::RpcServerUnavailable);
    EXPECT_FALSE(DeletePortIfTcpIp(app, L"IP_10.0.0.9"));
    EXPECT_TRUE(port("IP_10.0.0.9"));

    EXPECT_TRUE(DeletePortIfTcpIp(app, L"ip_10.0.0.9"));
    EXPECT_FALSE(port("IP_10.0.0.9"));
    EXPECT_TRUE(log.messages().empty());
}

} // namespace
