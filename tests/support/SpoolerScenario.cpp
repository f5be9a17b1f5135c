#include "support/SpoolerScenario.h"

#include "base/Compare.h"
#include "base/Utf.h"

#include <algorithm>
#include <cstdio>

namespace testing_support {
namespace winerr = ports::winerr;
namespace spool = ports::spool;
using ports::Status;

namespace {

constexpr wchar_t kRenamed[] = L"Orvello Parity Printer 2";
constexpr wchar_t kOther[] = L"Orvello Parity Other"; // a name the failing additions try
constexpr wchar_t kNoSuchPrinter[] = L"Orvello No Such Printer";
// Names the spooler refuses: empty, with a comma, '!' or backslash, longer than a name may be.
const std::vector<std::wstring> kBadNames = {std::wstring(), L"Orvello,Parity", L"Orvello!Parity",
                                             L"Orvello\\Parity", std::wstring(221, L'a')};
const std::vector<std::wstring> kDriverFiles = {L"OrvelloParity.dll", L"OrvelloParity.gpd",
                                                L"OrvelloParityUI.dll", L"OrvelloParity.ini"};

struct Context {
    const SpoolerScenarioSetup& setup;
    ports::PrintSpooler& sp;
    std::wstring previousDefault;
};

bool implemented(const SpoolerScenarioSetup& setup, const char* call) {
    return !setup.notImplemented.contains(call);
}

// For a single check within a step: whether to make it; one the platform does not implement is
// named in the output, as a skipped step is.
bool checking(const SpoolerScenarioSetup& setup, const char* call) {
    if (implemented(setup, call))
        return true;
    std::printf("check left out, not implemented by this platform: %s\n", call);
    ::testing::Test::RecordProperty("not_implemented", call);
    return false;
}

// A step: what it leaves in the spooler for the later steps (replayed without checks), and its checks.
struct Step {
    SpoolerScenarioStep info;
    Status (*act)(Context&);
    void (*check)(Context&);
};

ports::PrinterInfo2 scenarioPrinter(std::wstring_view name = kScenarioPrinter) {
    ports::PrinterInfo2 p;
    p.printerName = name;
    p.portName = L"FILE:";
    p.driverName = kScenarioDriver;
    p.comment = L"parity";
    p.location = L"";
    p.printProcessor = L"WinPrint";
    p.datatype = L"RAW";
    p.attributes = spool::AttributeLocal;
    return p;
}

bool endsWithNoCase(std::wstring_view text, std::wstring_view tail) {
    return text.size() >= tail.size() && text::equalsNoCase(text.substr(text.size() - tail.size()), tail);
}

template <typename T, typename F> bool anyOf(const std::vector<T>& list, F&& pred) {
    return std::any_of(list.begin(), list.end(), pred);
}

std::string narrow(std::wstring_view w) {
    return text::toUtf8(w);
}

Status openScenarioPrinter(Context& c, ports::SpoolerHandle& h, std::wstring_view name = kScenarioPrinter) {
    return c.sp.openPrinter(name, spool::PrinterAllAccess, h);
}

// --- acts

Status actAddDriver(Context& c) {
    std::wstring dir;
    if (Status s = c.sp.printerDriverDirectory(c.setup.environment, dir))
        return s;
    c.setup.prepareDriverFiles(dir, kDriverFiles);
    ports::DriverInfo d;
    d.level = 3;
    d.version = 3;
    d.name = kScenarioDriver;
    d.environment = c.setup.environment;
    d.driverPath = dir + L"\\" + kDriverFiles[0];
    d.dataFile = dir + L"\\" + kDriverFiles[1];
    d.configFile = dir + L"\\" + kDriverFiles[2];
    d.dependentFiles = {dir + L"\\" + kDriverFiles[3]};
    d.defaultDataType = L"RAW";
    return c.sp.addPrinterDriver(d);
}

Status actAddPrinter(Context& c) {
    ports::SpoolerHandle h;
    return c.sp.addPrinter(scenarioPrinter(), h);
}

Status actDeletePrinter(Context& c) {
    ports::SpoolerHandle h;
    if (Status s = openScenarioPrinter(c, h))
        return s;
    return c.sp.deletePrinter(h);
}

Status actDeleteDriver(Context& c) {
    return c.sp.deletePrinterDriver(c.setup.environment, kScenarioDriver, 0, 0);
}

// --- checks

void checkDriverDirectory(Context& c) {
    std::wstring dir;
    ASSERT_EQ(c.sp.printerDriverDirectory(c.setup.environment, dir), winerr::Success);
    EXPECT_TRUE(text::containsNoCase(dir, L"\\spool\\drivers\\")) << narrow(dir);
    EXPECT_EQ(c.sp.printerDriverDirectory(L"Windows 3.11", dir), winerr::InvalidEnvironment);
}

void checkAddDriver(Context& c) {
    ASSERT_EQ(actAddDriver(c), winerr::Success);
    // Adding it again updates it.
    EXPECT_EQ(actAddDriver(c), winerr::Success);
    ports::DriverInfo d;
    d.level = 3;
    d.name = kScenarioDriver;
    d.environment = L"Windows 3.11";
    d.driverPath = d.dataFile = d.configFile = kDriverFiles[0];
    EXPECT_EQ(c.sp.addPrinterDriver(d), winerr::InvalidEnvironment);
}

void checkEnumDrivers(Context& c) {
    for (std::uint32_t level : {1u, 2u, 3u, 4u, 5u, 6u, 8u}) {
        SCOPED_TRACE(level);
        std::vector<ports::DriverInfo> drivers;
        ASSERT_EQ(c.sp.enumDrivers(c.setup.environment, level, drivers), winerr::Success);
        auto it = std::find_if(drivers.begin(), drivers.end(),
                               [](const auto& d) { return d.name == kScenarioDriver; });
        ASSERT_NE(it, drivers.end());
        if (level == 1)
            continue;
        EXPECT_EQ(it->version, 3u);
        EXPECT_TRUE(text::equalsNoCase(it->environment, c.setup.environment)) << narrow(it->environment);
        EXPECT_TRUE(endsWithNoCase(it->driverPath, L"\\3\\OrvelloParity.dll")) << narrow(it->driverPath);
        EXPECT_TRUE(endsWithNoCase(it->configFile, L"\\3\\OrvelloParityUI.dll")) << narrow(it->configFile);
        if (level >= 3 && level != 5) {
            ASSERT_EQ(it->dependentFiles.size(), 1u);
            EXPECT_TRUE(endsWithNoCase(it->dependentFiles[0], L"OrvelloParity.ini"));
            EXPECT_FALSE(it->monitorName && !it->monitorName->empty());
        }
    }
    std::vector<ports::DriverInfo> none;
    EXPECT_EQ(c.sp.enumDrivers(c.setup.environment, 7, none), winerr::InvalidLevel);
}

void checkAddPrinter(Context& c) {
    ports::SpoolerHandle h;
    ASSERT_EQ(c.sp.addPrinter(scenarioPrinter(), h), winerr::Success);
    EXPECT_TRUE(h);
}

void checkExistingName(Context& c) {
    ports::SpoolerHandle h;
    EXPECT_EQ(c.sp.addPrinter(scenarioPrinter(), h), winerr::PrinterAlreadyExists);
}

void checkBadNames(Context& c) {
    for (const std::wstring& name : kBadNames) {
        SCOPED_TRACE(narrow(name));
        ports::SpoolerHandle h;
        EXPECT_EQ(c.sp.addPrinter(scenarioPrinter(name), h), winerr::InvalidPrinterName);
    }
    std::vector<ports::PrinterInfo2> printers;
    ASSERT_EQ(c.sp.enumPrinters2(spool::EnumLocal, printers), winerr::Success);
    EXPECT_FALSE(
        anyOf(printers, [](const auto& p) { return text::startsWithNoCase(p.printerName, L"Orvello!"); }));
}

void checkUnknownDriver(Context& c) {
    auto p = scenarioPrinter(kOther);
    p.driverName = L"Orvello No Such Driver";
    ports::SpoolerHandle h;
    EXPECT_EQ(c.sp.addPrinter(p, h), winerr::UnknownPrinterDriver);
}

void checkUnknownPort(Context& c) {
    auto p = scenarioPrinter(kOther);
    p.portName = L"ORVELLO_NO_SUCH_PORT:";
    ports::SpoolerHandle h;
    EXPECT_EQ(c.sp.addPrinter(p, h), winerr::UnknownPort);
}

void checkEnumPrinters(Context& c) {
    std::vector<ports::PrinterInfo2> all;
    ASSERT_EQ(c.sp.enumPrinters2(spool::EnumLocal, all), winerr::Success);
    auto it =
        std::find_if(all.begin(), all.end(), [](const auto& p) { return p.printerName == kScenarioPrinter; });
    ASSERT_NE(it, all.end());
    EXPECT_EQ(it->portName, L"FILE:");
    EXPECT_EQ(it->driverName, kScenarioDriver);
    EXPECT_TRUE(it->attributes & spool::AttributeLocal);
    std::vector<ports::PrinterInfo4> fours;
    ASSERT_EQ(c.sp.enumPrinters4(spool::EnumLocal, fours), winerr::Success);
    EXPECT_TRUE(anyOf(fours, [](const auto& p) { return p.printerName == kScenarioPrinter; }));
}

void checkGetPrinter(Context& c) {
    ports::SpoolerHandle h;
    ASSERT_EQ(openScenarioPrinter(c, h), winerr::Success);
    ports::PrinterInfo2 i;
    ASSERT_EQ(c.sp.getPrinter2(h, i), winerr::Success);
    EXPECT_EQ(i.printerName, kScenarioPrinter);
    EXPECT_EQ(i.portName, L"FILE:");
    EXPECT_EQ(i.driverName, kScenarioDriver);
    EXPECT_TRUE(text::equalsNoCase(i.printProcessor, L"winprint"));
    EXPECT_EQ(i.comment.value_or(L"?"), L"parity");
    ports::PrinterInfoAtLevel four, five;
    ASSERT_EQ(c.sp.getPrinterAtLevel(h, 4, four), winerr::Success);
    EXPECT_EQ(four.info4.printerName, kScenarioPrinter);
    ASSERT_EQ(c.sp.getPrinterAtLevel(h, 5, five), winerr::Success);
    EXPECT_EQ(five.portName, L"FILE:");
}

void checkGetPrinterDriver(Context& c) {
    ports::SpoolerHandle h;
    ASSERT_EQ(openScenarioPrinter(c, h), winerr::Success);
    ports::DriverInfo d;
    ASSERT_EQ(c.sp.getPrinterDriver(h, c.setup.environment, 3, d), winerr::Success);
    EXPECT_EQ(d.name, kScenarioDriver);
    EXPECT_TRUE(endsWithNoCase(d.dataFile, L"OrvelloParity.gpd")) << narrow(d.dataFile);
}

void checkPrinterData(Context& c) {
    ports::SpoolerHandle h;
    ASSERT_EQ(openScenarioPrinter(c, h), winerr::Success);
    const auto text = ports::RegValue::fromString(L"Bluetooth");
    ASSERT_EQ(c.sp.setPrinterData(h, L"PrinterDriverData", L"DeviceType", text), winerr::Success);
    ASSERT_EQ(c.sp.setPrinterData(h, L"PrinterDriverData", L"Speed", ports::RegValue::fromDword(6)),
              winerr::Success);
    ports::RegValue v;
    ASSERT_EQ(c.sp.getPrinterData(h, L"PrinterDriverData", L"DeviceType", v), winerr::Success);
    EXPECT_EQ(v.type, ports::regtype::Sz);
    EXPECT_EQ(v.asString(), L"Bluetooth");
    // Windows gives the bytes as written, with no terminating NUL added; Wine's registry sometimes
    // hands back the terminator it stored as well. Anything else is a different value.
    auto withNul = text.bytes;
    withNul.insert(withNul.end(), {0, 0});
    EXPECT_TRUE(v.bytes == text.bytes || v.bytes == withNul) << v.bytes.size() << " bytes";
    ASSERT_EQ(c.sp.getPrinterData(h, L"PrinterDriverData", L"Speed", v), winerr::Success);
    EXPECT_EQ(v.type, ports::regtype::Dword);
    EXPECT_EQ(v.asDword(), 6u);
    EXPECT_EQ(c.sp.getPrinterData(h, L"PrinterDriverData", L"NoSuchValue", v), winerr::FileNotFound);
    EXPECT_EQ(c.sp.getPrinterData(h, L"OrvelloNoSuchKey", L"DeviceType", v), winerr::FileNotFound);
}

void checkRename(Context& c) {
    ports::SpoolerHandle h;
    ASSERT_EQ(openScenarioPrinter(c, h), winerr::Success);
    ports::PrinterInfo2 i;
    ASSERT_EQ(c.sp.getPrinter2(h, i), winerr::Success);
    i.devMode.reset();
    i.printerName = kRenamed;
    ASSERT_EQ(c.sp.setPrinter2(h, i), winerr::Success);
    ports::SpoolerHandle old, renamed;
    EXPECT_EQ(c.sp.openPrinter(kScenarioPrinter, spool::PrinterAccessUse, old), winerr::InvalidPrinterName);
    EXPECT_EQ(c.sp.openPrinter(kRenamed, spool::PrinterAccessUse, renamed), winerr::Success);
    i.printerName = kScenarioPrinter;
    EXPECT_EQ(c.sp.setPrinter2(h, i), winerr::Success);
}

void checkPurge(Context& c) {
    ports::SpoolerHandle h;
    ASSERT_EQ(openScenarioPrinter(c, h), winerr::Success);
    ASSERT_EQ(c.sp.setPrinterCommand(h, spool::ControlPurge), winerr::Success);
    ports::PrinterInfo2 i;
    ASSERT_EQ(c.sp.getPrinter2(h, i), winerr::Success);
    EXPECT_EQ(i.cJobs, 0u);
}

void checkDefaultPrinter(Context& c) {
    ASSERT_EQ(c.sp.setDefaultPrinter(kScenarioPrinter), winerr::Success);
    std::wstring name;
    ASSERT_EQ(c.sp.getDefaultPrinter(name), winerr::Success);
    EXPECT_EQ(name, kScenarioPrinter);
    EXPECT_EQ(c.sp.setDefaultPrinter(kNoSuchPrinter), winerr::InvalidPrinterName);
}

void checkForms(Context& c) {
    ports::SpoolerHandle h;
    ASSERT_EQ(openScenarioPrinter(c, h), winerr::Success);
    std::vector<ports::FormInfo1> forms;
    ASSERT_EQ(c.sp.enumForms(h, forms), winerr::Success);
    auto a4 = std::find_if(forms.begin(), forms.end(), [](const auto& f) { return f.name == L"A4"; });
    ASSERT_NE(a4, forms.end());
    EXPECT_EQ(a4->flags, spool::FormBuiltin);
    EXPECT_EQ(a4->size.cx, 210000);
    EXPECT_EQ(a4->size.cy, 297000);
    ports::FormInfo1 f;
    EXPECT_EQ(c.sp.getForm(h, L"A4", f), winerr::Success);
    EXPECT_EQ(c.sp.getForm(h, L"Orvello No Such Form", f), winerr::InvalidFormName);
}

void checkMonitors(Context& c) {
    std::vector<ports::MonitorInfo2> monitors;
    ASSERT_EQ(c.sp.enumMonitors2(monitors), winerr::Success);
    auto local =
        std::find_if(monitors.begin(), monitors.end(), [](const auto& m) { return m.name == L"Local Port"; });
    ASSERT_NE(local, monitors.end());
    EXPECT_EQ(c.sp.addMonitor({L"Local Port", local->environment, local->dllName}),
              winerr::PrintMonitorAlreadyInstalled);
    EXPECT_EQ(c.sp.deleteMonitor(local->environment, L"Orvello No Such Monitor"),
              winerr::UnknownPrintMonitor);
}

void checkPorts(Context& c) {
    std::vector<ports::PortInfo2> list;
    ASSERT_EQ(c.sp.enumPorts2(list), winerr::Success);
    auto file = std::find_if(list.begin(), list.end(), [](const auto& p) { return p.portName == L"FILE:"; });
    ASSERT_NE(file, list.end());
    if (checking(c.setup, "EnumPortsW(monitor name)")) {
        EXPECT_EQ(file->monitorName.value_or(L""), L"Local Port");
    }
    ports::SpoolerHandle xcv;
    ASSERT_EQ(c.sp.openPrinter(L",XcvMonitor Local Port", spool::ServerAccessAdminister, xcv),
              winerr::Success);
    ports::PortData1 data;
    data.portName = kScenarioPort;
    auto r = c.sp.xcvAddPort(xcv, data);
    EXPECT_EQ(r.call, winerr::Success);
    EXPECT_EQ(r.monitor, winerr::Success);
    r = c.sp.xcvAddPort(xcv, data);
    EXPECT_EQ(r.call, winerr::Success);
    EXPECT_EQ(r.monitor, winerr::AlreadyExists);
    std::vector<ports::PortInfo1> names;
    ASSERT_EQ(c.sp.enumPorts1(names), winerr::Success);
    EXPECT_TRUE(anyOf(names, [](const auto& p) { return p.name == kScenarioPort; }));
    // A name the record cannot hold is refused whole, never cut to size.
    ports::PortData1 tooLong;
    tooLong.portName = std::wstring(64, L'p');
    EXPECT_EQ(c.sp.xcvAddPort(xcv, tooLong).call, winerr::InvalidParameter);
    r = c.sp.xcvDeletePort(xcv, kScenarioPort);
    EXPECT_EQ(r.call, winerr::Success);
    EXPECT_EQ(r.monitor, winerr::Success);
    ASSERT_EQ(c.sp.enumPorts1(names), winerr::Success);
    EXPECT_FALSE(anyOf(names, [](const auto& p) {
        return p.name == kScenarioPort || text::startsWithNoCase(p.name, L"pppppppppp");
    }));
}

void checkDriverInUse(Context& c) {
    EXPECT_EQ(c.sp.deletePrinterDriver(c.setup.environment, kScenarioDriver, 0, 0),
              winerr::PrinterDriverInUse);
}

void checkDeletePrinter(Context& c) {
    ASSERT_EQ(actDeletePrinter(c), winerr::Success);
    ports::SpoolerHandle h;
    EXPECT_EQ(openScenarioPrinter(c, h), winerr::InvalidPrinterName);
    std::vector<ports::PrinterInfo2> all;
    ASSERT_EQ(c.sp.enumPrinters2(spool::EnumLocal, all), winerr::Success);
    EXPECT_FALSE(anyOf(all, [](const auto& p) { return p.printerName == kScenarioPrinter; }));
}

void checkDeleteDriver(Context& c) {
    ASSERT_EQ(actDeleteDriver(c), winerr::Success);
    if (checking(c.setup, "DeletePrinterDriverExW(unknown driver)")) {
        EXPECT_EQ(actDeleteDriver(c), winerr::UnknownPrinterDriver);
    }
    std::vector<ports::DriverInfo> drivers;
    ASSERT_EQ(c.sp.enumDrivers(c.setup.environment, 1, drivers), winerr::Success);
    EXPECT_FALSE(anyOf(drivers, [](const auto& d) { return d.name == kScenarioDriver; }));
}

void checkUnknownPrinter(Context& c) {
    ports::SpoolerHandle h;
    EXPECT_EQ(c.sp.openPrinter(kNoSuchPrinter, spool::PrinterAccessUse, h), winerr::InvalidPrinterName);
    EXPECT_FALSE(h);
}

const std::vector<Step>& table() {
    static const std::vector<Step> steps = {
        {{"DriverDirectory", "GetPrinterDriverDirectoryW"}, nullptr, checkDriverDirectory},
        {{"AddDriver", "AddPrinterDriverW"}, actAddDriver, checkAddDriver},
        {{"EnumDriversAtEachLevel", "EnumPrinterDriversW"}, nullptr, checkEnumDrivers},
        {{"AddPrinterOnFile", "AddPrinterW"}, actAddPrinter, checkAddPrinter},
        {{"AddPrinterRefusesExistingName", "AddPrinterW(existing name)"}, nullptr, checkExistingName},
        {{"AddPrinterRefusesBadNames", "AddPrinterW(invalid name)"}, nullptr, checkBadNames},
        {{"AddPrinterRefusesUnknownDriver", "AddPrinterW(unknown driver)"}, nullptr, checkUnknownDriver},
        {{"AddPrinterRefusesUnknownPort", "AddPrinterW(unknown port)"}, nullptr, checkUnknownPort},
        {{"EnumPrinters", "EnumPrintersW"}, nullptr, checkEnumPrinters},
        {{"GetPrinterLevels", "GetPrinterW"}, nullptr, checkGetPrinter},
        {{"GetPrinterDriver", "GetPrinterDriverW"}, nullptr, checkGetPrinterDriver},
        {{"PrinterData", "SetPrinterDataExW"}, nullptr, checkPrinterData},
        {{"RenamePrinter", "SetPrinterW(level 2)"}, nullptr, checkRename},
        {{"Purge", "SetPrinterW(PRINTER_CONTROL_PURGE)"}, nullptr, checkPurge},
        {{"DefaultPrinter", "SetDefaultPrinterW"}, nullptr, checkDefaultPrinter},
        {{"Forms", "EnumFormsW"}, nullptr, checkForms},
        {{"Monitors", "AddMonitorW"}, nullptr, checkMonitors},
        {{"PortsThroughXcv", "XcvDataW(Local Port)"}, nullptr, checkPorts},
        {{"DriverInUse", "DeletePrinterDriverExW(in use)"}, nullptr, checkDriverInUse},
        {{"DeletePrinter", "DeletePrinter"}, actDeletePrinter, checkDeletePrinter},
        {{"DeleteDriver", "DeletePrinterDriverExW"}, actDeleteDriver, checkDeleteDriver},
        {{"OpenUnknownPrinter", "OpenPrinterW"}, nullptr, checkUnknownPrinter},
    };
    return steps;
}

// Takes away whatever the scenario may have left, then gives the default printer back.
void cleanUp(Context& c) {
    // A spooler that wrongly took a refused name must not keep the printer either.
    std::vector<std::wstring> names = {kScenarioPrinter, kRenamed, kOther};
    for (const auto& bad : kBadNames) {
        if (!bad.empty())
            names.push_back(bad);
    }
    for (const auto& name : names) {
        ports::SpoolerHandle h;
        if (c.sp.openPrinter(name, spool::PrinterAllAccess, h) != winerr::Success)
            continue;
        if (implemented(c.setup, "SetPrinterW(PRINTER_CONTROL_PURGE)"))
            (void)c.sp.setPrinterCommand(h, spool::ControlPurge);
        (void)c.sp.deletePrinter(h);
    }
    (void)c.sp.deletePrinterDriver(c.setup.environment, kScenarioDriver, 0, 0);
    ports::SpoolerHandle xcv;
    if (c.sp.openPrinter(L",XcvMonitor Local Port", spool::ServerAccessAdminister, xcv) == winerr::Success)
        (void)c.sp.xcvDeletePort(xcv, kScenarioPort);
    std::wstring current;
    const bool lost = c.sp.getDefaultPrinter(current) != winerr::Success || current == kScenarioPrinter ||
                      current == kRenamed;
    if (lost && !c.previousDefault.empty() && c.previousDefault != kScenarioPrinter &&
        c.previousDefault != kRenamed)
        (void)c.sp.setDefaultPrinter(c.previousDefault);
}

} // namespace

const std::vector<SpoolerScenarioStep>& spoolerScenarioSteps() {
    static const std::vector<SpoolerScenarioStep> steps = [] {
        std::vector<SpoolerScenarioStep> out;
        for (const auto& s : table())
            out.push_back(s.info);
        return out;
    }();
    return steps;
}

::testing::internal::ParamGenerator<std::size_t> spoolerScenarioRange() {
    return ::testing::Range<std::size_t>(0, spoolerScenarioSteps().size());
}

std::string spoolerScenarioStepName(const ::testing::TestParamInfo<std::size_t>& info) {
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%02zu_", info.param);
    return prefix + std::string(spoolerScenarioSteps().at(info.param).name);
}

void runSpoolerScenarioStep(const SpoolerScenarioSetup& setupIn, std::size_t index) {
    ASSERT_LT(index, table().size());
    SpoolerScenarioSetup setup = setupIn;
    if (!setup.prepareDriverFiles) {
        setup.prepareDriverFiles = [files = setup.files](const std::wstring& dir,
                                                         const std::vector<std::wstring>& names) {
            const std::vector<std::uint8_t> bytes = {'M', 'Z'};
            for (const auto& n : names)
                ASSERT_EQ(files->writeFile(dir + L"\\" + n, bytes), winerr::Success) << narrow(n);
        };
    }
    Context c{setup, *setup.spooler, {}};
    if (c.sp.getDefaultPrinter(c.previousDefault) != winerr::Success)
        c.previousDefault.clear();
    const Step& step = table()[index];
    if (!implemented(setup, step.info.call))
        GTEST_SKIP() << "not implemented by this platform: " << step.info.call;
    cleanUp(c);
    for (std::size_t i = 0; i < index; ++i) {
        const Step& earlier = table()[i];
        if (!earlier.act || !implemented(setup, earlier.info.call))
            continue;
        if (Status s = earlier.act(c)) {
            ADD_FAILURE() << "replaying " << earlier.info.call << " failed with " << s;
            cleanUp(c);
            return;
        }
    }
    step.check(c);
    cleanUp(c);
}

Status addDriverWithFiles(ports::PrintSpooler& spooler, ports::FileSystem& files,
                          std::wstring_view environment, std::wstring_view name) {
    std::wstring dir;
    if (Status s = spooler.printerDriverDirectory(environment, dir))
        return s;
    const std::wstring base(name);
    const std::vector<std::uint8_t> bytes = {'M', 'Z'};
    for (const wchar_t* ext : {L".dll", L".gpd", L"UI.dll", L".ini"}) {
        if (Status s = files.writeFile(dir + L"\\" + base + ext, bytes))
            return s;
    }
    ports::DriverInfo d;
    d.level = 3;
    d.version = 3;
    d.name = base;
    d.environment = environment;
    d.driverPath = base + L".dll";
    d.dataFile = base + L".gpd";
    d.configFile = base + L"UI.dll";
    d.dependentFiles = {base + L".ini"};
    d.defaultDataType = L"RAW";
    return spooler.addPrinterDriver(d);
}

} // namespace testing_support
