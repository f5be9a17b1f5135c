// A state file is hand-written data: a section, an entry or a member of an unexpected JSON type is
// passed over with a line in the machine's log, and no port operation stops the program on it.
#include "support/TestMachine.h"

#include "platform/sim/SimClock.h"
#include "platform/sim/SimJson.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using testing_support::TestMachine;
namespace winerr = ports::winerr;

// Every section's readers: each port operation that reads it, results checked only for being sound.
void useEveryPort(ports::Platform& p) {
    auto& profile = p.profile();
    profile.setApplicationKey(L"ZEVR", L"Orvello");
    EXPECT_EQ(profile.readInt(L"SetupMode", L"SetupMode", -7), -7);
    (void)profile.readString(L"SetupMode", L"SetupPrinter", L"");
    EXPECT_EQ(profile.writeInt(L"SetupMode", L"SetupPortType", 2), winerr::Success);
    EXPECT_EQ(profile.readInt(L"SetupMode", L"SetupPortType", 0), 2);

    auto& sys = p.system();
    (void)sys.nativeArchitecture();
    (void)sys.windowsVersion();
    (void)sys.userDefaultUiLanguage();
    (void)sys.modulePath();
    (void)sys.ansiCodePage();
    (void)p.clock().localTime();
    std::uint16_t reported = 0;
    if (p.host().startWinsock(ports::winsockVersion(2, 2), reported) == winerr::Success) {
        EXPECT_EQ(p.host().cleanupWinsock(), winerr::Success);
    }

    auto& sp = p.spooler();
    std::vector<ports::PrinterInfo2> printers;
    (void)sp.enumPrinters2(0, printers);
    std::vector<ports::PrinterInfo4> printers4;
    (void)sp.enumPrinters4(0, printers4);
    for (const auto& printer : printers) {
        ports::SpoolerHandle h;
        if (sp.openPrinter(printer.printerName, 0, h) != winerr::Success)
            continue;
        ports::PrinterInfo2 info;
        (void)sp.getPrinter2(h, info);
        std::vector<ports::FormInfo1> forms;
        (void)sp.enumForms(h, forms);
    }
    std::wstring defaultPrinter;
    (void)sp.getDefaultPrinter(defaultPrinter);
    std::vector<ports::DriverInfo> drivers;
    (void)sp.enumDrivers(L"", 6, drivers);
    std::vector<ports::PortInfo2> ports2;
    (void)sp.enumPorts2(ports2);
    std::vector<ports::MonitorInfo2> monitors;
    (void)sp.enumMonitors2(monitors);
    ports::SpoolerHandle server;
    if (sp.openPrinter(L"", 0, server) == winerr::Success) {
        std::vector<ports::FormInfo1> forms;
        (void)sp.enumForms(server, forms);
    }
    (void)sp.driverStoreAvailable();

    auto& dt = p.devices();
    std::vector<std::wstring> ids;
    (void)dt.getDeviceIdList(L"", 0, ids);
    ports::DeviceInfoSet set;
    if (dt.getClassDevs(std::nullopt, L"", ports::digcf::AllClasses, set) == winerr::Success) {
        ports::DeviceInfoData data;
        for (std::uint32_t i = 0; i < 64 && dt.enumDeviceInfo(set, i, data) == winerr::Success; ++i) {
            std::wstring id;
            (void)dt.getDeviceInstanceId(set, data, id);
        }
    }

    auto& bt = p.bluetooth();
    ports::BluetoothRadio radio;
    (void)bt.findFirstRadio(radio);
    ports::BluetoothDeviceSearch search;
    ports::BluetoothDeviceInfo device;
    if (bt.findFirstDevice({}, radio, search, device) == winerr::Success) {
        std::vector<ports::Guid> services;
        (void)bt.installedServices(device, services);
        for (int i = 0; i < 64 && bt.findNextDevice(search, device) == winerr::Success; ++i) {
        }
    }

    auto& sc = p.services();
    ports::ServiceManagerHandle manager;
    if (sc.openManager(ports::svc::GenericExecute, manager) == winerr::Success) {
        ports::ServiceHandle spooler;
        if (sc.openService(manager, L"Spooler", ports::svc::AccessQueryStatus, spooler) == winerr::Success) {
            ports::ServiceStatus status;
            (void)sc.queryStatus(spooler, status);
        }
    }

    ports::ProcessStartInfo info;
    info.commandLine = L"rundll32 printui.dll,PrintUIEntry /k";
    ports::ProcessHandle process;
    EXPECT_EQ(p.processes().start(info, process), winerr::Success);
}

