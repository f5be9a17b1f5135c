// Pairing a Bluetooth printer by the PIN policy, its serial port and COM port, and the whole
// installation on the simulated radio: PINs tried in order, time-outs retried, a missing stack, a
// cancelled or oversized typed PIN, the spooler that sees the new COM port late, and the tagged queue.
#include "engine/bluetooth/BluetoothInstall.h"
#include "engine/bluetooth/BluetoothPairing.h"
#include "engine/bluetooth/BluetoothSerialPort.h"
#include "engine/install/PrinterQueue.h"
#include "engine/operation/CThreadOperation.h"
#include "engine/printers/PrinterAccess.h"
#include "base/Compare.h"
#include "unit/engine/InstallRig.h"

#include <algorithm>
#include <optional>

namespace {

using engine_test::InstallRig;
using msglog::LogMessage;
namespace winerr = ports::winerr;

constexpr std::uint64_t kAddress = 0xDC0D30A1B2C3; // the demo machine's printer in range
constexpr wchar_t kAddressText[] = L"DC0D30A1B2C3";
constexpr wchar_t kPaired[] = L"蓝牙配对成功.";
constexpr wchar_t kNoPort[] = L"未找到蓝牙设备端口.";

class BluetoothRig : public InstallRig {
public:
    // The demo's printer, changed by `device` (members of its state record).
    explicit BluetoothRig(const sim::Json& device = sim::Json::object()) {
        machine.machine().write([&](sim::Json& s) {
            for (auto& [key, value] : device.items())
                s["bluetooth"]["devices"][0][key] = value;
        });
        auto& chosen = session.chosen;
        chosen.driverNode = model(engine_test::kPlainModel);
        chosen.modelName = engine_test::kPlainModel;
        chosen.printerName = L"Label printer (Bluetooth)";
        chosen.btInfo.address = kAddress;
        chosen.btInfo.name = L"TV-B58";
        chosen.btInfo.classOfDevice = 0x040680;
        chosen.btAddress = kAddressText;
        session.portType = port_type::Bluetooth;
        ctx.askBluetoothPin = [this](std::wstring& pin) {
            proposedPins.push_back(pin);
            if (!typedPin)
                return false;
            pin = *typedPin;
            return true;
        };
    }

    sim::Json device() {
        return machine.machine().read([](const sim::Json& s) { return s["bluetooth"]["devices"][0]; });
    }
    bool paired() { return device().value("paired", false); }
    // The PINs of the attempts, from the debug log of each series.
    std::vector<std::wstring> pinsTried() {
        std::vector<std::wstring> out;
        const std::wstring head = L"BluetoothAuthenticateDeviceEx, password=";
        for (const auto& m : messages())
            if (m.text.starts_with(head) && m.text.ends_with(L"."))
                out.push_back(m.text.substr(head.size(), m.text.size() - head.size() - 1));
        return out;
    }
    bool logged(std::wstring_view text) {
        const auto all = messages();
        return std::any_of(all.begin(), all.end(), [&](const LogMessage& m) { return m.text == text; });
    }
    std::optional<LogMessage> lastRed() {
        const auto all = messages();
        for (auto it = all.rbegin(); it != all.rend(); ++it)
            if (it->colour == msglog::kRed)
                return *it;
        return std::nullopt;
    }

