// The simulated Plug and Play tree: the USB printer as the wizard's scan walks it, the device-console
// work (update, remove, rescan) and the printer's answer to the name query.
#include "SimTestPackage.h"
#include "support/TestMachine.h"

#include "platform/sim/SimClock.h"
#include "platform/sim/SimJson.h"

#include <gtest/gtest.h>

namespace {

using testing_support::TestMachine;
namespace winerr = ports::winerr;
namespace cr = ports::cr;
namespace digcf = ports::digcf;

constexpr wchar_t kUsb[] = L"USB\\VID_3A5C&PID_0203\\JN2203TS0001";
constexpr wchar_t kPrinterNode[] = L"USBPRINT\\CorvaneExJN-2203T-S50F3\\7&3A1F2C4B&0&USB001";
constexpr wchar_t kHardwareId[] = L"USBPRINT\\CorvaneExJN-2203T-S50F3";

class SimDeviceTreeTest : public ::testing::Test {
protected:
    ports::DeviceTree& dt() { return m.platform().devices(); }
    std::wstring idOf(ports::DevInst node) {
        std::wstring id;
        EXPECT_EQ(dt().getDeviceId(node, id), cr::Success);
        return id;
    }
    ports::DevInst locate(std::wstring_view id, std::uint32_t flags = ports::cmflag::LocatePhantom) {
        ports::DevInst node = 0;
        return dt().locateDevNode(id, flags, node) == cr::Success ? node : 0;
    }
    // A stale printer device of the same model on USB002, no longer plugged in.
    void addStaleDevice() {
        m.machine().write([](sim::Json& s) {
            s["devices"]["nodes"].push_back(
                {{"instanceId", "USBPRINT\\CorvaneExJN-2203T-S50F3\\7&99&0&USB002"},
                 {"parent", "USB\\VID_3A5C&PID_0203\\OLD0002"},
                 {"present", false},
                 {"class", "Printer"},
                 {"hardwareIds", {"USBPRINT\\CorvaneExJN-2203T-S50F3"}}});
        });
    }
    TestMachine m;
};

TEST_F(SimDeviceTreeTest, TheUsbPrinterIsFoundAsTheScanWalksTheTree) {
    ports::DeviceInfoSet set;
    ASSERT_EQ(dt().getClassDevs(ports::guids::DevInterfaceUsbPrint, L"",
                                digcf::Present | digcf::DeviceInterface, set),
              winerr::Success);
    ports::DeviceInterfaceData iface;
    ASSERT_EQ(dt().enumDeviceInterfaces(set, ports::guids::DevInterfaceUsbPrint, 0, iface), winerr::Success);
    EXPECT_EQ(iface.flags, 1u); // active
    std::wstring path, instance;
    ports::DeviceInfoData device;
    ASSERT_EQ(dt().getDeviceInterfaceDetail(set, iface, path, device), winerr::Success);
    EXPECT_EQ(path, L"\\\\?\\USB#VID_3A5C&PID_0203#JN2203TS0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}");
    EXPECT_EQ(device.classGuid, ports::guids::DevClassUsb);
    ASSERT_EQ(dt().getDeviceInstanceId(set, device, instance), winerr::Success);
    EXPECT_EQ(instance, kUsb);
    ports::DevInst child = 0;
    ASSERT_EQ(dt().getChild(device.devInst, child), cr::Success);
    EXPECT_EQ(idOf(child), kPrinterNode);
    ports::RegValue ids;
    ASSERT_EQ(dt().getDevNodeRegistryProperty(child, ports::cmDrp(ports::spdrp::HardwareId), ids),
              cr::Success);
    EXPECT_EQ(ids.type, ports::regtype::MultiSz);
    EXPECT_EQ(ids.asMultiString().at(0), kHardwareId);
    EXPECT_EQ(dt().enumDeviceInterfaces(set, ports::guids::DevInterfaceUsbPrint, 1, iface),
              winerr::NoMoreItems);
    // Without a driver yet it has a problem.
    std::uint32_t status = 0, problem = 0;
    ASSERT_EQ(dt().getDevNodeStatus(child, status, problem), cr::Success);
    EXPECT_EQ(problem, 28u);
}

TEST_F(SimDeviceTreeTest, UpdateInstallsTheDriverAndWindowsMakesTheQueueWithItsPnPData) {
    addStaleDevice();
    ASSERT_EQ(sim_test::writePackage(m.platform().files()), winerr::Success);
    bool reboot = true;
    ASSERT_EQ(dt().updateDriverForPlugAndPlayDevices(0, kHardwareId, sim_test::kPackageInf,
                                                     ports::InstallFlagForce, reboot),
              winerr::Success);
    EXPECT_FALSE(reboot);

    auto& sp = m.platform().spooler();
    std::vector<ports::PrinterInfo2> printers;
    ASSERT_EQ(sp.enumPrinters2(ports::spool::EnumLocal, printers), winerr::Success);
    ASSERT_EQ(printers.size(), 2u); // one queue: the stale device gets none
    const auto& q = printers[1];
    EXPECT_EQ(q.printerName, L"JN-2203T-S");
    EXPECT_EQ(q.driverName, L"JN-2203T-S");
    EXPECT_EQ(q.portName, L"USB001");
    ports::SpoolerHandle h;
    ASSERT_EQ(sp.openPrinter(q.printerName, ports::spool::PrinterAccessUse, h), winerr::Success);
    ports::RegValue v;
    ASSERT_EQ(sp.getPrinterData(h, L"PnPData", L"DeviceInstanceId", v), winerr::Success);
    EXPECT_EQ(v.asString(), kPrinterNode);
    ASSERT_EQ(sp.getPrinterData(h, L"PnPData", L"HardWareID", v), winerr::Success);
    EXPECT_EQ(v.asString(), L"PRINTENUM\\CorvaneExJN-2203T-S50F3");
    ASSERT_EQ(sp.getPrinterData(h, L"DsSpooler", L"driverName", v), winerr::Success);
    EXPECT_EQ(v.asString(), L"JN-2203T-S");
    std::vector<ports::DriverInfo> drivers;
    ASSERT_EQ(sp.enumDrivers(L"Windows x64", 8, drivers), winerr::Success);
    EXPECT_TRUE(drivers.back().infPath.value_or(L"").starts_with(L"C:\\Windows\\System32\\DriverStore\\"));

    // The printer device now has its driver, and under it the queue's software device.
    ports::DevInst printer = locate(kPrinterNode);
    ports::RegValue cls;
    ASSERT_EQ(dt().getDevNodeRegistryProperty(printer, ports::cmDrp(ports::spdrp::Class), cls), cr::Success);
    EXPECT_EQ(cls.asString(), L"Printer");
    ports::DeviceInfoSet swd;
    ASSERT_EQ(dt().getClassDevs(std::nullopt, L"SWD", digcf::AllClasses, swd), winerr::Success);
    ports::DeviceInfoData queue;
    ASSERT_EQ(dt().enumDeviceInfo(swd, 0, queue), winerr::Success);
    ASSERT_EQ(dt().getDevNodeRegistryProperty(queue.devInst, ports::cmDrp(ports::spdrp::Class), cls),
              cr::Success);
    EXPECT_EQ(cls.asString(), L"PrintQueue");
    ports::DevInst parent = 0, grandparent = 0;
    ASSERT_EQ(dt().getParent(queue.devInst, parent), cr::Success);
    EXPECT_EQ(idOf(parent), kPrinterNode);
    ASSERT_EQ(dt().getParent(parent, grandparent), cr::Success);
    EXPECT_EQ(idOf(grandparent), kUsb);

    // Updating again keeps the device's one queue.
    ASSERT_EQ(dt().updateDriverForPlugAndPlayDevices(0, kHardwareId, sim_test::kPackageInf, 1, reboot),
              winerr::Success);
    ASSERT_EQ(sp.enumPrinters2(ports::spool::EnumLocal, printers), winerr::Success);
    EXPECT_EQ(printers.size(), 2u);
}

TEST_F(SimDeviceTreeTest, UpdateFailsWithTheCodesOfWindows) {
    ASSERT_EQ(sim_test::writePackage(m.platform().files()), winerr::Success);
    m.machine().write([](sim::Json& s) {
        s["devices"]["nodes"].push_back({{"instanceId", "USBPRINT\\Other\\1&2&0&USB003"},
                                         {"present", true},
                                         {"hardwareIds", {"USBPRINT\\OtherModel1234"}}});
    });
    struct Case {
        const char* what;
        std::wstring hardwareId, inf;
        std::uint32_t flags;
        ports::Status code;
    };
    const Case cases[] = {
        {"no present device", L"USBPRINT\\NoSuchModel", sim_test::kPackageInf, 1, winerr::NoSuchDevinst},
        {"missing INF", kHardwareId, L"C:\\Drivers\\missing.inf", 1, winerr::FileNotFound},
        {"INF without the model", L"USBPRINT\\OtherModel1234", sim_test::kPackageInf, 1,
         winerr::NoDriverSelected},
        {"unknown flags", kHardwareId, sim_test::kPackageInf, 0x100, 1004u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        bool reboot = false;
        EXPECT_EQ(dt().updateDriverForPlugAndPlayDevices(0, c.hardwareId, c.inf, c.flags, reboot), c.code);
    }
    std::vector<ports::PrinterInfo2> printers;
    ASSERT_EQ(m.platform().spooler().enumPrinters2(ports::spool::EnumLocal, printers), winerr::Success);
    EXPECT_EQ(printers.size(), 1u);
}

TEST_F(SimDeviceTreeTest, RemoveTakesOutExactlyThatNodeAndARescanFindsThePluggedInOneAgain) {
    addStaleDevice();
    ports::DeviceInfoSet set;
    ASSERT_EQ(dt().getClassDevs(std::nullopt, L"USBPRINT", digcf::AllClasses, set), winerr::Success);
    ports::DeviceInfoData first, second, none;
    ASSERT_EQ(dt().enumDeviceInfo(set, 0, first), winerr::Success);
    ASSERT_EQ(dt().enumDeviceInfo(set, 1, second), winerr::Success); // the stale one is listed too
    EXPECT_EQ(dt().enumDeviceInfo(set, 2, none), winerr::NoMoreItems);
    bool restart = true;
    ASSERT_EQ(dt().removeDevice(set, first, restart), winerr::Success);
    EXPECT_FALSE(restart);
    EXPECT_EQ(locate(kPrinterNode), 0u);
    EXPECT_NE(locate(kUsb, ports::cmflag::LocateNormal), 0u); // its parent stays
    ASSERT_EQ(dt().removeDevice(set, second, restart), winerr::Success);
    std::wstring id;
    EXPECT_EQ(dt().getDeviceInstanceId(set, first, id), winerr::NoSuchDevinst);
    EXPECT_EQ(dt().removeDevice(set, first, restart), winerr::NoSuchDevinst);

    ASSERT_EQ(dt().reenumerateDevNode(locate(L""), ports::cmflag::ReenumerateNormal), cr::Success);
    const ports::DevInst back = locate(kPrinterNode, ports::cmflag::LocateNormal);
    ASSERT_NE(back, 0u);
    EXPECT_EQ(locate(L"USBPRINT\\CorvaneExJN-2203T-S50F3\\7&99&0&USB002"), 0u); // unplugged: stays gone
}

TEST_F(SimDeviceTreeTest, AbsentNodesAreFoundOnlyAsPhantoms) {
    addStaleDevice();
    const std::wstring stale = L"USBPRINT\\CorvaneExJN-2203T-S50F3\\7&99&0&USB002";
    ports::DevInst node = 0;
    EXPECT_EQ(dt().locateDevNode(stale, ports::cmflag::LocateNormal, node), cr::NoSuchDevNode);
    ASSERT_EQ(dt().locateDevNode(stale, ports::cmflag::LocatePhantom, node), cr::Success);
    std::uint32_t status = 0, problem = 0;
    EXPECT_EQ(dt().getDevNodeStatus(node, status, problem), cr::NoSuchDevNode);
    ports::DevNode d;
    ASSERT_EQ(dt().describe(node, d), cr::Success);
    EXPECT_FALSE(d.present);
    EXPECT_EQ(d.className, L"Printer");
    EXPECT_EQ(dt().getDevNodeStatus(0x12345, status, problem), cr::InvalidDevNode);
    ports::DeviceInfoSet set;
    EXPECT_EQ(dt().getClassDevs(std::nullopt, L"NOSUCHBUS", digcf::AllClasses, set), winerr::InvalidData);
    EXPECT_EQ(dt().getClassDevs(std::nullopt, L"", digcf::Present, set), winerr::InvalidParameter);
}

TEST_F(SimDeviceTreeTest, DeviceKeysAndPropertiesAnswerLikeTheRegistry) {
    ports::DeviceInfoSet set;
    ASSERT_EQ(dt().getClassDevs(std::nullopt, L"USB", digcf::AllClasses | digcf::Present, set),
              winerr::Success);
    ports::DeviceInfoData usb;
    ASSERT_EQ(dt().enumDeviceInfo(set, 0, usb), winerr::Success);
    ports::RegValue v;
    ASSERT_EQ(dt().getDeviceRegistryProperty(set, usb, ports::spdrp::Service, v), winerr::Success);
    EXPECT_EQ(v.asString(), L"usbprint");
    EXPECT_EQ(dt().getDeviceRegistryProperty(set, usb, ports::spdrp::FriendlyName, v), winerr::InvalidData);
    EXPECT_EQ(dt().getDeviceRegistryProperty(set, usb, 0x99, v), winerr::InvalidRegProperty);
    EXPECT_EQ(dt().readDeviceRegistryValue(set, usb, ports::devreg::ScopeGlobal, ports::devreg::KeyDevice,
                                           L"PortName", v),
              0xE0000204u); // ERROR_KEY_DOES_NOT_EXIST
    ports::DevProperty p;
    const ports::DevPropKey instanceIdKey{*ports::parseGuid(L"{78c34fc8-104a-4aca-9ea4-524d52996e57}"), 256};
    ASSERT_EQ(dt().getDevNodeProperty(usb.devInst, instanceIdKey, p), cr::Success);
    EXPECT_EQ(p.type, ports::devprop::String);
    EXPECT_EQ(ports::textFromUtf16le(p.bytes), kUsb);
    m.machine().write([](sim::Json& s) { s["devices"]["unifiedProperties"] = false; });
    EXPECT_FALSE(dt().devNodePropertiesAvailable());
    EXPECT_EQ(dt().getDevNodeProperty(usb.devInst, instanceIdKey, p), cr::CallNotImplemented);
}

TEST_F(SimDeviceTreeTest, APrinterOfTheFamilyAnswersTheNameQueryWithinItsWaits) {
    sim::VirtualClock clock;
    m.platform().useClock(&clock);
    m.machine().write([](sim::Json& s) {
        s["devices"]["nodes"].push_back({{"instanceId", "USB\\VID_4B43&PID_3538\\TV0001"},
                                         {"present", true},
                                         {"interfaces", {"{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}"}},
                                         {"usbName", "TV-B58_A6B3"}});
    });
    const std::wstring path = L"\\\\?\\USB#VID_4B43&PID_3538#TV0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
    ports::UsbNameQuery q;
    q.request = {0x10, 0xFF, 0x30, 0x11};
    std::vector<std::uint8_t> reply;
    ASSERT_EQ(dt().queryUsbPrinterName(path, q, reply), winerr::Success);
    EXPECT_EQ(std::string(reply.begin(), reply.end()), std::string("TV-B58_A6B3") + '\0');
    EXPECT_EQ(clock.elapsedMs(), 100u); // the pause between writing and reading
    q.maxReply = 6;
    ASSERT_EQ(dt().queryUsbPrinterName(path, q, reply), winerr::Success);
    EXPECT_EQ(std::string(reply.begin(), reply.end()), "TV-B58");
    // Another command gets no answer: the read waits its time out.
    q.request = {0x10, 0xFF, 0x30, 0x12};
    EXPECT_EQ(dt().queryUsbPrinterName(path, q, reply), winerr::WaitTimeout);
    EXPECT_EQ(clock.elapsedMs(), 100u + 100u + 100u + 1000u);
    // Our CorvaneEx printer is not of that family; a device that is not there cannot be opened.
    q.request = {0x10, 0xFF, 0x30, 0x11};
    EXPECT_EQ(
        dt().queryUsbPrinterName(
            L"\\\\?\\USB#VID_3A5C&PID_0203#JN2203TS0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}", q, reply),
        winerr::WaitTimeout);
    EXPECT_EQ(dt().queryUsbPrinterName(
                  L"\\\\?\\USB#VID_0000&PID_0000#X#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}", q, reply),
              winerr::FileNotFound);
}

} // namespace
