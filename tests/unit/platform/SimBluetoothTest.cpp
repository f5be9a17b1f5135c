// The simulated Bluetooth stack: discovery, pairing through the authentication callback, the serial
// port service and its COM port, removal.
#include "support/TestMachine.h"

#include "platform/sim/SimBluetooth.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimJson.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using testing_support::TestMachine;
namespace winerr = ports::winerr;

constexpr std::uint64_t kPrinter = 0xDC0D30A1B2C3; // the demo's printer in range

// A fixture whose clock is virtual, so that the 6.4-second inquiries and page time-outs are instant.
class SimBluetoothTest : public ::testing::Test {
protected:
    SimBluetoothTest() { m.platform().useClock(&clock); }
    ports::Bluetooth& bt() { return m.platform().bluetooth(); }
    std::vector<ports::BluetoothDeviceInfo> search(ports::BluetoothSearchParams params = {}) {
        ports::BluetoothRadio radio;
        ports::BluetoothDeviceSearch s;
        ports::BluetoothDeviceInfo d;
        std::vector<ports::BluetoothDeviceInfo> out;
        EXPECT_EQ(bt().findFirstRadio(radio), winerr::Success);
        for (auto r = bt().findFirstDevice(params, radio, s, d); r == winerr::Success;
             r = bt().findNextDevice(s, d))
            out.push_back(d);
        return out;
    }
    // One attempt as the wizard makes it: register, authenticate, answer legacy requests with `pin`
    // (the bytes with their NUL, length 4 whatever the text) and numeric comparison by echoing.
    ports::Status pair(const std::string& pin, ports::BluetoothDeviceInfo& device) {
        ports::BluetoothAuthRegistration reg;
        std::thread::id callbackThread;
        auto callback = [&](ports::BluetoothAuthRequest& request) {
            callbackThread = std::this_thread::get_id();
            ports::BluetoothAuthResponse r;
            r.address = request.device.address;
            r.method = request.method;
            if (request.method == ports::btauth::Legacy && !pin.empty()) {
                r.pin.assign(pin.begin(), pin.end());
                r.pin.push_back(0);
                r.pinLength = 4;
            } else if (request.method == ports::btauth::NumericComparison) {
                r.numericValue = request.numericValue;
            }
            if (bt().sendAuthenticationResponse(r) == winerr::Success)
                request.device.authenticated = true;
            return true;
        };
        if (auto s = bt().registerForAuthentication(device, callback, reg))
            return s;
        const auto result = bt().authenticateDevice(0, device, ports::btauth::MitmProtectionNotRequired);
        if (callbackThread != std::thread::id()) {
            EXPECT_NE(callbackThread, std::this_thread::get_id()); // the system's own thread
        }
        return result;
    }
    void setDevice(const char* key, sim::Json value) {
        m.machine().write([&](sim::Json& s) { s["bluetooth"]["devices"][0][key] = value; });
    }
    sim::VirtualClock clock;
    TestMachine m;
};

TEST_F(SimBluetoothTest, AnInquiryFindsThePrinterInRangeAndTakesItsTime) {
    const auto found = search();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].address, kPrinter);
    EXPECT_EQ(found[0].classOfDevice, 0x040680u);
    EXPECT_EQ(found[0].name, L"TV-B58");
    EXPECT_FALSE(found[0].authenticated);
    EXPECT_EQ(found[0].lastSeen.year, 2024);
    EXPECT_EQ(clock.elapsedMs(), 2000u); // the demo's inquiry time
    // Without an inquiry only remembered devices come back.
    ports::BluetoothSearchParams noInquiry;
    noInquiry.issueInquiry = false;
    EXPECT_TRUE(search(noInquiry).empty());
    EXPECT_EQ(sim::SimBluetooth::addressText(kPrinter), L"DC0D30A1B2C3");
}

