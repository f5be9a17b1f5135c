// Unpacking the driver package: PreparePackage of a package shaped like the shipped one (the tools,
// the INF and catalogue, one data file per model, the x64 driver DLLs) onto the simulated machine's
// disk, a real folder. scripts/bench.sh times `unzip -o` of the same archive beside it. The archive
// is written to $ORVELLO_BENCH_PACKAGE_ZIP when that is set.
#include "app/msglog/RecordingMessageLog.h"
#include "app/skin/SkinArchive.h"
#include "catalogue/XmlDocument.h"
#include "engine/package/PreparePackage.h"
#include "support/TestMachine.h"
#include "unit/language/ZipBuilder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kModels = 400;

// Bytes that deflate about as well as a DLL does: mostly varied, partly repeated.
std::string filler(std::size_t size, unsigned seed) {
    std::string out(size, '\0');
    unsigned x = seed * 2654435761u + 1;
    for (std::size_t i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        out[i] = static_cast<char>((i % 64 < 40) ? (x >> 16) : (i & 0x7F));
    }
    return out;
}

const std::vector<std::uint8_t>& packageZip() {
    static const std::vector<std::uint8_t> zip = [] {
        std::vector<testing_support::ZipEntry> entries;
        for (const char* tool : {"devcon32.exe", "devcon64.exe", "devconARM64.exe", "devconXP32.exe"})
            entries.push_back({std::string("Drivers/") + tool, filler(90 * 1024, 1)});
        std::string inf = "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n"
                          "[Manufacturer]\r\nCorvaneEx=CorvaneEx,NTamd64\r\n[SourceDisksFiles.amd64]\r\n";
        for (const char* dll : {"CorvaneExUniNew.dll", "CorvaneExUiNew.dll", "CorvaneExLM.dll"})
            inf += std::string(dll) + " = 1,amd64\r\n";
        for (int m = 0; m < kModels; ++m)
            inf += "Model-" + std::to_string(m) + ".dat = 1\r\n";
        entries.push_back({"Drivers/CorvaneEx/CorvaneExNew.inf", inf});
        entries.push_back({"Drivers/CorvaneEx/CorvaneExNew.cat", filler(64 * 1024, 2)});
        unsigned seed = 3;
        for (const char* dll : {"CorvaneExUniNew.dll", "CorvaneExUiNew.dll", "CorvaneExLM.dll"})
            entries.push_back({std::string("Drivers/CorvaneEx/amd64/") + dll, filler(1536 * 1024, seed++)});
        for (int m = 0; m < kModels; ++m)
            entries.push_back(
                {"Drivers/CorvaneEx/Model-" + std::to_string(m) + ".dat", filler(3 * 1024, 100 + m)});
        return testing_support::buildZip(entries);
    }();
    return zip;
}

void BM_PreparePackage(benchmark::State& state) {
    const auto& zip = packageZip();
    if (const char* path = std::getenv("ORVELLO_BENCH_PACKAGE_ZIP"))
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(zip.data()), static_cast<std::streamsize>(zip.size()));
    SkinArchive skin;
    if (skin.open(zip) != 0) {
        state.SkipWithError("the archive does not open");
        return;
    }
    testing_support::TestMachine machine;
    msglog::RecordingMessageLog log;
    app::AppContext app{.platform = machine.platform(),
                        .workingFolder = L"C:\\Program Files (x86)\\LabelPrinterDriver\\"};
    catalogue::XmlDocument catalogueDoc;
    SetupSession session;
    session.manufacturer.Name = L"CorvaneEx";
    engine::InstallContext ctx{app, session, catalogueDoc};
    std::wstring packageFolder;
    for (auto _ : state)
        PreparePackage(ctx, skin, L"CorvaneEx", packageFolder);
    if (!log.messages().empty())
        state.SkipWithError("the preparation reported a failure");
    state.counters["files"] = static_cast<double>(kModels + 9);
}
BENCHMARK(BM_PreparePackage)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