    std::optional<std::wstring> typedPin; // none: the dialog is cancelled
    std::vector<std::wstring> proposedPins;
};

TEST(BluetoothPairing, TriesThePolicyInOrderAndAsksOnlyWhenAllThreeFail) {
    struct Case {
        const char* devicePin;
        std::optional<std::wstring> typed;
        std::vector<std::wstring> tried;
        bool asked;
        bool paired;
    };
    const Case cases[] = {
        {"0000", {}, {L"0000"}, false, true},
        {"1234", {}, {L"0000", L"1234"}, false, true},
        {"", {}, {L"0000", L"1234", L""}, false, true}, // the empty PIN is sent with length 0
        {"8642", L"8642", {L"0000", L"1234", L"", L"8642"}, true, true},
        {"8642", L"1111", {L"0000", L"1234", L"", L"1111"}, true, false},
        {"8642", std::nullopt, {L"0000", L"1234", L""}, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("device PIN \"") + c.devicePin + "\"");
        BluetoothRig rig(sim::Json{{"pin", c.devicePin}});
        rig.app.debugMode = 1;
        rig.typedPin = c.typed;
        EXPECT_EQ(engine::PairBluetoothPrinter(rig.ctx), c.paired);
        EXPECT_EQ(rig.pinsTried(), c.tried);
        EXPECT_EQ(rig.paired(), c.paired);
        EXPECT_EQ(rig.proposedPins.size(), c.asked ? 1u : 0u);
        if (c.asked) { // the dialog starts with the first default PIN
            EXPECT_EQ(rig.proposedPins[0], L"0000");
        }
    }
}

TEST(BluetoothPairing, AFailedTypedPinReportsAllFourResultsAndACancelledDialogReportsNothing) {
    BluetoothRig wrong(sim::Json{{"pin", "8642"}});
    wrong.typedPin = L"1111";
    EXPECT_FALSE(engine::PairBluetoothPrinter(wrong.ctx));
    const std::wstring reason = wrong.errorText(winerr::NotAuthenticated);
    const std::wstring one = L"(1244)=" + reason;
    EXPECT_EQ(wrong.lastRed(), (LogMessage{L"Bluetooth authentication error.\r\n Reason1" + one +
                                               L" Reason2" + one + L" Reason3" + one + L" Reason4" + one,
                                           msglog::kRed}));

    BluetoothRig cancelled(sim::Json{{"pin", "8642"}});
    EXPECT_FALSE(engine::PairBluetoothPrinter(cancelled.ctx));
    EXPECT_EQ(cancelled.messages(), std::vector<LogMessage>{});
}

TEST(BluetoothPairing, ARunWithNobodyToAskReportsThePolicysThreeResults) {
    BluetoothRig rig(sim::Json{{"pin", "8642"}});
    rig.ctx.askBluetoothPin = nullptr;
    EXPECT_FALSE(engine::PairBluetoothPrinter(rig.ctx));
    const auto red = rig.lastRed();
    ASSERT_TRUE(red);
    EXPECT_TRUE(red->text.starts_with(L"Bluetooth authentication error.\r\n Reason1(1244)="));
    EXPECT_NE(red->text.find(L"Reason3(1244)="), std::wstring::npos);
    EXPECT_EQ(red->text.find(L"Reason4"), std::wstring::npos);
}

TEST(BluetoothPairing, APinThatDoesNotFitTheSystemsRecordIsRefusedBeforeAnyAttempt) {
    BluetoothRig rig(sim::Json{{"pin", "8642"}});
    rig.app.debugMode = 1;
    rig.typedPin = L"0123456789abcdef"; // 16 characters: no room for the NUL
    EXPECT_FALSE(engine::PairBluetoothPrinter(rig.ctx));
    EXPECT_EQ(rig.pinsTried().size(), 3u);
    EXPECT_EQ(rig.lastRed(), (LogMessage{L"The Bluetooth PIN is too long: at most 15 bytes.", msglog::kRed}));

    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(engine::BluetoothPinBytes(rig.app, L"0123456789abcde", bytes));
    EXPECT_EQ(bytes.size(), 16u);
    EXPECT_EQ(bytes.back(), 0);
    EXPECT_FALSE(engine::BluetoothPinBytes(rig.app, L"0123456789abcdef", bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(BluetoothPairing, APairedPrinterAnswersNoMoreItemsAndNoOtherPinIsTried) {
    BluetoothRig rig(sim::Json{{"paired", true}, {"pin", "9999"}});
    rig.app.debugMode = 1;
    rig.session.chosen.btPin = L"0000";
    EXPECT_EQ(engine::AuthenticateBluetooth(rig.app, rig.session.chosen), winerr::NoMoreItems);
    EXPECT_TRUE(engine::PairBluetoothPrinter(rig.ctx));
    EXPECT_EQ(rig.pinsTried(), (std::vector<std::wstring>{L"0000", L"0000"}));
}

TEST(BluetoothPairing, TimeOutsAreRetriedAfterAPauseUpToTwentyAttemptsPerPin) {
    struct Case {
        int timeouts;
        std::vector<std::wstring> tried; // one entry per series
        int retriesOfFirstPin;
    };
    // 20 time-outs use up the first PIN's series; the second PIN's first attempt gets through.
    const Case cases[] = {{3, {L"0000"}, 3}, {20, {L"0000", L"1234"}, 20}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.timeouts);
        BluetoothRig rig(sim::Json{{"pin", c.timeouts == 20 ? "1234" : "0000"}, {"timeouts", c.timeouts}});
        rig.app.debugMode = 1;
        EXPECT_TRUE(engine::PairBluetoothPrinter(rig.ctx));
        EXPECT_EQ(rig.pinsTried(), c.tried);
        EXPECT_TRUE(rig.logged(L"Retry times: " + std::to_wstring(c.retriesOfFirstPin)));
        EXPECT_FALSE(rig.logged(L"Retry times: " + std::to_wstring(c.retriesOfFirstPin + 1)));
        const auto sleeps = rig.clock.sleeps();
        EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), engine::kBluetoothRetryPauseMs),
                  c.retriesOfFirstPin);
    }
}