TEST_F(SimBluetoothTest, WithoutARadioNothingIsFound) {
    m.machine().write([](sim::Json& s) { s["bluetooth"].erase("radio"); });
    ports::BluetoothRadio radio;
    EXPECT_EQ(bt().findFirstRadio(radio), winerr::NoMoreItems);
    ports::BluetoothDeviceSearch s;
    ports::BluetoothDeviceInfo d;
    EXPECT_EQ(bt().findFirstDevice({}, radio, s, d), winerr::NoMoreItems);
    EXPECT_FALSE(s);
}

TEST_F(SimBluetoothTest, PairingTakesTheRightPinOnlyAndAPairedDeviceSaysSo) {
    ports::BluetoothDeviceInfo device = search().at(0);
    EXPECT_EQ(pair("1234", device), 1244u); // ERROR_NOT_AUTHENTICATED
    EXPECT_EQ(pair("", device), 1244u);
    EXPECT_FALSE(device.authenticated);
    ASSERT_EQ(pair("0000", device), winerr::Success);
    EXPECT_TRUE(device.authenticated);
    EXPECT_TRUE(device.remembered);
    EXPECT_EQ(pair("0000", device), winerr::NoMoreItems); // already paired
    ports::BluetoothSearchParams noInquiry;
    noInquiry.issueInquiry = false;
    EXPECT_EQ(search(noInquiry).size(), 1u);
}

TEST_F(SimBluetoothTest, ThePinLengthSentCountsNotTheTextsLength) {
    setDevice("pin", "1234");
    ports::BluetoothDeviceInfo device = search().at(0);
    // The wizard sends four bytes whatever the text, so "12345" pairs with a printer whose PIN is "1234".
    EXPECT_EQ(pair("12345", device), winerr::Success);
}

TEST_F(SimBluetoothTest, NumericComparisonIsConfirmedByEchoingTheValue) {
    setDevice("authMethod", "numericComparison");
    setDevice("passkey", 654321);
    ports::BluetoothDeviceInfo device = search().at(0);
    EXPECT_EQ(pair("", device), winerr::Success);
}

TEST_F(SimBluetoothTest, ABusyOrAbsentPrinterTimesOut) {
    setDevice("timeouts", 2);
    ports::BluetoothDeviceInfo device = search().at(0);
    const auto before = clock.elapsedMs();
    EXPECT_EQ(pair("0000", device), winerr::WaitTimeout);
    EXPECT_EQ(pair("0000", device), winerr::WaitTimeout);
    EXPECT_EQ(clock.elapsedMs() - before, 10000u);
    EXPECT_EQ(pair("0000", device), winerr::Success);
    ports::BluetoothDeviceInfo stranger;
    stranger.address = 0x112233445566;
    EXPECT_EQ(pair("0000", stranger), winerr::DeviceNotConnected);
}

TEST_F(SimBluetoothTest, WithoutTheAuthenticationFunctionsPairingIsNotAvailable) {
    m.machine().write([](sim::Json& s) { s["bluetooth"]["authenticationFunctions"] = false; });
    EXPECT_FALSE(bt().authenticationAvailable());
    ports::BluetoothDeviceInfo device = search().at(0);
    EXPECT_EQ(pair("0000", device), winerr::ProcNotFound);
    // Without a registered callback no one answers the system.
    m.machine().write([](sim::Json& s) { s["bluetooth"]["authenticationFunctions"] = true; });
    EXPECT_EQ(bt().authenticateDevice(0, device, 0), winerr::Cancelled);
}

