// The USB scan on the simulated machine: printers plugged in and pulled out between ticks, the
// model found through the catalogue, the port-type filter, the installed check against the queues'
// data, and the family whose model comes from the name the printer reports.
#include "app/AppContext.h"
#include "app/SetupSession.h"
#include "catalogue/LoadXmlResource.h"
#include "discovery/usb/UsbNameRules.h"
#include "discovery/usb/UsbPrinterScan.h"
#include "discovery/usb/UsbSearchTick.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using sim::Json;

constexpr char kInterface[] = "{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}";

// A USB printer: the USB device with the printer interface and its USBPRINT child.
struct UsbPrinter {
    std::string usbId;      // "USB\\VID_3A5C&PID_0203\\SERIAL"
    std::string printId;    // "USBPRINT\\...\\7&...&USB001"
    std::string hardwareId; // the child's first hardware ID
    std::string usbName = {};
};

Json nodesOf(const UsbPrinter& p, bool present) {
    Json usb = {{"instanceId", p.usbId},
                {"class", "USB"},
                {"service", "usbprint"},
                {"present", present},
                {"interfaces", Json::array({kInterface})}};
    if (!p.usbName.empty())
        usb["usbName"] = p.usbName;
    Json child = {{"instanceId", p.printId},
                  {"parent", p.usbId},
                  {"present", present},
                  {"hardwareIds", Json::array({p.hardwareId})},
                  {"problem", 28}};
    return Json::array({usb, child});
}

const UsbPrinter kJn2203{"USB\\VID_3A5C&PID_0203\\JN2203TS0001",
                         "USBPRINT\\CorvaneExJN-2203T-S50F3\\7&3A1F2C4B&0&USB001",
                         "USBPRINT\\CorvaneExJN-2203T-S50F3"};
const UsbPrinter kJn3315Adapter{"USB\\VID_3A5C&PID_0315\\JN3315BA0001",
                                "USBPRINT\\CorvaneExJN-3315T-BAE942\\7&11AA22BB&0&USB002",
                                "USBPRINT\\CorvaneExJN-3315T-BAE942"};
const UsbPrinter kUnknown{"USB\\VID_1234&PID_5678\\X1", "USBPRINT\\SomeoneElse_9999\\7&1&0&USB003",
                          "USBPRINT\\SomeoneElse_9999"};

Json machineWith(const std::vector<UsbPrinter>& printers) {
    Json state = sim::demoMachineState();
    Json nodes = Json::array();
    for (const auto& p : printers)
        for (auto& n : nodesOf(p, true))
            nodes.push_back(n);
    state["devices"]["nodes"] = nodes;
    return state;
}

class UsbScan : public ::testing::Test {
protected:
    explicit UsbScan(Json state = machineWith({kJn2203, kJn3315Adapter, kUnknown}))
        : machine(std::move(state)) {
        catalogue::LoadXmlResource(testing_support::programResources(), machine.platform().system(), 131,
                                   catalogueDoc);
        session.manufacturer.Name = L"CorvaneEx";
        ctx.logFile = [this](std::wstring_view line) { logLines.emplace_back(line); };
    }

    void scan() { discovery::ScanUsbPrinters({ctx, catalogueDoc, session}); }

    // Plugs a printer in or pulls it out, as another process editing the shared state would.
    void setPresent(const UsbPrinter& p, bool present) {
        machine.machine().write([&](Json& s) {
            for (auto& n : s["devices"]["nodes"])
                if (n["instanceId"] == p.usbId || n["instanceId"] == p.printId)
                    n["present"] = present;
        });
    }

    std::vector<std::wstring> models() const {
        std::vector<std::wstring> out;
        for (const auto& e : session.devices)
            out.push_back(e.modelName);
        return out;
    }

    testing_support::TestMachine machine;
    app::AppContext ctx{.platform = machine.platform()};
    catalogue::XmlDocument catalogueDoc;
    SetupSession session;
    std::vector<std::wstring> logLines;
};

