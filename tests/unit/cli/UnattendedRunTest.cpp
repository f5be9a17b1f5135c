// Unattended runs of the program on a simulated machine, start-up included: the real catalogue and
// language tables, a skin archive that carries a driver package, the engine's routines. Each command
// is checked by its exit code, its console lines, its log file and the machine it leaves.
#include "NetworkPrinterResponder.h"
#include "app/CApp.h"
#include "cli/ExitCodes.h"
#include "cli/UnattendedRun.h"
#include "discovery/udp/UdpPrinterInfo.h"
#include "engine/BackgroundCommands.h"
#include "engine/OutputCapture.h"
#include "platform/sim/SimClock.h"
#include "unit/app/AppFakes.h"
#include "unit/engine/PackageArchive.h"

#include <nlohmann/json.hpp>

#include "unit/cli/UnattendedProgram.h"
#include "unit/cli/Words.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

namespace winerr = ports::winerr;

// The program's own resources, with a skin archive that carries only the test package: without the
// language folders the engine's messages stay as the code writes them.
class PackagedResources final : public ports::Resources {
public:
    PackagedResources() : zip_(testing_support::buildZip(engine_test::packageArchive())) {}
    std::optional<std::span<const std::uint8_t>> find(std::wstring_view type,
                                                      std::uint16_t id) noexcept override {
        if (type == ports::kResourceTypeZip && id == ports::kResourceSkin)
            return std::span<const std::uint8_t>(zip_);
        return testing_support::programResources().find(type, id);
    }

private:
    std::vector<std::uint8_t> zip_;
};

struct RunResult {
    int exitCode = -1;
    std::vector<std::wstring> out;
    std::vector<std::wstring> err;

    // The console's lines (a table comes as one text of several lines).
    std::vector<std::wstring> lines() const {
        std::vector<std::wstring> all;
        for (const auto& text : out) {
            std::size_t pos = 0;
            while (true) {
                const auto end = text.find(L'\n', pos);
                all.push_back(text.substr(pos, end - pos));
                if (end == std::wstring::npos)
                    break;
                pos = end + 1;
            }
        }
        return all;
    }
    // On either stream: the log's lines go to the error stream.
    bool said(std::wstring_view part) const {
        for (const auto* stream : {&out, &err})
            for (const auto& l : *stream)
                if (l.find(part) != std::wstring::npos)
                    return true;
        return false;
    }
};

using cli_test::words;

class UnattendedRun : public ::testing::Test {
protected:
    UnattendedRun() { cli_test::makeSystemFolders(platform, machine.machine()); }

    RunResult run(std::wstring_view line) { return run(words(line)); }
    RunResult run(const std::vector<std::wstring>& args) {
        RunResult r;
        const cli::Console console{[&](std::wstring_view l) { r.out.emplace_back(l); },
                                   [&](std::wstring_view l) { r.err.emplace_back(l); }};
        r.exitCode = cli_test::runUnattended(platform, args, console, L"9.8.7.6");
        return r;
    }

