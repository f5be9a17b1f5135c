// The simulated spooler's printers, drivers and data: the codes Windows gives for what it refuses.
#include "support/SpoolerScenario.h"
#include "support/TestMachine.h"

#include "platform/sim/SimJson.h"

#include <gtest/gtest.h>

namespace {

using testing_support::addDriverWithFiles;
using testing_support::TestMachine;
namespace winerr = ports::winerr;
namespace spool = ports::spool;

constexpr wchar_t kX64[] = L"Windows x64";

// A machine with one driver of ours installed and a printer on FILE: that uses it.
class SimSpoolerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(addDriverWithFiles(sp(), m.platform().files(), kX64, L"JN-2203T-S"), winerr::Success);
        ASSERT_EQ(sp().addPrinter(info(L"Label"), printer), winerr::Success);
    }
    ports::PrintSpooler& sp() { return m.platform().spooler(); }
    static ports::PrinterInfo2 info(std::wstring name) {
        ports::PrinterInfo2 p;
        p.printerName = std::move(name);
        p.portName = L"FILE:";
        p.driverName = L"JN-2203T-S";
        p.printProcessor = L"WinPrint";
        p.datatype = L"RAW";
        p.location = L"";
        return p;
    }
    void setJobs(int jobs) {
        m.machine().write([&](sim::Json& s) {
            for (auto& p : s["spooler"]["printers"]) {
                if (p["name"] == "Label")
                    p["jobs"] = jobs;
            }
        });
    }
    TestMachine m;
    ports::SpoolerHandle printer;
};

TEST_F(SimSpoolerTest, AddPrinterRefusesWhatWindowsRefusesWithItsCode) {
    struct Case {
        const char* what;
        ports::PrinterInfo2 info;
        ports::Status code;
    };
    auto with = [](auto change) {
        auto i = info(L"Other");
        change(i);
        return i;
    };
    const Case cases[] = {
        {"empty name", info(L""), winerr::InvalidPrinterName},
        {"comma", info(L"Label,2"), winerr::InvalidPrinterName},
        {"exclamation mark", info(L"Label!"), winerr::InvalidPrinterName},
        {"backslash", info(L"Shop\\Label"), winerr::InvalidPrinterName},
        {"221 characters", info(std::wstring(221, L'x')), winerr::InvalidPrinterName},
        {"existing name in other case", info(L"LABEL"), winerr::PrinterAlreadyExists},
        {"unknown driver", with([](auto& i) { i.driverName = L"JN-9999"; }), winerr::UnknownPrinterDriver},
        {"unknown port", with([](auto& i) { i.portName = L"LPT9:"; }), winerr::UnknownPort},
        {"unknown print processor", with([](auto& i) { i.printProcessor = L"lpd"; }),
         winerr::UnknownPrintProcessor},
        {"unknown data type", with([](auto& i) { i.datatype = L"PDF"; }), winerr::InvalidDatatype},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ports::SpoolerHandle h;
        EXPECT_EQ(sp().addPrinter(c.info, h), c.code);
        EXPECT_FALSE(h);
    }
    std::vector<ports::PrinterInfo2> all;
    ASSERT_EQ(sp().enumPrinters2(spool::EnumLocal, all), winerr::Success);
    EXPECT_EQ(all.size(), 2u); // the demo's PDF printer and ours, nothing truncated or half-made
    ports::SpoolerHandle h;
    EXPECT_EQ(sp().addPrinter(info(std::wstring(220, L'x')), h), winerr::Success);
}