TEST_F(SimBluetoothTest, TheSerialServiceGivesThePairedPrinterAComPort) {
    ports::BluetoothDeviceInfo device = search().at(0);
    EXPECT_EQ(bt().setServiceState(device, ports::guids::SerialPortServiceClass, true),
              winerr::InvalidParameter);
    ASSERT_EQ(pair("0000", device), winerr::Success);
    std::vector<ports::Guid> services;
    ASSERT_EQ(bt().installedServices(device, services), winerr::Success);
    EXPECT_TRUE(services.empty());
    ASSERT_EQ(bt().setServiceState(device, ports::guids::SerialPortServiceClass, true), winerr::Success);
    ASSERT_EQ(bt().installedServices(device, services), winerr::Success);
    ASSERT_EQ(services.size(), 1u);
    EXPECT_EQ(services[0], ports::guids::SerialPortServiceClass);
    EXPECT_EQ(bt().setServiceState(device, ports::guids::DevClassUsb, true), winerr::ServiceDoesNotExist);

    // The COM port's interface: its path holds the address, its device key the port name.
    auto& dt = m.platform().devices();
    ports::DeviceInfoSet set;
    ASSERT_EQ(dt.getClassDevs(ports::guids::SerialPortServiceClass, L"",
                              ports::digcf::Present | ports::digcf::DeviceInterface, set),
              winerr::Success);
    ports::DeviceInterfaceData iface;
    ASSERT_EQ(dt.enumDeviceInterfaces(set, ports::guids::SerialPortServiceClass, 0, iface), winerr::Success);
    std::wstring path;
    ports::DeviceInfoData node;
    ASSERT_EQ(dt.getDeviceInterfaceDetail(set, iface, path, node), winerr::Success);
    EXPECT_NE(path.find(L"DC0D30A1B2C3"), std::wstring::npos) << sim::u8(path);
    ports::RegValue port;
    ASSERT_EQ(dt.readDeviceRegistryValue(set, node, ports::devreg::ScopeGlobal, ports::devreg::KeyDevice,
                                         L"PortName", port),
              winerr::Success);
    EXPECT_EQ(port.asString(), L"COM5"); // COM1 to COM4 are taken
    std::vector<ports::PortInfo1> ports;
    ASSERT_EQ(m.platform().spooler().enumPorts1(ports), winerr::Success);
    EXPECT_TRUE(std::any_of(ports.begin(), ports.end(), [](auto& p) { return p.name == L"COM5:"; }));

    // Removal unpairs it and takes the COM port's device with it.
    ASSERT_EQ(bt().removeDevice(kPrinter), winerr::Success);
    EXPECT_EQ(bt().removeDevice(kPrinter), winerr::NotFound);
    ports::DeviceInfoSet after;
    ASSERT_EQ(dt.getClassDevs(ports::guids::SerialPortServiceClass, L"",
                              ports::digcf::Present | ports::digcf::DeviceInterface, after),
              winerr::Success);
    EXPECT_EQ(dt.enumDeviceInterfaces(after, ports::guids::SerialPortServiceClass, 0, iface),
              winerr::NoMoreItems);
}

TEST_F(SimBluetoothTest, APortTheSpoolerLearnsOfAtItsStartAppearsAfterARestart) {
    setDevice("spoolerSeesPortAtOnce", false);
    ports::BluetoothDeviceInfo device = search().at(0);
    ASSERT_EQ(pair("0000", device), winerr::Success);
    ASSERT_EQ(bt().setServiceState(device, ports::guids::SerialPortServiceClass, true), winerr::Success);
    auto hasCom5 = [&] {
        std::vector<ports::PortInfo1> ports;
        EXPECT_EQ(m.platform().spooler().enumPorts1(ports), winerr::Success);
        return std::any_of(ports.begin(), ports.end(), [](auto& p) { return p.name == L"COM5:"; });
    };
    EXPECT_FALSE(hasCom5());
    auto& sc = m.platform().services();
    ports::ServiceManagerHandle manager;
    ports::ServiceHandle spooler;
    ASSERT_EQ(sc.openManager(ports::svc::GenericExecute, manager), winerr::Success);
    ASSERT_EQ(sc.openService(manager, L"Spooler", 0x34, spooler), winerr::Success);
    ports::ServiceStatus status;
    ASSERT_EQ(sc.control(spooler, ports::svc::ControlStop, status), winerr::Success);
    clock.advance(1500);
    ASSERT_EQ(sc.start(spooler), winerr::Success);
    clock.advance(2000);
    EXPECT_TRUE(hasCom5());
}

} // namespace
