// The session's records: what a reset of a printer entry keeps and what it restores, what a copy
// brings along, and the package file names that follow from the session.
#include "app/PackageFiles.h"
#include "app/SetupSession.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A discovered Bluetooth printer, every field set to something other than its default.
PrinterEntry bluetoothPrinter() {
    PrinterEntry e;
    e.driverNode.index = 7;
    e.modelName = L"CX-420T BT";
    e.printerName = L"Label printer";
    e.devicePath = L"\\\\?\\usb#vid_1fc9&pid_2016#1#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
    e.usbDeviceId = L"USB\\VID_1FC9&PID_2016\\1";
    e.printDeviceId = L"USBPRINT\\CX-420T\\7&2A&0&USB001";
    e.vid = L"1FC9";
    e.pid = L"2016";
    e.hardwareId = L"USBPRINT\\CX-420T";
    e.portName = L"COM7:";
    e.installed = 1;
    e.btRadio = 0x1234;
    e.btPin = L"8642";
    e.btInfo.address = 0x0012F3A4B5C6ull;
    e.btInfo.classOfDevice = 0x040680;
    e.btInfo.remembered = true;
    e.btInfo.authenticated = true;
    e.btInfo.lastSeen.year = 2024;
    e.btInfo.name = L"CX-420T BT";
    e.btAddress = bluetoothAddressText(e.btInfo);
    e.ipAddress = L"10.0.0.5";
    return e;
}

TEST(PrinterEntry, ANewEntryIsEmptyWithTheDefaultPinAndAddress) {
    const PrinterEntry e;
    EXPECT_TRUE(e.driverNode.empty());
    EXPECT_EQ(e.modelName, L"");
    EXPECT_EQ(e.portName, L"");
    EXPECT_EQ(e.installed, 0);
    EXPECT_EQ(e.btRadio, 0u);
    EXPECT_EQ(e.btPin, L"0000");
    EXPECT_EQ(e.ipAddress, L"192.168.1.200");
    EXPECT_EQ(e.btInfo, ports::BluetoothDeviceInfo{});
    EXPECT_EQ(e.btAddress, L"");
}

TEST(PrinterEntry, ResetClearsTheDeviceAndKeepsTheModelPathAndBluetoothRecord) {
    const PrinterEntry before = bluetoothPrinter();
    PrinterEntry e = before;
    e.reset();
    // Cleared or restored.
    EXPECT_EQ(e.printerName, L"");
    EXPECT_EQ(e.usbDeviceId, L"");
    EXPECT_EQ(e.printDeviceId, L"");
    EXPECT_EQ(e.vid, L"");
    EXPECT_EQ(e.pid, L"");
    EXPECT_EQ(e.hardwareId, L"");
    EXPECT_EQ(e.portName, L"");
    EXPECT_EQ(e.installed, 0);
    EXPECT_EQ(e.btRadio, 0u);
    EXPECT_EQ(e.btPin, kDefaultBluetoothPin);
    EXPECT_EQ(e.ipAddress, L"192.168.1.200");
    // Kept.
    EXPECT_EQ(e.driverNode, before.driverNode);
    EXPECT_EQ(e.modelName, before.modelName);
    EXPECT_EQ(e.devicePath, before.devicePath);
    EXPECT_EQ(e.btInfo, before.btInfo);
    EXPECT_EQ(e.btAddress, L"0012F3A4B5C6");
}

TEST(PrinterEntry, CopyBringsEveryFieldAlongTheBluetoothRecordWhole) {
    PrinterEntry chosen;
    chosen.modelName = L"previous";
    chosen.btPin = L"9999";
    const PrinterEntry found = bluetoothPrinter();
    chosen = found;
    EXPECT_EQ(chosen.driverNode, found.driverNode);
    EXPECT_EQ(chosen.modelName, found.modelName);
    EXPECT_EQ(chosen.printerName, found.printerName);
    EXPECT_EQ(chosen.devicePath, found.devicePath);
    EXPECT_EQ(chosen.usbDeviceId, found.usbDeviceId);
    EXPECT_EQ(chosen.printDeviceId, found.printDeviceId);
    EXPECT_EQ(chosen.vid, found.vid);
    EXPECT_EQ(chosen.pid, found.pid);
    EXPECT_EQ(chosen.hardwareId, found.hardwareId);
    EXPECT_EQ(chosen.portName, L"COM7:");
    EXPECT_EQ(chosen.installed, 1);
    EXPECT_EQ(chosen.btRadio, 0x1234u);
    EXPECT_EQ(chosen.btPin, L"8642");
    EXPECT_EQ(chosen.btInfo, found.btInfo);
    EXPECT_EQ(chosen.btInfo.name, L"CX-420T BT");
    EXPECT_EQ(chosen.btAddress, found.btAddress);
    EXPECT_EQ(chosen.ipAddress, L"10.0.0.5");
}

TEST(PrinterEntry, BluetoothAddressTextIsTwelveUppercaseDigitsMostSignificantFirst) {
    ports::BluetoothDeviceInfo info;
    info.address = 0xA1B2C3D4E5F6ull;
    EXPECT_EQ(bluetoothAddressText(info), L"A1B2C3D4E5F6");
    info.address = 0x000000000001ull;
    EXPECT_EQ(bluetoothAddressText(info), L"000000000001");
}

TEST(PrinterDevices, KeepTheOrderFoundAndTheirChangeFlag) {
    CPrinterDevices devices;
    EXPECT_FALSE(devices.listChanged);
    PrinterEntry a, b, c;
    a.portName = L"USB001";
    b.portName = L"USB002";
    c.portName = L"USB003";
    devices.add(a);
    devices.add(b);
    devices.add(c);
    devices.removeAt(1);
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].portName, L"USB001");
    EXPECT_EQ(devices[1].portName, L"USB003");
    // An entry copied out of the list is independent of it.
    PrinterEntry chosen = devices[1];
    devices.clear();
    EXPECT_EQ(chosen.portName, L"USB003");
    EXPECT_TRUE(devices.empty());
}

TEST(PackageFiles, NamesFollowTheManufacturerAndThePackageSet) {
    struct Case {
        const wchar_t* manufacturer;
        int newPackage;
        const wchar_t *ui, *rendering, *inf, *cat;
    };
    const Case cases[] = {
        {L"CorvaneEx", 1, L"CorvaneExUiNew.dll", L"CorvaneExUniNew.dll", L"CorvaneExNew.inf",
         L"CorvaneExNew.cat"},
        {L"CorvaneEx", 0, L"CorvaneExUI.dll", L"CorvaneExUNI.dll", L"CorvaneEx.inf", L"CorvaneEx.cat"},
        {L"Tovana", 1, L"TovanaUiNew.dll", L"TovanaUniNew.dll", L"TovanaNew.inf", L"TovanaNew.cat"},
    };
    for (const Case& c : cases) {
        SetupSession s;
        s.manufacturer.Name = c.manufacturer;
        s.newPackage = c.newPackage;
        EXPECT_EQ(app::userInterfaceDll(s), c.ui);
        EXPECT_EQ(app::renderingDll(s), c.rendering);
        EXPECT_EQ(app::infFile(s), c.inf);
        EXPECT_EQ(app::catalogueFile(s), c.cat);
    }
}

} // namespace
