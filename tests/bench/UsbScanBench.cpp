// One tick of the USB search (the scan the 500 ms timer runs) on a simulated machine with 8 label
// printers plugged in and 100 queues installed, every queue with its Plug and Play data, so that
// each found printer is checked against all of them. scripts/bench.sh prints it as a share of the
// tick's period.
#include "app/AppContext.h"
#include "app/SetupSession.h"
#include "catalogue/LoadXmlResource.h"
#include "discovery/usb/UsbPrinterScan.h"
#include "support/TestMachine.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using sim::Json;

constexpr const char* kModels[] = {"JN-2203T-S50F3", "JN-2220DE2B8",   "JN-2232TFA69", "JN-2236T3F6D",
                                   "JN-2244D5B0E",   "JN-2257T-EFD85", "JN-2264D8F60", "JN-2264T9F04"};
constexpr int kQueues = 100;

Json benchMachine() {
    Json state = sim::demoMachineState();
    Json nodes = Json::array();
    int n = 0;
    for (const char* model : kModels) {
        ++n;
        const std::string usbId =
            "USB\\VID_3A5C&PID_02" + std::to_string(10 + n) + "\\SN" + std::to_string(n);
        const std::string hardwareId = std::string("USBPRINT\\CorvaneEx") + model;
        const std::string port = "USB00" + std::to_string(n);
        nodes.push_back({{"instanceId", usbId},
                         {"class", "USB"},
                         {"service", "usbprint"},
                         {"present", true},
                         {"interfaces", Json::array({"{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}"})}});
        nodes.push_back({{"instanceId", hardwareId + "\\7&1&0&" + port},
                         {"parent", usbId},
                         {"present", true},
                         {"hardwareIds", Json::array({hardwareId})},
                         {"problem", 28}});
    }
    state["devices"]["nodes"] = nodes;
    const auto text = [](const std::string& value) { return Json{{"type", "REG_SZ"}, {"value", value}}; };
    for (int q = 0; q < kQueues; ++q) {
        const std::string name = "Queue " + std::to_string(q);
        Json printer = {{"name", name}, {"port", "FILE:"}, {"driver", "Microsoft Print To PDF"}};
        printer["data"] = {
            {"PnPData",
             {{"DeviceInstanceId", text("USBPRINT\\Other\\7&" + std::to_string(q))},
              {"HardWareID", text("PRINTENUM\\Other" + std::to_string(q))}}},
            {"DsSpooler", {{"driverName", text("Microsoft Print To PDF")}, {"portName", text("FILE:")}}}};
        state["spooler"]["printers"].push_back(printer);
    }
    return state;
}

void BM_UsbScanTick(benchmark::State& state) {
    testing_support::TestMachine machine(benchMachine());
    app::AppContext ctx{.platform = machine.platform()};
    catalogue::XmlDocument catalogueDoc;
    catalogue::LoadXmlResource(testing_support::programResources(), machine.platform().system(), 131,
                               catalogueDoc);
    SetupSession session;
    session.manufacturer.Name = L"CorvaneEx";
    session.portType = port_type::Usb;
    for (auto _ : state) {
        discovery::ScanUsbPrinters({ctx, catalogueDoc, session});
        benchmark::DoNotOptimize(session.devices.size());
    }
    if (session.devices.size() != std::size(kModels))
        state.SkipWithError("the scan did not find the eight printers");
}
BENCHMARK(BM_UsbScanTick)->Unit(benchmark::kMillisecond);

} // namespace
