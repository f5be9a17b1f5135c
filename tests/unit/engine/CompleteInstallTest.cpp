// Whole installations as the summary page runs them, one per connection: the package unpacked from
// a skin archive, the operation thread with the real routines (the simulated device-console tool as
// a child process for USB), then the finishing step; the machine's state and the message log are
// checked afterwards.
#include "app/skin/SkinArchive.h"
#include "engine/install/PrinterQueue.h"
#include "engine/operation/RunOperations.h"
#include "unit/engine/InstallRig.h"
#include "unit/engine/PackageArchive.h"

namespace {

using engine_test::blue;
using engine_test::InstallRig;
using engine_test::red;
using msglog::LogMessage;
namespace winerr = ports::winerr;

using engine_test::packageArchive;

class CompleteInstall : public ::testing::Test {
protected:
    CompleteInstall() {
        zip = testing_support::buildZip(packageArchive());
        EXPECT_EQ(skin.open(zip), winerr::Success);
        rig.session.setupMode = 0;
    }
    void choose(std::int32_t portType, const wchar_t* model, std::wstring port = L"") {
        rig.session.portType = portType;
        rig.session.chosen.driverNode = rig.model(model);
        rig.session.chosen.modelName = model;
        rig.session.chosen.printerName = L"Shop label printer";
        rig.session.chosen.portName = std::move(port);
    }
    // The summary page's sequence: the operation, then the finishing step when it succeeded.
    bool install(bool setAsDefault = true) {
        engine::WaitingProgressWindow window;
        const bool ok = engine::RunInstallOperation(rig.ctx, skin, packageFolder, window);
        if (ok)
            engine::FinishInstalledPrinter(rig.ctx, setAsDefault);
        return ok;
    }
    std::optional<ports::PrinterInfo2> printer(std::wstring_view name) {
        std::vector<ports::PrinterInfo2> list;
        EXPECT_EQ(rig.spooler().enumPrinters2(ports::spool::EnumLocal, list), winerr::Success);
        for (auto& p : list)
            if (p.printerName == name)
                return p;
        return std::nullopt;
    }
    std::optional<ports::PortInfo2> port(std::wstring_view name) {
        std::vector<ports::PortInfo2> list;
        EXPECT_EQ(rig.spooler().enumPorts2(list), winerr::Success);
        for (auto& p : list)
            if (p.portName == name)
                return p;
        return std::nullopt;
    }
    std::wstring defaultPrinter() {
        std::wstring name;
        EXPECT_EQ(rig.spooler().getDefaultPrinter(name), winerr::Success);
        return name;
    }

    InstallRig rig;
    std::vector<std::uint8_t> zip;
    SkinArchive skin;
    std::wstring packageFolder;
};

// A printer behind a Bluetooth adapter is a USB printer to the system: it takes the same road.
class CompleteUsbInstall : public CompleteInstall, public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(CompleteUsbInstall, UsbPrinterGetsItsDriverFromTheToolAndTheSystemsQueueIsRenamed) {
    choose(GetParam(), engine_test::kMonitorModel);
    ASSERT_TRUE(install());
    EXPECT_EQ(packageFolder, engine_test::kPackage);
    const auto queue = printer(L"Shop label printer");
    ASSERT_TRUE(queue);
    EXPECT_EQ(queue->driverName, L"JN-2203T-S");
    EXPECT_EQ(queue->portName, L"USB001");
    EXPECT_FALSE(printer(L"JN-2203T-S"));
    EXPECT_EQ(defaultPrinter(), L"Shop label printer");
    EXPECT_EQ(rig.messages(), (std::vector<LogMessage>{blue(L"安装打印机驱动成功: JN-2203T-S. "),
                                                       blue(L"已设置为默认打印机.")}));
}

INSTANTIATE_TEST_SUITE_P(UsbOrAdapter, CompleteUsbInstall,
                         ::testing::Values(port_type::Usb, port_type::BluetoothAdapter));

TEST_F(CompleteInstall, NetworkPrinterGetsPortDriverAndQueue) {
    choose(1, engine_test::kPlainModel, L"IP_192.168.1.200");
    rig.session.chosen.ipAddress = L"192.168.1.200";
    ASSERT_TRUE(install(false));
    const auto p = port(L"IP_192.168.1.200");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->monitorName, L"TCPMON.DLL");
    ASSERT_TRUE(rig.driver(rig.drivers(), L"JN-2232T"));
    const auto queue = printer(L"Shop label printer");
    ASSERT_TRUE(queue);
    EXPECT_EQ(queue->portName, L"IP_192.168.1.200");
    EXPECT_EQ(queue->driverName, L"JN-2232T");
    EXPECT_EQ(queue->location, std::wstring());
    EXPECT_EQ(rig.session.chosen.modelName, L"Shop label printer");
    EXPECT_EQ(rig.messages(), (std::vector<LogMessage>{blue(L"安装打印机驱动成功: JN-2232T. "),
                                                       blue(L"添加打印机成功: Shop label printer. ")}));
}