struct Case {
    const char* what;
    const char* logged; // part of the log line
    std::function<void(sim::Json&)> spoil;
};

const std::vector<Case>& cases() {
    using sim::Json;
    static const std::vector<Case> all = {
        {"system itself", "system passed over", [](Json& s) { s["system"] = Json::array({1}); }},
        {"system member", "system.localTime", [](Json& s) { s["system"]["localTime"] = 20240529; }},
        {"system list member", "system.missingLibraries",
         [](Json& s) {
             s["system"]["missingLibraries"] = Json::array({"x.dll", 7});
         }},
        {"profile itself", "profile passed over", [](Json& s) { s["profile"] = "none"; }},
        {"profile key", "profile.software",
         [](Json& s) { s["profile"]["software\\ZEVR\\Orvello\\SetupMode"] = 3; }},
        {"profile value", "SetupMode.SetupMode",
         [](Json& s) {
             s["profile"]["software\\ZEVR\\Orvello\\SetupMode"] = {{"SetupMode", 3}};
         }},
        {"services itself", "services passed over", [](Json& s) { s["services"] = 1; }},
        {"service", "services.Spooler", [](Json& s) { s["services"]["Spooler"] = "running"; }},
        {"service member", "services.Spooler.state",
         [](Json& s) {
             s["services"]["Spooler"] = {{"state", 4}, {"startDelayMs", Json::array()}};
         }},
        {"spooler itself", "spooler passed over", [](Json& s) { s["spooler"] = Json::array(); }},
        {"printer list", "spooler.printers",
         [](Json& s) {
             s["spooler"]["printers"] = {{"name", "x"}};
         }},
        {"printer", "spooler.printers[0]",
         [](Json& s) { s["spooler"]["printers"] = Json::array({"Label"}); }},
        {"printer without name", "no text \"name\"",
         [](Json& s) {
             s["spooler"]["printers"] = Json::array({{{"name", 5}, {"port", "LPT1:"}}});
         }},
        {"printer member", "spooler.printers[0].data",
         [](Json& s) {
             s["spooler"]["printers"] =
                 Json::array({{{"name", "Label"}, {"port", "LPT1:"}, {"driver", 3}, {"data", "x"}}});
         }},
        {"driver", "spooler.drivers[0]", [](Json& s) { s["spooler"]["drivers"] = Json::array({7}); }},
        {"driver member", "spooler.drivers[0].dependentFiles",
         [](Json& s) {
             s["spooler"]["drivers"] = Json::array({{{"name", "D"},
                                                     {"environment", "Windows x64"},
                                                     {"dependentFiles", {{"a", 1}}},
                                                     {"papers", 1}}});
         }},
        {"driver paper", "papers[0]",
         [](Json& s) {
             s["spooler"]["drivers"] = Json::array(
                 {{{"name", "D"}, {"environment", "Windows x64"}, {"papers", Json::array({"A4"})}}});
         }},
        {"port member", "spooler.ports[0].tcp",
         [](Json& s) {
             s["spooler"]["ports"] = Json::array({{{"name", "IP_1"}, {"tcp", "10.0.0.1"}}});
         }},
        {"monitor", "spooler.monitors", [](Json& s) { s["spooler"]["monitors"] = "Local Port"; }},
        {"form member", "spooler.forms[0].area",
         [](Json& s) {
             s["spooler"]["forms"] = Json::array({{{"name", "A4"}, {"area", 5}}});
         }},
        {"default printer", "spooler.defaultPrinter", [](Json& s) { s["spooler"]["defaultPrinter"] = 1; }},
        {"driver store", "spooler.driverStore", [](Json& s) { s["spooler"]["driverStore"] = true; }},
        {"driver store package", "packages[0]",
         [](Json& s) {
             s["spooler"]["driverStore"] = {{"packages", Json::array({{{"infPath", 1}}})}};
         }},
        {"devices itself", "devices passed over", [](Json& s) { s["devices"] = 0; }},
        {"device node", "devices.nodes[0]",
         [](Json& s) { s["devices"]["nodes"] = Json::array({Json::array()}); }},
        {"device node member", "devices.nodes[0].hardwareIds",
         [](Json& s) {
             s["devices"]["nodes"] =
                 Json::array({{{"instanceId", "USB\\VID_1&PID_2\\1"}, {"hardwareIds", 3}}});
         }},
        {"device node key value", "devices.nodes[0].deviceKey.PortName",
         [](Json& s) {
             s["devices"]["nodes"] = Json::array(
                 {{{"instanceId", "USB\\VID_1&PID_2\\1"}, {"deviceKey", {{"PortName", "COM3"}}}}});
         }},
        {"serial ports", "devices.serialComm",
         [](Json& s) {
             s["devices"]["serialComm"] = {{"COM1", 1}};
         }},
        {"bluetooth itself", "bluetooth passed over", [](Json& s) { s["bluetooth"] = "on"; }},
        {"bluetooth radio", "bluetooth.radio", [](Json& s) { s["bluetooth"]["radio"] = true; }},
        {"bluetooth device", "bluetooth.devices[0]",
         [](Json& s) {
             s["bluetooth"]["devices"] = Json::array({{{"address", 0xDC0D30A1B2C3}}});
         }},
        {"bluetooth device member", "bluetooth.devices[0].offers",
         [](Json& s) {
             s["bluetooth"]["radio"] = Json::object();
             s["bluetooth"]["devices"] =
                 Json::array({{{"address", "DC0D30A1B2C3"}, {"offers", 1}, {"paired", "yes"}}});
         }},
        {"faults itself", "faults passed over",
         [](Json& s) {
             s["faults"] = {{"operation", "OpenPrinterW"}};
         }},
        {"fault", "faults[0]", [](Json& s) { s["faults"] = Json::array({"RegSetValueEx"}); }},
        {"commands run", "state.commandsRun", [](Json& s) { s["commandsRun"] = 5; }},
    };
    return all;
}