TEST_F(UsbScan, FindsThePrinterWithItsIdentitiesAndLogsWhatItFound) {
    session.portType = port_type::Usb;
    scan();
    ASSERT_EQ(session.devices.size(), 1u);
    const auto& e = session.devices[0];
    EXPECT_EQ(e.modelName, L"JN-2203T-S");
    EXPECT_FALSE(e.driverNode.empty());
    EXPECT_EQ(e.usbDeviceId, L"USB\\VID_3A5C&PID_0203\\JN2203TS0001");
    EXPECT_EQ(e.printDeviceId, L"USBPRINT\\CorvaneExJN-2203T-S50F3\\7&3A1F2C4B&0&USB001");
    EXPECT_EQ(e.hardwareId, L"USBPRINT\\CorvaneExJN-2203T-S50F3");
    EXPECT_EQ(e.vid, L"3A5C");
    EXPECT_EQ(e.pid, L"0203");
    EXPECT_EQ(e.portName, L"USB001");
    EXPECT_EQ(e.devicePath.rfind(L"\\\\?\\", 0), 0u) << "an interface path";
    EXPECT_EQ(e.installed, 0);
    EXPECT_TRUE(session.devices.listChanged);
    const std::wstring line = L"Find printer, HardWareID=USBPRINT\\CorvaneExJN-2203T-S50F3, sPortName=USB001";
    EXPECT_NE(std::find(logLines.begin(), logLines.end(), line), logLines.end());
}