    std::vector<ports::PrinterInfo2> printers() {
        std::vector<ports::PrinterInfo2> list;
        EXPECT_EQ(platform.spooler().enumPrinters2(ports::spool::EnumLocal, list), winerr::Success);
        return list;
    }
    const ports::PrinterInfo2* printer(const std::vector<ports::PrinterInfo2>& list, std::wstring_view name) {
        for (const auto& p : list)
            if (p.printerName == name)
                return &p;
        return nullptr;
    }
    std::vector<std::wstring> portNames() {
        std::vector<ports::PortInfo2> list;
        EXPECT_EQ(platform.spooler().enumPorts2(list), winerr::Success);
        std::vector<std::wstring> names;
        for (const auto& p : list)
            names.push_back(p.portName);
        return names;
    }
    std::wstring defaultPrinter() {
        std::wstring name;
        (void)platform.spooler().getDefaultPrinter(name);
        return name;
    }
    std::string fileText(const std::wstring& path) {
        std::ifstream in(machine.machine().hostPath(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    testing_support::TestMachine machine;
    PackagedResources resources;
    sim::SimPlatform platform{machine.machine(), resources};
};

TEST_F(UnattendedRun, InstallsOnAnExistingPortUnderTheGivenNameAndLogsEveryStep) {
    const RunResult r = run(
        L"/install /model:JN-2232T /port:file: /name:Counter /default /log:C:\\Logs\\printer.log -simulate");
    EXPECT_EQ(r.exitCode, cli::kExitSuccess);
    const auto list = printers();
    const auto* queue = printer(list, L"Counter");
    ASSERT_TRUE(queue);
    EXPECT_EQ(queue->driverName, L"JN-2232T");
    EXPECT_EQ(queue->portName, L"FILE:");
    EXPECT_EQ(defaultPrinter(), L"Counter");
    EXPECT_TRUE(r.said(L"OK    安装完成."));
    // Results only on the standard output.
    EXPECT_TRUE(r.out.empty());

    const std::string log = fileText(L"C:\\Logs\\printer.log");
    EXPECT_NE(log.find(" INFO  Orvello 9.8.7.6, unattended\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" INFO  installing JN-2232T on FILE: as Counter\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" OK    已设置为默认打印机.\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" OK    安装完成.\r\n"), std::string::npos) << log;
    EXPECT_TRUE(log.ends_with(" INFO  exit code 0\r\n")) << log;
    EXPECT_EQ(log.find("ERROR"), std::string::npos) << log;

    // A second run appends to the same log.
    EXPECT_EQ(run(L"/list:printers /quiet /log:C:\\Logs\\printer.log").exitCode, cli::kExitSuccess);
    const std::string more = fileText(L"C:\\Logs\\printer.log");
    EXPECT_TRUE(more.starts_with(log));
    EXPECT_GT(more.size(), log.size());
}

TEST_F(UnattendedRun, NetworkPrinterGetsThePortAndTheNameTheWizardProposes) {
    const RunResult first = run(L"/install /model:JN-2232T /ip:192.168.5.20 /quiet");
    EXPECT_EQ(first.exitCode, cli::kExitSuccess);
    // Quiet: the console shows no log lines.
    EXPECT_TRUE(first.out.empty() && first.err.empty());
    const auto ports = portNames();
    EXPECT_NE(std::find(ports.begin(), ports.end(), L"JN-2232T_192.168.5.20"), ports.end());
    const auto list = printers();
    const auto* queue = printer(list, L"JN-2232T");
    ASSERT_TRUE(queue);
    EXPECT_EQ(queue->portName, L"JN-2232T_192.168.5.20");

    // The next printer of the model is numbered, on a port named on the command line.
    EXPECT_EQ(run(L"/install /model:JN-2232T /ip:lp2.shop /portname:Back_door").exitCode, cli::kExitSuccess);
    const auto after = printers();
    const auto* second = printer(after, L"JN-2232T(1)");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->portName, L"Back_door");
}

TEST_F(UnattendedRun, RefusalsChangeNothing) {
    ASSERT_EQ(run(L"/install /model:JN-2232T /port:FILE: /name:Counter").exitCode, cli::kExitSuccess);
    ASSERT_EQ(run(L"/install /model:JN-2232T /ip:10.0.0.7").exitCode, cli::kExitSuccess);
    const struct {
        const wchar_t* line;
        int exitCode;
        const wchar_t* says;
    } cases[] = {
        {L"/install /model:JN-9999 /port:FILE:", cli::kExitBadCommandLine,
         L"the model JN-9999 is not in the catalogue of CorvaneEx (see /list:models): nothing was changed"},
        {L"/install /model:JN-2232T /serial:COM9:", cli::kExitBadCommandLine,
         L"the port COM9: does not exist on this machine (see /list:ports): nothing was changed"},
        {L"/install /model:JN-2232T /port:FILE: /name:counter", cli::kExitBadCommandLine,
         L"a printer named Counter exists already: nothing was changed"},
        {L"/install /model:JN-2232T /ip:10.0.0.7 /name:Other", cli::kExitBadCommandLine,
         L"JN-2232T_10.0.0.7: nothing was changed"},
        {L"/install /model:JN-2232T /ip:printer-in-the-back-room", cli::kExitBadCommandLine,
         L"is longer than a Standard TCP/IP port holds (15 characters): nothing was changed"},
        {L"/install /model:JN-2232T /udp", cli::kExitBadCommandLine,
         L"the model JN-2232T does not answer the network search: give its address with /ip: nothing was "
         L"changed"},
        {L"/install /usb:USBPRINT\\NoSuchPrinter", cli::kExitFailed,
         L"no USB printer with the hardware ID USBPRINT\\NoSuchPrinter is plugged in: nothing was changed"},
        {L"/delete /all", cli::kExitNotAvailable,
         L"/delete is not available in this version: nothing was changed"},
        {L"/upgrade /printer:Counter", cli::kExitNotAvailable,
         L"/upgrade is not available in this version: nothing was changed"},
    };
    const auto printersBefore = printers();
    const auto portsBefore = portNames();
    for (const auto& c : cases) {
        const RunResult r = run(c.line);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.line;
        EXPECT_TRUE(r.said(c.says)) << c.line;
        EXPECT_EQ(printers().size(), printersBefore.size()) << c.line;
        EXPECT_EQ(portNames(), portsBefore) << c.line;
    }
}

TEST_F(UnattendedRun, BadCommandLinesStopBeforeStartUp) {
    const RunResult r = run(L"/install /model:JN-2232T /ip:1.2.3.999");
    EXPECT_EQ(r.exitCode, cli::kExitBadCommandLine);
    ASSERT_GE(r.err.size(), 3u);
    EXPECT_EQ(r.err[0], L"/ip:1.2.3.999 is not an IPv4 address or a host name");
    EXPECT_TRUE(r.err[2].starts_with(L"Usage: Orvello.exe")) << r.err[2];
    EXPECT_TRUE(r.out.empty());

    const RunResult help = run(L"/?");
    EXPECT_EQ(help.exitCode, cli::kExitSuccess);
    ASSERT_EQ(help.out.size(), 1u);
    EXPECT_TRUE(help.out[0].starts_with(L"Usage: Orvello.exe"));
    const RunResult version = run(L"/version");
    EXPECT_EQ(version.out, (std::vector<std::wstring>{L"Orvello 9.8.7.6"}));

    // A log file that cannot be written (its folder is a file): nothing runs.
    std::ofstream(machine.machine().hostPath(L"C:\\blocker")) << "a file";
    const RunResult log = run(L"/install /model:JN-2232T /port:FILE: /log:C:\\blocker\\x.log");
    EXPECT_EQ(log.exitCode, cli::kExitBadCommandLine);
    EXPECT_FALSE(printer(printers(), L"JN-2232T"));
}

TEST_F(UnattendedRun, AFailedDriverInstallationIsAFailureAndLeavesNoPort) {
    machine.machine().write([](sim::Json& s) {
        s["faults"].push_back(
            {{"operation", "UploadPrinterDriverPackageW"}, {"code", 0x80070005u}, {"count", 1}});
    });
    const RunResult r = run(L"/install /model:JN-2232T /ip:10.0.0.8");
    EXPECT_EQ(r.exitCode, cli::kExitFailed);
    EXPECT_TRUE(r.said(L"ERROR the installation did not complete"));
    EXPECT_TRUE(r.said(L"INFO  exit code 1603"));
    const auto ports = portNames();
    EXPECT_EQ(std::find(ports.begin(), ports.end(), L"JN-2232T_10.0.0.8"), ports.end());
    EXPECT_TRUE(printers().empty() || !printer(printers(), L"JN-2232T"));
}

TEST_F(UnattendedRun, AnotherCopyRunning) {
    app_fakes::RecordedApp running(machine.machine(), resources);
    ASSERT_TRUE(running.app->initInstance());
    const RunResult r = run(L"/install /model:JN-2232T /port:FILE:");
    EXPECT_EQ(r.exitCode, cli::kExitAnotherCopyRuns);
    EXPECT_TRUE(r.said(L"another copy of the wizard is running: nothing was changed"));
    EXPECT_FALSE(printer(printers(), L"JN-2232T"));
}

TEST_F(UnattendedRun, ListsThisMakersModelsPrintersAndPorts) {
    ASSERT_EQ(run(L"/install /model:JN-2232T /ip:10.0.0.9 /name:Dock").exitCode, cli::kExitSuccess);

    RunResult r = run(L"/list:models /filter:jn-2232 /quiet");
    EXPECT_EQ(r.exitCode, cli::kExitSuccess);
    EXPECT_EQ(r.lines(), (std::vector<std::wstring>{
                             L"model     hardwareId                      networkSearch  languageMonitor",
                             L"JN-2232T  USBPRINT\\CorvaneExJN-2232TFA69  false          false"}));

    // Without /quiet too, the standard output holds the JSON alone.
    r = run(L"/list:printers /json");
    ASSERT_EQ(r.out.size(), 1u);
    const auto printersJson = nlohmann::json::parse(text::toUtf8(r.out[0]));
    ASSERT_EQ(printersJson.size(), 1u) << printersJson.dump();
    EXPECT_EQ(printersJson[0]["printer"], "Dock");
    EXPECT_EQ(printersJson[0]["port"], "JN-2232T_10.0.0.9");
    EXPECT_EQ(printersJson[0]["default"], false);

    r = run(L"/list:ports /quiet");
    auto lines = r.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[1].starts_with(L"JN-2232T_10.0.0.9  ")) << lines[1];
    EXPECT_TRUE(lines[1].ends_with(L"Dock")) << lines[1];

    r = run(L"/list:drivers /quiet");
    lines = r.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[1].starts_with(L"JN-2232T  Windows x64")) << lines[1];
}

TEST_F(UnattendedRun, SearchListsUsbPrintersAndTheNetworkPrintersThatAnswer) {
    netprinter::SimulatedPrinter a, b;
    a.name = "LP-A";
    a.model = "JN-2232T";
    a.mac = "00:1B:44:00:00:01";
    b = a;
    b.name = "LP-B";
    b.model = "JN-2203T-S";
    b.mac = "00:1B:44:00:00:02";
    netprinter::NetworkPrinterResponder responder(platform.network(), {a, b});
    ASSERT_TRUE(responder.Open(L"127.0.0.1", 0));
    const std::wstring target = L"/udptarget:127.0.0.1:" + std::to_wstring(responder.localEndpoint().port);

    // Three seconds leave room for a machine busy with other work: the replies come within one.
    RunResult r = run(L"/search /json /quiet /timeout:3 /udpfrom:127.0.0.1 " + target);
    EXPECT_EQ(r.exitCode, cli::kExitSuccess);
    ASSERT_EQ(r.out.size(), 1u);
    const auto found = nlohmann::json::parse(text::toUtf8(r.out[0]));
    ASSERT_EQ(found["usb"].size(), 1u) << found.dump();
    EXPECT_EQ(found["usb"][0]["model"], "JN-2203T-S");
    EXPECT_EQ(found["usb"][0]["port"], "USB001");
    EXPECT_EQ(found["usb"][0]["installed"], false);
    ASSERT_EQ(found["network"].size(), 2u) << found.dump();
    EXPECT_EQ(found["network"][0]["mac"], "00:1B:44:00:00:01");
    EXPECT_EQ(found["network"][1]["model"], "JN-2203T-S");
    EXPECT_GE(responder.requestsAnswered(), 1u);

    // One model only, as a table.
    r = run(L"/search /udp /model:JN-2232T /quiet /timeout:3 /udpfrom:127.0.0.1 " + target);
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], L"Network printers:");
    EXPECT_TRUE(lines[2].starts_with(L"LP-A  JN-2232T")) << lines[2];
}

