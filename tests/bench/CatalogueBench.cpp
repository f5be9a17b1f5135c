// Catalogue speed: loading the embedded catalogue against a bare parse of the same bytes, the first
// query (which builds the model index), and the delete page's worst case.
#include "base/Format.h"
#include "catalogue/DriverCatalogue.h"
#include "catalogue/LoadXmlResource.h"
#include "support/TestMachine.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <span>
#include <string>
#include <vector>

namespace {

namespace cat = catalogue;

std::span<const std::uint8_t> catalogueBytes() {
    return *testing_support::programResources().find(ports::kResourceTypeXml, ports::kResourceCatalogue);
}

void BM_BarePugixmlParse(benchmark::State& state) {
    const auto bytes = catalogueBytes();
    for (auto _ : state) {
        pugi::xml_document doc;
        benchmark::DoNotOptimize(doc.load_buffer(bytes.data(), bytes.size()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_BarePugixmlParse)->Unit(benchmark::kMicrosecond);

void BM_LoadXmlResource(benchmark::State& state) {
    testing_support::TestMachine machine;
    for (auto _ : state) {
        cat::XmlDocument doc;
        cat::LoadXmlResource(testing_support::programResources(), machine.platform().system(),
                             ports::kResourceCatalogue, doc);
        benchmark::DoNotOptimize(doc.loaded());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * catalogueBytes().size()));
}
BENCHMARK(BM_LoadXmlResource)->Unit(benchmark::kMicrosecond);

// What start-up and the first model lookup pay together.
void BM_LoadAndFirstQuery(benchmark::State& state) {
    testing_support::TestMachine machine;
    for (auto _ : state) {
        cat::XmlDocument doc;
        cat::LoadXmlResource(testing_support::programResources(), machine.platform().system(),
                             ports::kResourceCatalogue, doc);
        DriverRef ref;
        benchmark::DoNotOptimize(cat::FirstDriver(L"CorvaneEx", doc, ref));
    }
}
BENCHMARK(BM_LoadAndFirstQuery)->Unit(benchmark::kMicrosecond);

// One walk of the whole catalogue reading every model's name: the catalogue's share of the delete page.
void BM_WholeCatalogueWalk(benchmark::State& state) {
    testing_support::TestMachine machine;
    cat::XmlDocument doc;
    cat::LoadXmlResource(testing_support::programResources(), machine.platform().system(),
                         ports::kResourceCatalogue, doc);
    for (auto _ : state) {
        std::size_t length = 0;
        DriverRef ref;
        for (bool more = cat::FirstDriver(cat::kModeZevrPrt, doc, ref); more;
             more = cat::NextDriver(cat::kModeZevrPrt, ref))
            length += cat::DriverName(ref).size();
        benchmark::DoNotOptimize(length);
    }
}
BENCHMARK(BM_WholeCatalogueWalk)->Unit(benchmark::kMicrosecond);

struct InstalledPrinter {
    std::wstring name;
    std::wstring hardwareId;
};

// The delete page for 200 installed printers of which none belongs to the catalogue, so each costs
// a hardware-ID lookup in the current mode and a walk of all 984 models with both substring tests.
void BM_DeletePageWorstCase(benchmark::State& state) {
    testing_support::TestMachine machine;
    cat::XmlDocument doc;
    cat::LoadXmlResource(testing_support::programResources(), machine.platform().system(),
                         ports::kResourceCatalogue, doc);
    std::vector<InstalledPrinter> printers;
    for (int i = 0; i < 200; ++i)
        printers.push_back({text::format(L"Office Laser %03d on Floor %d", i, i % 7),
                            text::format(L"USBPRINT\\OtherVendorLaser%03dA1B2", i)});
    int models = 0;
    DriverRef ref;
    for (bool more = cat::FirstDriver(cat::kModeZevrPrt, doc, ref); more;
         more = cat::NextDriver(cat::kModeZevrPrt, ref))
        ++models;
    if (models != 984) {
        state.SkipWithError("the catalogue does not have 984 models");
        return;
    }
    for (auto _ : state) {
        int listed = 0;
        for (const auto& printer : printers) {
            bool found = !cat::FindDriverByUsbName(L"CorvaneEx", printer.hardwareId, doc).empty();
            DriverRef model;
            for (bool more = !found && cat::FirstDriver(cat::kModeZevrPrt, doc, model); more && !found;
                 more = cat::NextDriver(cat::kModeZevrPrt, model)) {
                const std::wstring& name = cat::DriverName(model);
                found = printer.name.find(name) != std::wstring::npos ||
                        name.find(printer.name) != std::wstring::npos;
            }
            listed += found;
        }
        if (listed != 0) {
            state.SkipWithError("a printer of the worst case matched the catalogue");
            return;
        }
        benchmark::DoNotOptimize(listed);
    }
    state.counters["models_per_printer"] = models;
}
BENCHMARK(BM_DeletePageWorstCase)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