TEST(BluetoothPairing, EachAuthenticationMethodGetsItsAnswer) {
    struct Case {
        const char* method;
        std::uint32_t number;
        ports::Status result;
    };
    const Case cases[] = {
        {"legacy", 0, winerr::Success},
        {"numericComparison", 0, winerr::Success}, // the number is confirmed as shown
        {"passkey", 0, winerr::NotAuthenticated},  // answered with zeros: not the printer's passkey
        {"oob", 0, winerr::Success},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method);
        BluetoothRig rig(sim::Json{{"authMethod", c.method}, {"pin", "0000"}});
        rig.app.debugMode = 1;
        rig.session.chosen.btPin = L"0000";
        EXPECT_EQ(engine::AuthenticateBluetooth(rig.app, rig.session.chosen), c.result);
        EXPECT_EQ(rig.session.chosen.btInfo.authenticated, c.result == winerr::Success);
        const std::wstring name =
            std::string(c.method) == "legacy" ? L"BLUETOOTH_AUTHENTICATION_METHOD_LEGACY"
            : std::string(c.method) == "numericComparison"
                ? L"BLUETOOTH_AUTHENTICATION_METHOD_NUMERIC_COMPARISON"
            : std::string(c.method) == "passkey" ? L"BLUETOOTH_AUTHENTICATION_METHOD_PASSKEY"
                                                 : L"BLUETOOTH_AUTHENTICATION_METHOD_OOB";
        EXPECT_TRUE(rig.logged(L"authMethod = " + name));
        EXPECT_TRUE(rig.logged(L"callback exit, password=0000."));
    }
    EXPECT_EQ(engine::AuthenticationMethodName(9), L"Unknow");
}

TEST(BluetoothPairing, WithoutTheAuthenticationFunctionsEveryAttemptGives632AndNothingIsPaired) {
    BluetoothRig rig;
    rig.machine.machine().write([](sim::Json& s) { s["bluetooth"]["authenticationFunctions"] = false; });
    rig.ctx.askBluetoothPin = nullptr;
    EXPECT_FALSE(engine::InstallBluetoothPrinter(rig.ctx));
    EXPECT_FALSE(rig.paired());
    const auto red = rig.lastRed();
    ASSERT_TRUE(red);
    EXPECT_TRUE(red->text.starts_with(L"Bluetooth authentication error.\r\n Reason1(632)="));
    EXPECT_EQ(rig.driver(rig.drivers(), engine_test::kPlainModel), nullptr);
}