// Another program holds the port the replies come to (an open wizard searching): the search says it
// cannot hear them instead of listing nothing as if no printer had answered.
TEST_F(UnattendedRun, ASearchThatCannotListenSaysSo) {
    ports::Network& network = platform.network();
    ports::UdpSocket holder;
    ASSERT_EQ(network.openUdp(holder), winerr::Success);
    // Taken by this socket, or already by another program: either way the search cannot have it.
    (void)network.bind(holder, {0x7F000001, discovery::kSearcherUdpPort});
    const RunResult r = run(L"/search /udp /timeout:1 /udpfrom:127.0.0.1 /udptarget:127.0.0.1:9");
    EXPECT_TRUE(r.said(L"ERROR the network search cannot listen on 127.0.0.1 port 22369"))
        << (r.err.empty() ? std::string() : text::toUtf8(r.err.back()));
    (void)network.shutdown(holder);
}

// The demo machine's plugged-in printer, through the simulated device-console tool as a child
// process: the tool's "done, restart needed" becomes 3010.
TEST_F(UnattendedRun, UsbPrinterFirstFoundAndTheRestartTheToolAsksFor) {
    const RunResult done = run(L"/install /usb /quiet");
    EXPECT_EQ(done.exitCode, cli::kExitSuccess);
    const auto list = printers();
    const auto* queue = printer(list, L"JN-2203T-S");
    ASSERT_TRUE(queue);
    EXPECT_EQ(queue->portName, L"USB001");

    machine.machine().write([](sim::Json& s) { s["devices"]["updateNeedsRestart"] = true; });
    const RunResult again =
        run(L"/install /usb:USBPRINT\\CorvaneExJN-2203T-S50F3 /name:Second /log:C:\\u.log");
    EXPECT_EQ(again.exitCode, cli::kExitRestartNeeded);
    EXPECT_TRUE(printer(printers(), L"Second"));
    EXPECT_NE(fileText(L"C:\\u.log").find(" ERROR 安装打印机驱动成功: JN-2203T-S. 需要重启系统.\r\n"),
              std::string::npos)
        << fileText(L"C:\\u.log");
}