TEST_F(SimSpoolerTest, ADriverInUseCannotBeDeletedAndAnUnknownOneIsUnknown) {
    EXPECT_EQ(sp().deletePrinterDriver(kX64, L"JN-2203T-S", spool::DeleteUnusedFiles, 0),
              winerr::PrinterDriverInUse);
    EXPECT_EQ(sp().deletePrinterDriver(kX64, L"JN-9999", 0, 0), winerr::UnknownPrinterDriver);
    EXPECT_EQ(sp().deletePrinterDriver(L"Windows 95", L"JN-2203T-S", 0, 0), winerr::InvalidEnvironment);
    ASSERT_EQ(sp().deletePrinter(printer), winerr::Success);
    // With the printer gone it goes, and with DPD_DELETE_UNUSED_FILES its files go too.
    std::wstring dir;
    ASSERT_EQ(sp().printerDriverDirectory(kX64, dir), winerr::Success);
    ASSERT_TRUE(m.platform().files().fileExists(dir + L"\\3\\JN-2203T-S.gpd"));
    EXPECT_EQ(sp().deletePrinterDriver(kX64, L"JN-2203T-S", spool::DeleteUnusedFiles, 0), winerr::Success);
    EXPECT_FALSE(m.platform().files().fileExists(dir + L"\\3\\JN-2203T-S.gpd"));
    EXPECT_EQ(sp().deletePrinterDriver(kX64, L"JN-2203T-S", 0, 0), winerr::UnknownPrinterDriver);
}

TEST_F(SimSpoolerTest, AddingADriverNeedsItsFilesAndAKnownMonitor) {
    ports::DriverInfo d;
    d.level = 3;
    d.name = L"Missing Files";
    d.environment = kX64;
    d.driverPath = L"nothere.dll";
    d.dataFile = L"nothere.gpd";
    d.configFile = L"nothereui.dll";
    EXPECT_EQ(sp().addPrinterDriver(d), winerr::FileNotFound);
    d.name = L"JN-2203T-S";
    d.driverPath = L"JN-2203T-S.dll";
    d.dataFile = L"JN-2203T-S.gpd";
    d.configFile = L"JN-2203T-SUI.dll";
    d.monitorName = L"CorvaneEx Language Monitor";
    EXPECT_EQ(sp().addPrinterDriver(d), winerr::UnknownPrintMonitor);
    d.level = 7;
    EXPECT_EQ(sp().addPrinterDriver(d), winerr::InvalidLevel);
}

TEST_F(SimSpoolerTest, PurgeEmptiesTheQueueAndFinishesAPendingDeletion) {
    setJobs(3);
    // A printer with jobs is only marked for deletion...
    ASSERT_EQ(sp().deletePrinter(printer), winerr::Success);
    ports::PrinterInfo2 i;
    ASSERT_EQ(sp().getPrinter2(printer, i), winerr::Success);
    EXPECT_EQ(i.cJobs, 3u);
    EXPECT_TRUE(i.status & 0x4); // PRINTER_STATUS_PENDING_DELETION
    // ...and goes with its last job.
    ASSERT_EQ(sp().setPrinterCommand(printer, spool::ControlPurge), winerr::Success);
    ports::SpoolerHandle again;
    EXPECT_EQ(sp().openPrinter(L"Label", spool::PrinterAllAccess, again), winerr::InvalidPrinterName);
    EXPECT_EQ(sp().getPrinter2(printer, i), winerr::InvalidHandle);
}

TEST_F(SimSpoolerTest, AddingAPrinterPendingDeletionKeepsIt) {
    setJobs(1);
    ASSERT_EQ(sp().deletePrinter(printer), winerr::Success);
    auto changed = info(L"Label");
    changed.comment = L"back";
    ports::SpoolerHandle h;
    ASSERT_EQ(sp().addPrinter(changed, h), winerr::Success);
    ports::PrinterInfo2 i;
    ASSERT_EQ(sp().getPrinter2(h, i), winerr::Success);
    EXPECT_EQ(i.comment.value_or(L""), L"back");
    EXPECT_FALSE(i.status & 0x4);
}

TEST_F(SimSpoolerTest, CommandsAndSettingsNeedAdministerAccess) {
    ports::SpoolerHandle useOnly;
    ASSERT_EQ(sp().openPrinter(L"Label", spool::PrinterAccessUse, useOnly), winerr::Success);
    EXPECT_EQ(sp().setPrinterCommand(useOnly, spool::ControlPurge), winerr::AccessDenied);
    EXPECT_EQ(sp().setPrinterData(useOnly, L"PrinterDriverData", L"X", ports::RegValue::fromDword(1)),
              winerr::AccessDenied);
    EXPECT_EQ(sp().deletePrinter(useOnly), winerr::AccessDenied);
    EXPECT_EQ(sp().setPrinterCommand(printer, 99), winerr::InvalidPrinterCommand);
}