TEST(BluetoothInstall, PairsFindsTheComPortInstallsAndTagsTheQueue) {
    BluetoothRig rig;
    rig.unpackPackage(1);
    ASSERT_TRUE(engine::InstallBluetoothPrinter(rig.ctx));
    ASSERT_TRUE(rig.paired());
    const std::wstring port = sim::wide(rig.device()["comPort"].get<std::string>()) + L":";
    EXPECT_TRUE(port.starts_with(L"COM")) << sim::u8(port);
    EXPECT_EQ(rig.session.chosen.portName, port);
    const auto messages = rig.messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), (LogMessage{kPaired, msglog::kBlue}));
    EXPECT_FALSE(rig.lastRed()) << rig.lastRed()->text;

    PrinterHandle printer;
    ASSERT_TRUE(openPrinter(rig.app, printer, L"Label printer (Bluetooth)"));
    ports::PrinterInfo2 info;
    ASSERT_TRUE(getPrinterInfo2(rig.app, printer, info));
    EXPECT_EQ(info.portName, port);
    EXPECT_EQ(info.driverName, engine_test::kPlainModel);
    for (const auto& [name, value] : {std::pair{L"DeviceType", std::wstring(L"Bluetooth")},
                                      std::pair{L"BluetoothAddress", std::wstring(kAddressText)}}) {
        ports::RegValue data;
        ASSERT_EQ(rig.spooler().getPrinterData(printer, engine::kPrinterDriverDataKey, name, data),
                  winerr::Success);
        EXPECT_EQ(data.type, ports::regtype::Sz);
        EXPECT_EQ(data.bytes, ports::RegValue::fromString(value).bytes); // no terminating NUL
    }
}

TEST(BluetoothInstall, TheDispatchRunsItForTheBluetoothPortType) {
    BluetoothRig rig;
    rig.unpackPackage(1);
    bool closed = false;
    {
        engine::CThreadOperation op(rig.ctx, engine::OperationRoutines::real(), [&] { closed = true; });
        ASSERT_TRUE(op.start());
        op.join();
        EXPECT_TRUE(op.succeeded());
    }
    EXPECT_TRUE(closed);
    EXPECT_TRUE(rig.paired());
}

TEST(BluetoothInstall, AComPortTheSpoolerSeesOnlyAfterARestartIsFoundAfterOneRestart) {
    BluetoothRig rig(sim::Json{{"spoolerSeesPortAtOnce", false}});
    rig.app.debugMode = 1;
    ASSERT_TRUE(engine::PairBluetoothPrinter(rig.ctx));
    ASSERT_TRUE(engine::EnableSerialService(rig.app, rig.session.chosen));
    const std::wstring port = sim::wide(rig.device()["comPort"].get<std::string>());
    EXPECT_FALSE(engine::SpoolerHasPort(rig.app, port));
    EXPECT_TRUE(engine::FindBluetoothComPort(rig.app, rig.session.chosen));
    EXPECT_EQ(rig.session.chosen.portName, port);
    EXPECT_TRUE(rig.logged(L"i can't find bluetooth serial port, now i will try again."));
    EXPECT_TRUE(engine::SpoolerHasPort(rig.app, port));
    EXPECT_FALSE(engine::SpoolerHasPort(rig.app, text::toLower(port))); // the comparison is exact
}

TEST(BluetoothInstall, SerialServiceAndComPortFailuresEndTheInstallationWithTheirMessage) {
    struct Case {
        const char* operation;
        ports::Status code;
        std::wstring format; // empty: the port-not-found message
    };
    const Case cases[] = {
        {"BluetoothSetServiceState", winerr::AccessDenied,
         L"启用蓝牙串口服务失败. 错误码: %d. 错误描述: %s."},
        {"BluetoothEnumerateInstalledServices", winerr::NotFound,
         L"枚举蓝牙服务失败. 错误码: %d. 错误描述: %s."},
        {"SetupDiGetClassDevsW", winerr::InvalidParameter, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.operation);
        BluetoothRig rig;
        rig.unpackPackage(1);
        // The first services listing runs before any enabling: let it pass, fail the second.
        if (std::string(c.operation) == "BluetoothEnumerateInstalledServices")
            rig.machine.machine().write([](sim::Json& s) {
                s["bluetooth"]["devices"][0]["services"] = {"{00001101-0000-1000-8000-00805F9B34FB}"};
                s["bluetooth"]["devices"][0]["paired"] = true;
            });
        rig.fail(c.operation, c.code, 3);
        EXPECT_FALSE(engine::InstallBluetoothPrinter(rig.ctx));
        const std::wstring expected =
            c.format.empty() ? std::wstring(kNoPort)
                             : text::format(c.format, static_cast<int>(c.code), rig.errorText(c.code));
        EXPECT_EQ(rig.lastRed(), (LogMessage{expected, msglog::kRed}));
        // nothing of the driver or queue once the port is missing
        EXPECT_EQ(rig.driver(rig.drivers(), engine_test::kPlainModel), nullptr);
    }
}

} // namespace