TEST_F(CompleteInstall, NetworkDriverFailureTakesTheNewPortAway) {
    choose(1, engine_test::kPlainModel, L"IP_192.168.1.200");
    rig.session.chosen.ipAddress = L"192.168.1.200";
    rig.fail("UploadPrinterDriverPackageW", 0x80070005);
    EXPECT_FALSE(install());
    EXPECT_FALSE(port(L"IP_192.168.1.200"));
    EXPECT_FALSE(printer(L"Shop label printer"));
    const auto messages = rig.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].colour, msglog::kRed);
}

TEST_F(CompleteInstall, PrinterOnAnExistingPortOfEachKind) {
    struct Case {
        std::int32_t portType;
        const wchar_t* port;
    };
    for (const auto& c : {Case{4, L"LPT1:"}, Case{5, L"COM1:"}, Case{6, L"FILE:"}}) {
        SCOPED_TRACE(c.portType);
        rig.log.clear();
        choose(c.portType, engine_test::kPlainModel, c.port);
        rig.session.chosen.printerName = std::wstring(L"Label on ") + c.port;
        ASSERT_TRUE(install(false));
        const auto queue = printer(std::wstring(L"Label on ") + c.port);
        ASSERT_TRUE(queue);
        EXPECT_EQ(queue->portName, c.port);
        EXPECT_EQ(rig.messages().back(), blue(L"添加打印机成功: Label on " + std::wstring(c.port) + L". "));
    }
    const auto ports = rig.drivers();
    EXPECT_TRUE(rig.driver(ports, L"JN-2232T"));
}

// The demo machine's Bluetooth printer in range, paired with the first PIN of the policy: its serial
// port's COM port carries the queue, which is tagged as a Bluetooth printer and made the default.
TEST_F(CompleteInstall, BluetoothPrinterIsPairedAndGetsAQueueOnItsComPort) {
    choose(port_type::Bluetooth, engine_test::kPlainModel);
    rig.session.chosen.btInfo.address = 0xDC0D30A1B2C3;
    rig.session.chosen.btInfo.name = L"TV-B58";
    rig.session.chosen.btInfo.classOfDevice = 0x040680;
    rig.session.chosen.btAddress = L"DC0D30A1B2C3";
    int asked = 0;
    rig.ctx.askBluetoothPin = [&](std::wstring&) {
        ++asked;
        return false;
    };
    ASSERT_TRUE(install());
    EXPECT_EQ(asked, 0);
    const auto device =
        rig.machine.machine().read([](const sim::Json& s) { return s["bluetooth"]["devices"][0]; });
    EXPECT_TRUE(device.value("paired", false));
    const std::wstring comPort = sim::wide(device.value("comPort", std::string())) + L":";
    const auto queue = printer(L"Shop label printer");
    ASSERT_TRUE(queue);
    EXPECT_TRUE(comPort.starts_with(L"COM")) << sim::u8(comPort);
    EXPECT_EQ(queue->portName, comPort);
    EXPECT_EQ(queue->driverName, L"JN-2232T");
    EXPECT_TRUE(rig.driver(rig.drivers(), L"JN-2232T"));
    EXPECT_EQ(defaultPrinter(), L"Shop label printer");
    const auto messages = rig.messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), blue(L"蓝牙配对成功."));
    EXPECT_EQ(messages.back(), blue(L"已设置为默认打印机."));
    for (const auto& m : messages)
        EXPECT_NE(m.colour, msglog::kRed) << sim::u8(m.text);
}

TEST_F(CompleteInstall, QueueOnAPortThatDoesNotExistFailsWithTheSpoolersReason) {
    choose(5, engine_test::kPlainModel, L"COM9:");
    EXPECT_FALSE(install());
    const auto messages = rig.messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), red(text::format(L"添加打印机: %s. 失败. 错误码: %d. 错误描述: %s.",
                                                L"Shop label printer", 1796, rig.errorText(1796))));
}

} // namespace