TEST_F(SimSpoolerTest, TheDefaultPrinterIsKeptByNameThroughRenameAndDeletion) {
    ASSERT_EQ(sp().setDefaultPrinter(L"label"), winerr::Success);
    std::wstring name;
    ASSERT_EQ(sp().getDefaultPrinter(name), winerr::Success);
    EXPECT_EQ(name, L"Label"); // the printer's own spelling
    EXPECT_EQ(sp().setDefaultPrinter(L"No Such Printer"), winerr::InvalidPrinterName);
    auto renamed = info(L"Label 2");
    ASSERT_EQ(sp().setPrinter2(printer, renamed), winerr::Success);
    ASSERT_EQ(sp().getDefaultPrinter(name), winerr::Success);
    EXPECT_EQ(name, L"Label 2");
    ASSERT_EQ(sp().deletePrinter(printer), winerr::Success);
    EXPECT_EQ(sp().getDefaultPrinter(name), winerr::FileNotFound);
}

TEST_F(SimSpoolerTest, RenamingRefusesBadAndTakenNames) {
    ports::SpoolerHandle h;
    ASSERT_EQ(sp().addPrinter(info(L"Second"), h), winerr::Success);
    EXPECT_EQ(sp().setPrinter2(h, info(L"Label")), winerr::PrinterAlreadyExists);
    EXPECT_EQ(sp().setPrinter2(h, info(L"Bad,Name")), winerr::InvalidPrinterName);
    ports::PrinterInfo2 i;
    ASSERT_EQ(sp().getPrinter2(h, i), winerr::Success);
    EXPECT_EQ(i.printerName, L"Second");
}

TEST_F(SimSpoolerTest, PrinterDataKeepsTypeAndBytesAndKeysIgnoreCase) {
    const auto sz = ports::RegValue::fromString(L"0011223344AA");
    ASSERT_EQ(sp().setPrinterData(printer, L"PrinterDriverData", L"BluetoothAddress", sz), winerr::Success);
    ports::RegValue v;
    ASSERT_EQ(sp().getPrinterData(printer, L"printerdriverdata", L"bluetoothaddress", v), winerr::Success);
    EXPECT_EQ(v.type, ports::regtype::Sz);
    EXPECT_EQ(v.bytes, sz.bytes);
    const auto multi = ports::RegValue::fromMultiString({L"a", L"b"});
    ASSERT_EQ(sp().setPrinterData(printer, L"PrinterDriverData", L"List", multi), winerr::Success);
    ASSERT_EQ(sp().getPrinterData(printer, L"PrinterDriverData", L"List", v), winerr::Success);
    EXPECT_EQ(v.bytes, multi.bytes);
    EXPECT_EQ(sp().getPrinterData(printer, L"PnPData", L"DeviceInstanceId", v), winerr::FileNotFound);
    EXPECT_EQ(sp().getPrinterData(printer, L"", L"X", v), winerr::InvalidParameter);
    // Windows keeps the directory data in step with the printer.
    ASSERT_EQ(sp().getPrinterData(printer, L"DsSpooler", L"portName", v), winerr::Success);
    EXPECT_EQ(v.asString(), L"FILE:");
}

TEST_F(SimSpoolerTest, EnvironmentsFollowWindowsAndNullMeansTheCallers) {
    std::wstring dir;
    ASSERT_EQ(sp().printerDriverDirectory(L"", dir), winerr::Success);
    EXPECT_EQ(dir, L"C:\\Windows\\system32\\spool\\DRIVERS\\W32X86"); // the wizard is a 32-bit program
    ASSERT_EQ(sp().printerDriverDirectory(L"windows x64", dir), winerr::Success);
    EXPECT_EQ(dir, L"C:\\Windows\\system32\\spool\\DRIVERS\\x64");
    std::vector<ports::DriverInfo> drivers;
    ASSERT_EQ(sp().enumDrivers(L"", 3, drivers), winerr::Success);
    EXPECT_TRUE(drivers.empty());
    ASSERT_EQ(sp().enumDrivers(L"all", 1, drivers), winerr::Success);
    EXPECT_EQ(drivers.size(), 2u);
    EXPECT_EQ(sp().enumDrivers(L"Windows CE", 3, drivers), winerr::InvalidEnvironment);
}