TEST_F(UsbScan, PortTypeDecidesWhetherBluetoothAdaptersAreListed) {
    struct Case {
        std::int32_t portType;
        std::vector<std::wstring> models;
    };
    const Case cases[] = {
        {port_type::Usb, {L"JN-2203T-S"}},
        {port_type::BluetoothAdapter, {L"JN-3315T-BA"}},
        {port_type::Custom, {L"JN-2203T-S", L"JN-3315T-BA"}},
        {port_type::Parallel, {L"JN-2203T-S", L"JN-3315T-BA"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.portType);
        session.devices.clear();
        session.portType = c.portType;
        scan();
        EXPECT_EQ(models(), c.models);
    }
}

TEST_F(UsbScan, PlugPullAndReplugKeepTheListCurrentAndInOrder) {
    session.portType = port_type::Custom;
    scan();
    ASSERT_EQ(models(), (std::vector<std::wstring>{L"JN-2203T-S", L"JN-3315T-BA"}));

    session.devices.listChanged = false;
    session.devices[0].installed = 1; // stale: the next scan refreshes it
    scan();
    EXPECT_FALSE(session.devices.listChanged) << "the same printers again change nothing";
    EXPECT_EQ(models(), (std::vector<std::wstring>{L"JN-2203T-S", L"JN-3315T-BA"}));
    EXPECT_EQ(session.devices[0].installed, 0);

    setPresent(kJn2203, false);
    scan();
    EXPECT_TRUE(session.devices.listChanged);
    EXPECT_EQ(models(), (std::vector<std::wstring>{L"JN-3315T-BA"}));

    session.devices.listChanged = false;
    setPresent(kJn2203, true);
    scan();
    EXPECT_TRUE(session.devices.listChanged);
    EXPECT_EQ(models(), (std::vector<std::wstring>{L"JN-3315T-BA", L"JN-2203T-S"}))
        << "re-plugged: at the end";
}

TEST_F(UsbScan, WithoutTheDeviceSetTheListStaysAsItWas) {
    session.portType = port_type::Usb;
    scan();
    ASSERT_EQ(session.devices.size(), 1u);
    machine.machine().write([](Json& s) {
        s["faults"] = Json::array({{{"operation", "SetupDiGetClassDevsW"}, {"code", 8}}});
    });
    session.devices.listChanged = false;
    scan();
    EXPECT_EQ(session.devices.size(), 1u);
    EXPECT_FALSE(session.devices.listChanged);
    ASSERT_FALSE(logLines.empty());
    EXPECT_EQ(logLines.back().rfind(L"SetupDiGetClassDevs, err=8, ", 0), 0u)
        << std::string(logLines.back().begin(), logLines.back().end());
}

TEST_F(UsbScan, ADeviceThatCannotBeReadIsPassedOverAndTheNextOneStillListed) {
    session.portType = port_type::Custom;
    machine.machine().write([](Json& s) {
        s["faults"] = Json::array({{{"operation", "SetupDiGetDeviceInterfaceDetailW"}, {"code", 2}}});
    });
    scan();
    EXPECT_EQ(models(), (std::vector<std::wstring>{L"JN-3315T-BA"}));
    for (const auto& e : session.devices)
        EXPECT_FALSE(e.printDeviceId.empty());
}

// Installed check: a local queue names the device in its Plug and Play data, or carries its
// hardware ID on its USB port with a driver.
TEST_F(UsbScan, InstalledCheckFollowsTheQueuesPlugAndPlayData) {
    struct Case {
        const char* what;
        Json data;
        std::string port;
        bool installed;
    };
    const auto pnp = [](const char* key, const char* value) {
        return Json{{key, {{"type", "REG_SZ"}, {"value", value}}}};
    };
    // What the spooler keeps in step with a queue's driver and port.
    const auto ds = [](const char* driver, const char* port) {
        return Json{{"driverName", {{"type", "REG_SZ"}, {"value", driver}}},
                    {"portName", {{"type", "REG_SZ"}, {"value", port}}}};
    };
    const Case cases[] = {
        {"instance ID on another port",
         {{"PnPData", pnp("DeviceInstanceId", "USBPRINT\\CorvaneExJN-2203T-S50F3\\7&3A1F2C4B&0&USB001")}},
         "FILE:",
         true},
        {"hardware ID on the device's port",
         {{"PnPData", pnp("HardWareID", "PRINTENUM\\CorvaneExJN-2203T-S50F3")},
          {"DsSpooler", ds("JN", "USB001")}},
         "USB001",
         true},
        {"hardware ID on the device's port, no driver name",
         {{"PnPData", pnp("HardWareID", "PRINTENUM\\CorvaneExJN-2203T-S50F3")},
          {"DsSpooler", ds("", "USB001")}},
         "USB001",
         false},
        {"hardware ID on another port",
         {{"PnPData", pnp("HardWareID", "PRINTENUM\\CorvaneExJN-2203T-S50F3")},
          {"DsSpooler", ds("JN", "USB002")}},
         "USB002",
         false},
        {"USBPRINT form of the hardware ID",
         {{"PnPData", pnp("HardWareID", "USBPRINT\\CorvaneExJN-2203T-S50F3")},
          {"DsSpooler", ds("JN", "USB001")}},
         "USB001",
         false},
        {"no Plug and Play data", Json::object(), "USB001", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::TestMachine m(machineWith({kJn2203}));
        m.machine().write([&](Json& s) {
            Json printer = {{"name", "Label"}, {"port", c.port}, {"driver", "Microsoft Print To PDF"}};
            printer["data"] = c.data;
            s["spooler"]["printers"].push_back(printer);
        });
        PrinterEntry e;
        e.printDeviceId = L"USBPRINT\\CorvaneExJN-2203T-S50F3\\7&3A1F2C4B&0&USB001";
        e.hardwareId = L"USBPRINT\\CorvaneExJN-2203T-S50F3";
        e.portName = L"USB001";
        EXPECT_EQ(discovery::UpdateInstalledFlag(m.platform().spooler(), e), c.installed);
        EXPECT_EQ(e.installed, c.installed ? 1 : 0);
    }
}

// The family that shares three hardware IDs: listed only on the custom route, once for every model
// of the mode named like the model its reported name gives.
TEST(UsbScanFamily, ListedByTheNameItReportsOnlyOnTheCustomRoute) {
    const UsbPrinter b58{"USB\\VID_4B43&PID_3538\\TV01", "USBPRINT\\Tovana_A6B36A\\7&2&0&USB004",
                         "USBPRINT\\Tovana_A6B36A", "TV-B58S"};
    const UsbPrinter silent{"USB\\VID_4B43&PID_3538\\TV02", "USBPRINT\\Tovana_A877EB\\7&3&0&USB005",
                            "USBPRINT\\Tovana_A877EB"};
    testing_support::TestMachine machine(machineWith({b58, silent}));
    app::AppContext ctx{.platform = machine.platform()};
    std::vector<std::wstring> lines;
    ctx.logFile = [&](std::wstring_view l) { lines.emplace_back(l); };
    catalogue::XmlDocument doc;
    catalogue::LoadXmlResource(testing_support::programResources(), machine.platform().system(), 131, doc);
    SetupSession session;
    session.manufacturer.Name = L"Tovana";

    for (auto portType : {port_type::Usb, port_type::BluetoothAdapter}) {
        session.portType = portType;
        discovery::ScanUsbPrinters({ctx, doc, session});
        EXPECT_TRUE(session.devices.empty()) << portType;
    }
    session.portType = port_type::Custom;
    discovery::ScanUsbPrinters({ctx, doc, session});
    ASSERT_EQ(session.devices.size(), 1u) << "the silent printer has no name and no model";
    EXPECT_EQ(session.devices[0].modelName, L"TV-B58S");
    EXPECT_EQ(session.devices[0].portName, L"USB004");
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"GetBluetoothName: TV-B58S"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"GetBluetoothName: "), lines.end());
}