class MisshapenState : public ::testing::TestWithParam<std::size_t> {};

TEST_P(MisshapenState, IsPassedOverWithAReasonAndNoPortStops) {
    const Case& c = cases()[GetParam()];
    SCOPED_TRACE(c.what);
    TestMachine m;
    sim::VirtualClock clock; // the Bluetooth inquiry and the services wait on it
    m.platform().useClock(&clock);
    std::string log;
    m.machine().setLog([&](std::string_view line) { log.append(line).append("\n"); });
    m.machine().write(c.spoil);
    EXPECT_NE(log.find(c.logged), std::string::npos) << log;
    useEveryPort(m.platform());
}

INSTANTIATE_TEST_SUITE_P(EverySection, MisshapenState, ::testing::Range<std::size_t>(0, cases().size()));

// The same from a state file: checked when the machine loads it, and again when another process
// changes it.
TEST(MisshapenStateFile, IsCheckedWhenLoadedAndWhenAnotherProcessChangesIt) {
    testing_support::TempFolder folder;
    const auto file = folder.path() / "machine.json";
    sim::Json state = sim::demoMachineState();
    state["profile"] = {{"software\\ZEVR\\Orvello\\SetupMode", {{"SetupMode", 3}}}};
    state["system"]["localTime"] = 5;
    std::ofstream(file) << state.dump(2);
    std::string log;
    ports::Status status = 0;
    auto machine = sim::SimMachine::openFile(file, status,
                                             [&](std::string_view line) { log.append(line).append("\n"); });
    ASSERT_TRUE(machine) << status;
    EXPECT_NE(log.find("profile.software\\ZEVR\\Orvello\\SetupMode.SetupMode"), std::string::npos) << log;
    EXPECT_NE(log.find("system.localTime"), std::string::npos) << log;
    sim::SimPlatform platform(*machine, testing_support::programResources());
    sim::VirtualClock clock;
    platform.useClock(&clock);
    useEveryPort(platform);

    // Another process writes the file: read again and checked.
    log.clear();
    state["services"] = {{"Spooler", 1}};
    std::ofstream(file) << state.dump(2) << "\n";
    useEveryPort(platform);
    EXPECT_NE(log.find("services.Spooler"), std::string::npos) << log;
}

} // namespace