// The demo machine's Bluetooth printer: paired with the usual PINs or the one given, its COM port
// found, the queue made on it and tagged; without a radio or in range nothing changes.
TEST_F(UnattendedRun, BluetoothPrinterPairedByThePinPolicyOrTheGivenPin) {
    sim::VirtualClock clock; // each inquiry takes seconds of clock time
    platform.useClock(&clock);
    struct Restore {
        sim::SimPlatform& p;
        ~Restore() { p.useClock(nullptr); }
    } restore{platform};
    const RunResult found = run(L"/search /bluetooth /json /quiet");
    EXPECT_EQ(found.exitCode, cli::kExitSuccess);
    EXPECT_TRUE(found.said(L"\"address\":\"DC0D30A1B2C3\"") || found.said(L"\"address\": \"DC0D30A1B2C3\""));

    machine.machine().write([](sim::Json& s) { s["bluetooth"]["devices"][0]["pin"] = "8642"; });
    const RunResult refused = run(L"/install /model:JN-2232T /bluetooth /name:Counter");
    EXPECT_EQ(refused.exitCode, cli::kExitFailed);
    EXPECT_TRUE(refused.said(L"Bluetooth authentication error."));
    EXPECT_FALSE(printer(printers(), L"Counter"));

    const RunResult done =
        run(L"/install /model:JN-2232T /bluetooth:DC:0D:30:A1:B2:C3 /pin:8642 /name:Counter");
    EXPECT_EQ(done.exitCode, cli::kExitSuccess);
    const auto list = printers();
    const auto* queue = printer(list, L"Counter");
    ASSERT_TRUE(queue);
    EXPECT_TRUE(queue->portName.starts_with(L"COM") && queue->portName.ends_with(L":")) << queue->portName;
    EXPECT_TRUE(done.said(L"OK    蓝牙配对成功."));

    const RunResult away = run(L"/install /model:JN-2232T /bluetooth:001122334455");
    EXPECT_EQ(away.exitCode, cli::kExitFailed);
    EXPECT_TRUE(away.said(L"ERROR no Bluetooth printer 001122334455 is in range: nothing was changed"));
    machine.machine().write([](sim::Json& s) { s["bluetooth"].erase("radio"); });
    const RunResult noRadio = run(L"/install /model:JN-2232T /bluetooth");
    EXPECT_EQ(noRadio.exitCode, cli::kExitFailed);
    EXPECT_TRUE(noRadio.said(L"ERROR this machine has no Bluetooth radio: nothing was changed"));
}

} // namespace