TEST(UsbNameRules, FirstRuleThatAppliesWins) {
    struct Case {
        std::wstring_view name;
        std::optional<std::wstring> model;
    };
    const Case cases[] = {
        {L"TV-B58Pro", L"TV-B58Pro"},       // exact
        {L"TV-B58Pro ", std::nullopt},      // exact means the whole name
        {L"My Q50Plus 2", L"TV-Q50Plus"},   // contains, before the shorter Q50
        {L"Q50-1", L"TV-Q50"},              //
        {L"TV-D30C", L"TV-D30C"},           // exact before the contains rule for D30
        {L"TV-D30CX", L"TV-D30"},           // not the exact name: the contains rule
        {L"tv-b58", std::nullopt},          // case-sensitive
        {L"B80_BT", L"TV-B80"},             // several names give one model
        {L"Tovana_XYZ", L"TV-M58"},         // the family's base model
        {L"", std::nullopt},                //
        {L"Another printer", std::nullopt}, //
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
        EXPECT_EQ(discovery::MapBluetoothNameToModel(c.name), c.model);
    }
    EXPECT_TRUE(discovery::IsNameIdentifiedHardwareId(L"USBPRINT\\Tovana_A773AB"));
    EXPECT_FALSE(discovery::IsNameIdentifiedHardwareId(L"usbprint\\tovana_a773ab"));
}

// The tick by port type, with pages that record what they were told.
TEST_F(UsbScan, SearchTickMovesBetweenTheSearchAndModelPages) {
    std::vector<std::string> calls;
    discovery::UsbSearchPages pages{[&] { calls.push_back("model"); }, [&] { calls.push_back("search"); },
                                    [&] { calls.push_back("refresh"); },
                                    [&] { calls.push_back("refresh custom"); }};
    const discovery::UsbScanContext scanCtx{ctx, catalogueDoc, session};

    session.portType = port_type::Usb;
    discovery::EnterSearch(scanCtx, pages);
    EXPECT_EQ(calls, (std::vector<std::string>{"model", "refresh"}));
    EXPECT_FALSE(session.devices.listChanged);

    calls.clear();
    setPresent(kJn2203, false);
    discovery::SearchTick(scanCtx, pages);
    EXPECT_EQ(calls, (std::vector<std::string>{"search", "refresh"})) << "the list became empty";

    calls.clear();
    session.portType = port_type::Custom;
    discovery::SearchTick(scanCtx, pages);
    EXPECT_EQ(calls, (std::vector<std::string>{"refresh custom"}));

    calls.clear();
    session.portType = port_type::Serial;
    discovery::SearchTick(scanCtx, pages);
    EXPECT_TRUE(calls.empty());
}

} // namespace
