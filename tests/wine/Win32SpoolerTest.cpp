// The real spooler port against Wine's spooler: the scenario the engine runs (add a driver, a printer
// on FILE:, printer data, enumerations, monitors, Local Port ports through Xcv, the default printer,
// delete), with the steps Wine does not implement skipped by name.
#include "platform/win32/Win32PrintSpooler.h"

#include "base/Compare.h"
#include "base/Utf.h"
#include "platform/win32/EntryPoints.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

namespace {
namespace winerr = ports::winerr;
namespace spool = ports::spool;
using ports::Status;

constexpr wchar_t kDriver[] = L"Orvello Wine Test Driver";
constexpr wchar_t kPrinter[] = L"Orvello Wine Test Printer";
constexpr wchar_t kRenamed[] = L"Orvello Wine Test Printer Renamed";
constexpr wchar_t kLocalPortXcv[] = L",XcvMonitor Local Port";

template <typename T, typename F> const T* findIf(const std::vector<T>& items, F pred) {
    auto it = std::find_if(items.begin(), items.end(), pred);
    return it == items.end() ? nullptr : &*it;
}

class Win32SpoolerScenario : public ::testing::Test {
protected:
    void SetUp() override {
        removeLeftovers();
        ports::DriverInfo driver;
        driver.level = 3;
        driver.version = 3;
        driver.name = kDriver;
        driver.driverPath = L"wineps.drv";
        driver.dataFile = L"wineps.drv";
        driver.configFile = L"wineps.drv";
        driver.defaultDataType = L"RAW";
        ASSERT_EQ(spooler.addPrinterDriver(driver), winerr::Success);
    }
    void TearDown() override { removeLeftovers(); }

    void removeLeftovers() {
        for (const wchar_t* name : {kPrinter, kRenamed}) {
            ports::SpoolerHandle h;
            if (spooler.openPrinter(name, spool::PrinterAllAccess, h) == winerr::Success)
                (void)spooler.deletePrinter(h);
        }
        (void)spooler.deletePrinterDriver(L"", kDriver, 0, 0);
    }

    ports::PrinterInfo2 queue(const std::wstring& name) const {
        ports::PrinterInfo2 info;
        info.printerName = name;
        info.portName = L"FILE:";
        info.driverName = kDriver;
        info.comment = L"CorvaneEx label printer";
        info.location = L""; // an empty text, not none
        info.printProcessor = L"winprint";
        info.datatype = L"RAW";
        info.attributes = spool::AttributeLocal;
        return info;
    }

    win32::Win32PrintSpooler spooler;
};

TEST_F(Win32SpoolerScenario, TheAddedDriverIsListedAtEveryLevel) {
    for (std::uint32_t level : {1u, 2u, 3u, 4u, 5u, 6u, 8u}) {
        SCOPED_TRACE(level);
        std::vector<ports::DriverInfo> drivers;
        ASSERT_EQ(spooler.enumDrivers(L"", level, drivers), winerr::Success);
        const auto* d = findIf(drivers, [](const auto& x) { return x.name == kDriver; });
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->level, level);
        if (level >= 2) {
            EXPECT_EQ(d->version, 3u);
            EXPECT_FALSE(d->environment.empty());
            EXPECT_NE(d->driverPath.find(L"wineps.drv"), std::wstring::npos) << d->driverPath;
        }
        if (level >= 3 && level != 5) {
            // No monitor: Windows leaves the field NULL, Wine gives an empty text.
            EXPECT_EQ(d->monitorName.value_or(L""), L"");
            EXPECT_EQ(d->defaultDataType, std::optional<std::wstring>(L"RAW"));
        }
    }
    std::vector<ports::DriverInfo> drivers;
    EXPECT_EQ(spooler.enumDrivers(L"", 7, drivers), static_cast<Status>(ERROR_INVALID_LEVEL));
    EXPECT_EQ(spooler.enumDrivers(L"Orvello No Such Environment", 3, drivers),
              static_cast<Status>(ERROR_INVALID_ENVIRONMENT));
}