TEST_F(SimSpoolerTest, DevModeAndCapabilitiesComeFromTheDriver) {
    m.machine().write([](sim::Json& s) {
        for (auto& d : s["spooler"]["drivers"]) {
            if (d["name"] == "JN-2203T-S")
                d["papers"] = {{{"id", 256}, {"name", "57mm x 40mm"}, {"width", 570}, {"length", 400}}};
        }
    });
    ports::DevMode dm;
    ASSERT_EQ(sp().getDefaultDevMode(printer, L"Label", dm), winerr::Success);
    EXPECT_EQ(dm.deviceName, L"Label");
    EXPECT_EQ(dm.size, 220u);
    EXPECT_EQ(dm.paperSize, 256);
    EXPECT_EQ(dm.paperWidth, 570);
    EXPECT_EQ(dm.formName, L"57mm x 40mm");
    EXPECT_EQ(dm.raw.size(), 220u);
    std::vector<std::wstring> names;
    ASSERT_EQ(sp().paperNames(L"Label", L"FILE:", names), winerr::Success);
    EXPECT_EQ(names, std::vector<std::wstring>{L"57mm x 40mm"});
    std::vector<ports::FormSize> sizes;
    ASSERT_EQ(sp().paperSizes(L"Label", L"FILE:", sizes), winerr::Success);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].cx, 570);
    EXPECT_EQ(sp().paperNames(L"Nobody", L"FILE:", names), winerr::InvalidPrinterName);
    // A DEVMODE written back is what the printer gives from then on.
    auto i = info(L"Label");
    dm.orientation = 2;
    dm.raw[76] = 2;
    i.devMode = dm;
    ASSERT_EQ(sp().setPrinter2(printer, i), winerr::Success);
    ASSERT_EQ(sp().getDefaultDevMode(printer, L"Label", dm), winerr::Success);
    EXPECT_EQ(dm.orientation, 2);
}

TEST_F(SimSpoolerTest, FormsBuiltInStayPrinterFormsGo) {
    m.machine().write([](sim::Json& s) {
        s["spooler"]["forms"] = {{{"name", "A4"}, {"flags", 1}, {"cx", 210000}, {"cy", 297000}},
                                 {{"name", "57mm x 40mm-3"}, {"flags", 2}, {"cx", 57000}, {"cy", 40000}}};
    });
    EXPECT_EQ(sp().deleteForm(printer, L"A4"), winerr::InvalidParameter);
    EXPECT_EQ(sp().deleteForm(printer, L"57mm x 40mm-3"), winerr::Success);
    EXPECT_EQ(sp().deleteForm(printer, L"57mm x 40mm-3"), winerr::InvalidFormName);
    std::vector<ports::FormInfo1> forms;
    ASSERT_EQ(sp().enumForms(printer, forms), winerr::Success);
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_EQ(forms[0].name, L"A4");
}

TEST_F(SimSpoolerTest, HandlesOfOtherPortsOrClosedOnesAreInvalid) {
    ports::SpoolerHandle server;
    ASSERT_EQ(sp().openPrinter(L"", spool::ServerAccessAdminister, server), winerr::Success);
    ports::PrinterInfo2 i;
    EXPECT_EQ(sp().getPrinter2(server, i), winerr::InvalidHandle);
    const auto id = printer.id();
    printer.reset();
    ports::SpoolerHandle closed(*dynamic_cast<ports::HandleCloser*>(&sp()), id);
    EXPECT_EQ(sp().getPrinter2(closed, i), winerr::InvalidHandle);
}

TEST_F(SimSpoolerTest, TheShellCallsAreRecorded) {
    sp().announcePrinterChange(L"Label");
    EXPECT_EQ(sp().invokePrinterCommand(0, spool::PrintActionProperties, L"\\\\PC\\Label"), winerr::Success);
    m.machine().read([](const sim::Json& s) {
        EXPECT_EQ(s["shellNotifications"], sim::Json::array({"Label"}));
        EXPECT_EQ(s["printerCommands"][0]["printer"], "\\\\PC\\Label");
    });
}

} // namespace