TEST_F(Win32SpoolerScenario, APrinterOnFileKeepsItsRecordAndDataAndGoesAway) {
    ports::SpoolerHandle printer;
    ASSERT_EQ(spooler.addPrinter(queue(kPrinter), printer), winerr::Success);
    ASSERT_TRUE(printer);

    ports::PrinterInfo2 read;
    ASSERT_EQ(spooler.getPrinter2(printer, read), winerr::Success);
    EXPECT_EQ(read.printerName, kPrinter);
    EXPECT_EQ(read.portName, L"FILE:");
    EXPECT_EQ(read.driverName, kDriver);
    EXPECT_EQ(read.comment, std::optional<std::wstring>(L"CorvaneEx label printer"));
    EXPECT_TRUE(text::equalsNoCase(read.printProcessor, L"winprint")) << read.printProcessor;
    EXPECT_EQ(read.datatype, L"RAW");

    // Printer data as the Bluetooth installation writes it: REG_SZ without the terminating NUL.
    const auto tag = ports::RegValue::fromString(L"Bluetooth");
    ASSERT_EQ(spooler.setPrinterData(printer, L"PrinterDriverData", L"DeviceType", tag), winerr::Success);
    ports::RegValue back;
    ASSERT_EQ(spooler.getPrinterData(printer, L"PrinterDriverData", L"DeviceType", back), winerr::Success);
    EXPECT_EQ(back.type, ports::regtype::Sz);
    EXPECT_EQ(back.asString(), L"Bluetooth");
    const auto address = ports::RegValue::fromString(L"0011223344AA");
    ASSERT_EQ(spooler.setPrinterData(printer, L"PrinterDriverData", L"BluetoothAddress", address),
              winerr::Success);
    ASSERT_EQ(spooler.getPrinterData(printer, L"PrinterDriverData", L"BluetoothAddress", back),
              winerr::Success);
    EXPECT_EQ(back.asString(), L"0011223344AA");
    EXPECT_EQ(spooler.getPrinterData(printer, L"PnPData", L"DeviceInstanceId", back),
              static_cast<Status>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(spooler.getPrinterData(printer, L"PrinterDriverData", L"NoSuchValue", back),
              static_cast<Status>(ERROR_FILE_NOT_FOUND));

    // Both enumerations list it.
    std::vector<ports::PrinterInfo2> all2;
    ASSERT_EQ(spooler.enumPrinters2(spool::EnumLocal, all2), winerr::Success);
    const auto* listed = findIf(all2, [](const auto& p) { return p.printerName == kPrinter; });
    ASSERT_NE(listed, nullptr);
    EXPECT_EQ(listed->driverName, kDriver);
    std::vector<ports::PrinterInfo4> all4;
    ASSERT_EQ(spooler.enumPrinters4(spool::EnumLocal, all4), winerr::Success);
    EXPECT_NE(findIf(all4, [](const auto& p) { return p.printerName == kPrinter; }), nullptr);

    // The levels the printer viewer reads.
    for (std::uint32_t level = 1; level <= 9; ++level) {
        ports::PrinterInfoAtLevel at;
        const Status s = spooler.getPrinterAtLevel(printer, level, at);
        if (s == ERROR_INVALID_LEVEL && level == 3 && win32::runningOnWine())
            continue; // Wine does not implement GetPrinterW level 3
        ASSERT_EQ(s, winerr::Success) << "level " << level;
        EXPECT_EQ(at.level, level);
        if (level == 1) {
            EXPECT_NE(at.name.find(kPrinter), std::wstring::npos) << text::toUtf8(at.name);
        } else if (level == 2) {
            EXPECT_EQ(at.info2.printerName, kPrinter);
        } else if (level == 4) {
            EXPECT_EQ(at.info4.printerName, kPrinter);
        } else if (level == 5) {
            EXPECT_EQ(at.portName, L"FILE:");
        }
    }
    ports::PrinterInfoAtLevel none;
    EXPECT_EQ(spooler.getPrinterAtLevel(printer, 10, none), static_cast<Status>(ERROR_INVALID_LEVEL));

    ASSERT_EQ(spooler.deletePrinter(printer), winerr::Success);
    printer.reset();
    ports::SpoolerHandle gone;
    EXPECT_EQ(spooler.openPrinter(kPrinter, spool::PrinterAccessUse, gone),
              static_cast<Status>(ERROR_INVALID_PRINTER_NAME));
}

TEST_F(Win32SpoolerScenario, APrinterNamesItsDriver) {
    ports::SpoolerHandle printer;
    ASSERT_EQ(spooler.addPrinter(queue(kPrinter), printer), winerr::Success);
    ports::DriverInfo driver;
    ASSERT_EQ(spooler.getPrinterDriver(printer, L"", 3, driver), winerr::Success);
    EXPECT_EQ(driver.name, kDriver);
    EXPECT_EQ(driver.level, 3u);
    EXPECT_EQ(driver.defaultDataType, std::optional<std::wstring>(L"RAW"));
}

TEST_F(Win32SpoolerScenario, ADriverAPrinterUsesIsNotDeleted) {
    ports::SpoolerHandle printer;
    ASSERT_EQ(spooler.addPrinter(queue(kPrinter), printer), winerr::Success);
    const Status s = spooler.deletePrinterDriver(L"", kDriver, spool::DeleteUnusedFiles, 0);
    if (s == ERROR_INVALID_PARAMETER && win32::runningOnWine())
        GTEST_SKIP() << "Wine does not implement DeletePrinterDriverExW with DPD_DELETE_UNUSED_FILES";
    EXPECT_EQ(s, static_cast<Status>(ERROR_PRINTER_DRIVER_IN_USE));
}

TEST_F(Win32SpoolerScenario, AnUnusedDriverIsDeletedAndForgotten) {
    ASSERT_EQ(spooler.deletePrinterDriver(L"", kDriver, 0, 0), winerr::Success);
    std::vector<ports::DriverInfo> drivers;
    ASSERT_EQ(spooler.enumDrivers(L"", 3, drivers), winerr::Success);
    EXPECT_EQ(findIf(drivers, [](const auto& d) { return d.name == kDriver; }), nullptr);
    const Status again = spooler.deletePrinterDriver(L"", kDriver, 0, 0);
    EXPECT_NE(again, winerr::Success);
    if (again != ERROR_UNKNOWN_PRINTER_DRIVER && win32::runningOnWine())
        GTEST_SKIP() << "Wine's DeletePrinterDriverExW fails for an unknown driver with a stale error ("
                     << again << ")";
    EXPECT_EQ(again, static_cast<Status>(ERROR_UNKNOWN_PRINTER_DRIVER));
}

// The rename of a queue the system named after the model: the record read, the name replaced,
// written back at level 2.
TEST_F(Win32SpoolerScenario, ARenameWritesTheRecordBackUnderTheNewName) {
    ports::SpoolerHandle printer;
    ASSERT_EQ(spooler.addPrinter(queue(kPrinter), printer), winerr::Success);
    ports::PrinterInfo2 read;
    ASSERT_EQ(spooler.getPrinter2(printer, read), winerr::Success);
    read.printerName = kRenamed;
    ASSERT_EQ(spooler.setPrinter2(printer, read), winerr::Success);
    ports::SpoolerHandle renamed;
    const Status s = spooler.openPrinter(kRenamed, spool::PrinterAllAccess, renamed);
    if (s == ERROR_INVALID_PRINTER_NAME && win32::runningOnWine())
        GTEST_SKIP() << "Wine does not implement renaming a printer through SetPrinterW level 2";
    ASSERT_EQ(s, winerr::Success);
    ASSERT_EQ(spooler.getPrinter2(renamed, read), winerr::Success);
    EXPECT_EQ(read.printerName, kRenamed);
    EXPECT_EQ(read.comment, std::optional<std::wstring>(L"CorvaneEx label printer"));
}

TEST_F(Win32SpoolerScenario, NamesTheSpoolerRefusesAreRefusedWithItsCode) {
    for (const wchar_t* bad : {L"", L"Orvello,Test", L"Orvello\\Test"}) {
        SCOPED_TRACE(testing::Message() << '"' << text::toUtf8(bad) << '"');
        ports::SpoolerHandle h;
        EXPECT_EQ(spooler.addPrinter(queue(bad), h), static_cast<Status>(ERROR_INVALID_PRINTER_NAME));
        EXPECT_FALSE(h);
    }
    std::vector<ports::PrinterInfo2> all;
    ASSERT_EQ(spooler.enumPrinters2(spool::EnumLocal, all), winerr::Success);
    EXPECT_EQ(findIf(all, [](const auto& p) { return p.printerName.starts_with(L"Orvello,"); }), nullptr);

    ports::SpoolerHandle printer;
    ASSERT_EQ(spooler.addPrinter(queue(kPrinter), printer), winerr::Success);
    ports::PrinterInfo2 info;
    ASSERT_EQ(spooler.getPrinter2(printer, info), winerr::Success);
    info.printerName = L"Orvello\\Renamed";
    EXPECT_EQ(spooler.setPrinter2(printer, info), static_cast<Status>(ERROR_INVALID_PRINTER_NAME));
    ASSERT_EQ(spooler.getPrinter2(printer, info), winerr::Success);
    EXPECT_EQ(info.printerName, kPrinter);

    ports::PrinterInfo2 unknownDriver = queue(kRenamed);
    unknownDriver.driverName = L"Orvello No Such Driver";
    ports::SpoolerHandle h;
    EXPECT_EQ(spooler.addPrinter(unknownDriver, h), static_cast<Status>(ERROR_UNKNOWN_PRINTER_DRIVER));
}

TEST_F(Win32SpoolerScenario, AddingAPrinterNameThatExistsIsRefused) {
    ports::SpoolerHandle first, second;
    ASSERT_EQ(spooler.addPrinter(queue(kPrinter), first), winerr::Success);
    const Status s = spooler.addPrinter(queue(kPrinter), second);
    if (s == winerr::Success && win32::runningOnWine())
        GTEST_SKIP() << "Wine's AddPrinterW does not refuse an existing name (it opens the printer)";
    EXPECT_EQ(s, static_cast<Status>(ERROR_PRINTER_ALREADY_EXISTS));
    EXPECT_FALSE(second);
}

TEST_F(Win32SpoolerScenario, TheDefaultPrinterIsSetThroughOrdinal204) {
    ports::SpoolerHandle printer;
    ASSERT_EQ(spooler.addPrinter(queue(kPrinter), printer), winerr::Success);
    std::wstring before;
    const Status hadDefault = spooler.getDefaultPrinter(before);
    ASSERT_EQ(spooler.setDefaultPrinter(kPrinter), winerr::Success);
    std::wstring now;
    ASSERT_EQ(spooler.getDefaultPrinter(now), winerr::Success);
    EXPECT_EQ(now, kPrinter);
    EXPECT_NE(spooler.setDefaultPrinter(L"Orvello No Such Printer"), winerr::Success);
    if (hadDefault == winerr::Success)
        (void)spooler.setDefaultPrinter(before);
}

TEST_F(Win32SpoolerScenario, FormsOfThePrinterAndThePurgeOfItsJobs) {
    ports::SpoolerHandle printer;
    ASSERT_EQ(spooler.addPrinter(queue(kPrinter), printer), winerr::Success);

    std::vector<ports::FormInfo1> forms;
    ASSERT_EQ(spooler.enumForms(printer, forms), winerr::Success);
    ASSERT_NE(findIf(forms, [](const auto& f) { return f.name == L"A4"; }), nullptr);
    ports::FormInfo1 a4;
    ASSERT_EQ(spooler.getForm(printer, L"A4", a4), winerr::Success);
    EXPECT_EQ(a4.size.cx, 210000);
    EXPECT_EQ(a4.size.cy, 297000);
    EXPECT_EQ(a4.flags, spool::FormBuiltin);
    ports::FormInfo1 missing;
    EXPECT_EQ(spooler.getForm(printer, L"Orvello No Such Form", missing),
              static_cast<Status>(ERROR_INVALID_FORM_NAME));

    const Status purge = spooler.setPrinterCommand(printer, spool::ControlPurge);
    if (purge == ERROR_INVALID_LEVEL && win32::runningOnWine())
        GTEST_SKIP() << "Wine does not implement SetPrinterW level 0 (PRINTER_CONTROL_PURGE)";
    EXPECT_EQ(purge, winerr::Success);
}

TEST_F(Win32SpoolerScenario, DeletingAFormThatDoesNotExistIsRefused) {
    ports::SpoolerHandle printer;
    ASSERT_EQ(spooler.addPrinter(queue(kPrinter), printer), winerr::Success);
    const Status s = spooler.deleteForm(printer, L"Orvello No Such Form");
    if (s == winerr::Success && win32::runningOnWine())
        GTEST_SKIP() << "Wine does not implement DeleteFormW (it accepts any name)";
    EXPECT_EQ(s, static_cast<Status>(ERROR_INVALID_FORM_NAME));
}

TEST_F(Win32SpoolerScenario, TheDefaultDevModeAndThePapersOfTheDriver) {
    ports::SpoolerHandle printer;
    ASSERT_EQ(spooler.addPrinter(queue(kPrinter), printer), winerr::Success);
    ports::DevMode dm;
    const Status s = spooler.getDefaultDevMode(printer, kPrinter, dm);
    if (s != winerr::Success && win32::runningOnWine())
        GTEST_SKIP() << "Wine does not implement DocumentPropertiesW for a driver without a PPD (" << s
                     << ")";
    ASSERT_EQ(s, winerr::Success);
    EXPECT_EQ(dm.raw.size(), static_cast<std::size_t>(dm.size) + dm.driverExtra);
    EXPECT_TRUE(std::wstring(kPrinter).starts_with(dm.deviceName)) << text::toUtf8(dm.deviceName);

    // The preferences dialog's round trip without the dialog: the driver merges the input record.
    ports::DevMode landscape = dm;
    landscape.raw.clear(); // written from the decoded fields
    landscape.orientation = DMORIENT_LANDSCAPE;
    landscape.fields |= DM_ORIENTATION;
    std::int32_t answer = 0;
    ASSERT_EQ(
        spooler.editDevMode(0, printer, kPrinter, spool::DmInBuffer | spool::DmOutBuffer, landscape, answer),
        winerr::Success);
    EXPECT_EQ(answer, spool::IdOk);
    EXPECT_EQ(landscape.orientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(landscape.raw.size(), static_cast<std::size_t>(dm.size) + dm.driverExtra);

    std::vector<std::wstring> names;
    std::vector<std::uint16_t> ids;
    std::vector<ports::FormSize> sizes;
    ASSERT_EQ(spooler.paperNames(kPrinter, L"FILE:", names), winerr::Success);
    ASSERT_EQ(spooler.papers(kPrinter, L"FILE:", ids), winerr::Success);
    ASSERT_EQ(spooler.paperSizes(kPrinter, L"FILE:", sizes), winerr::Success);
    EXPECT_EQ(names.size(), ids.size());
    EXPECT_EQ(names.size(), sizes.size());
}

// The Local Port monitor takes the port name where PORT_DATA_1 and DELETE_PORT_DATA_1 keep it,
// so its Xcv channel shows the two outcomes of XcvDataW without the Standard TCP/IP monitor.
TEST(Win32SpoolerPorts, XcvAddAndDeleteOnTheLocalPortMonitor) {
    win32::Win32PrintSpooler spooler;
    const std::wstring port = L"C:\\orvello-wine-test-" + std::to_wstring(GetCurrentProcessId()) + L".prn";
    ports::SpoolerHandle xcv;
    ASSERT_EQ(spooler.openPrinter(kLocalPortXcv, spool::ServerAccessAdminister, xcv), winerr::Success);
    ports::PortData1 data;
    data.portName = port;
    data.hostAddress = L"192.168.1.200";
    data.ipAddress = L"192.168.1.200";
    data.portNumber = 9100;
    data.doubleSpool = 1;

    ports::XcvResult added = spooler.xcvAddPort(xcv, data);
    EXPECT_EQ(added.call, winerr::Success);
    EXPECT_EQ(added.monitor, winerr::Success);
    std::vector<ports::PortInfo2> ports2;
    ASSERT_EQ(spooler.enumPorts2(ports2), winerr::Success);
    const auto* listed = findIf(ports2, [&](const auto& p) { return p.portName == port; });
    ASSERT_NE(listed, nullptr);
    std::vector<ports::PortInfo1> ports1;
    ASSERT_EQ(spooler.enumPorts1(ports1), winerr::Success);
    EXPECT_NE(findIf(ports1, [&](const auto& p) { return p.name == port; }), nullptr);

    // The call reaches the monitor; the monitor says the port exists.
    ports::XcvResult again = spooler.xcvAddPort(xcv, data);
    EXPECT_EQ(again.monitor, static_cast<Status>(ERROR_ALREADY_EXISTS));

    ports::XcvResult deleted = spooler.xcvDeletePort(xcv, port);
    EXPECT_EQ(deleted.call, winerr::Success);
    EXPECT_EQ(deleted.monitor, winerr::Success);
    ASSERT_EQ(spooler.enumPorts2(ports2), winerr::Success);
    EXPECT_EQ(findIf(ports2, [&](const auto& p) { return p.portName == port; }), nullptr);
}

// A name longer than the record's 63 characters is refused before the monitor sees a cut name.
TEST(Win32SpoolerPorts, PortNamesLongerThanTheRecordAreRefusedNotCut) {
    win32::Win32PrintSpooler spooler;
    ports::SpoolerHandle xcv;
    ASSERT_EQ(spooler.openPrinter(kLocalPortXcv, spool::ServerAccessAdminister, xcv), winerr::Success);
    const std::wstring longName = L"C:\\orvello-" + std::wstring(64 - 11, L'x');
    ASSERT_EQ(longName.size(), 64u);
    ports::PortData1 data;
    data.portName = longName;
    ports::XcvResult r = spooler.xcvAddPort(xcv, data);
    EXPECT_EQ(r.call, static_cast<Status>(ERROR_INVALID_PARAMETER));
    std::vector<ports::PortInfo1> ports1;
    ASSERT_EQ(spooler.enumPorts1(ports1), winerr::Success);
    EXPECT_EQ(findIf(ports1, [&](const auto& p) { return p.name.starts_with(L"C:\\orvello-x"); }), nullptr);
    EXPECT_EQ(spooler.xcvDeletePort(xcv, longName).call, static_cast<Status>(ERROR_INVALID_PARAMETER));

    // Each field has its own limit: a 16-character IP address does not fit sztIPAddress[16].
    data.portName = L"IP_192.168.100.200";
    data.ipAddress = L"192.168.100.2001";
    EXPECT_EQ(spooler.xcvAddPort(xcv, data).call, static_cast<Status>(ERROR_INVALID_PARAMETER));
}

TEST(Win32SpoolerPorts, TheStandardTcpIpMonitorChannel) {
    win32::Win32PrintSpooler spooler;
    ports::SpoolerHandle xcv;
    const Status s =
        spooler.openPrinter(L",XcvMonitor Standard TCP/IP Port", spool::ServerAccessAdminister, xcv);
    if (s == ERROR_UNKNOWN_PORT && win32::runningOnWine())
        GTEST_SKIP() << "Wine does not implement the Standard TCP/IP Port monitor (OpenPrinterW of its Xcv)";
    ASSERT_EQ(s, winerr::Success);
}

TEST(Win32SpoolerMonitors, MonitorsAreListedAddedAndDeleted) {
    win32::Win32PrintSpooler spooler;
    std::vector<ports::MonitorInfo2> monitors;
    ASSERT_EQ(spooler.enumMonitors2(monitors), winerr::Success);
    const auto* local = findIf(monitors, [](const auto& m) { return m.name == L"Local Port"; });
    ASSERT_NE(local, nullptr);
    EXPECT_TRUE(text::equalsNoCase(local->dllName, L"localspl.dll")) << text::toUtf8(local->dllName);

    const ports::MonitorInfo2 added{L"Orvello Wine Test Monitor", local->environment, local->dllName};
    (void)spooler.deleteMonitor(added.environment, added.name);
    ASSERT_EQ(spooler.addMonitor(added), winerr::Success);
    EXPECT_EQ(spooler.addMonitor(added), static_cast<Status>(ERROR_PRINT_MONITOR_ALREADY_INSTALLED));
    ASSERT_EQ(spooler.enumMonitors2(monitors), winerr::Success);
    EXPECT_NE(findIf(monitors, [&](const auto& m) { return m.name == added.name; }), nullptr);
    ASSERT_EQ(spooler.deleteMonitor(added.environment, added.name), winerr::Success);
    EXPECT_EQ(spooler.deleteMonitor(added.environment, added.name),
              static_cast<Status>(ERROR_UNKNOWN_PRINT_MONITOR));
}

TEST(Win32SpoolerDirectories, TheDriverDirectoryExistsAndHasNoTrailingBackslash) {
    win32::Win32PrintSpooler spooler;
    std::wstring dir;
    ASSERT_EQ(spooler.printerDriverDirectory(L"", dir), winerr::Success);
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), L'\\');
    const DWORD attributes = GetFileAttributesW(dir.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(Win32SpoolerHandles, HandlesOfAnotherPortOrNoneAreRefused) {
    win32::Win32PrintSpooler mine, other;
    ports::SpoolerHandle server;
    ASSERT_EQ(mine.openPrinter(L"", spool::ServerAccessAdminister, server), winerr::Success);
    std::vector<ports::FormInfo1> forms;
    EXPECT_EQ(other.enumForms(server, forms), static_cast<Status>(ERROR_INVALID_HANDLE));
    ports::SpoolerHandle none;
    ports::PrinterInfo2 info;
    EXPECT_EQ(mine.getPrinter2(none, info), static_cast<Status>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(mine.deletePrinter(none), static_cast<Status>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(mine.xcvAddPort(none, {}).call, static_cast<Status>(ERROR_INVALID_HANDLE));
    ports::SpoolerHandle h;
    EXPECT_EQ(mine.openPrinter(L"Orvello No Such Printer", spool::PrinterAccessUse, h),
              static_cast<Status>(ERROR_INVALID_PRINTER_NAME));
    EXPECT_FALSE(h);
}

} // namespace
