// Unpacking the driver package: PreparePackage onto the simulated machine's disk, a real folder, of
// the skin archive a build made ($ORVELLO_BENCH_SKIN: the package as shipped, the tools, the INF and
// catalogue, one data file per model and the x64 DLLs taken), or else of a package shaped like it.
// scripts/bench.sh times `unzip -o` of the same entries beside it: the bench writes the archive it
// used to $ORVELLO_BENCH_PACKAGE_ZIP and the entries PreparePackage wrote, one per line, to
// $ORVELLO_BENCH_PACKAGE_ENTRIES.
#include "app/msglog/RecordingMessageLog.h"
#include "app/skin/SkinArchive.h"
#include "catalogue/XmlDocument.h"
#include "engine/package/PreparePackage.h"
#include "support/TestMachine.h"
#include "unit/language/ZipBuilder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

std::vector<std::uint8_t> readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The archive entries of the files under the working folder's Drivers folder.
std::vector<std::string> writtenEntries(const std::filesystem::path& drivers) {
    std::vector<std::string> out;
    for (const auto& f : std::filesystem::recursive_directory_iterator(drivers))
        if (f.is_regular_file())
            out.push_back("Drivers/" + std::filesystem::relative(f.path(), drivers).generic_string());
    std::sort(out.begin(), out.end());
    return out;
}

void BM_PreparePackage(benchmark::State& state) {
    const char* skinPath = std::getenv("ORVELLO_BENCH_SKIN");
    const std::vector<std::uint8_t> zip = skinPath && *skinPath ? readFile(skinPath) : packageZip();
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
    // Into a fresh folder each time, as unzip is timed: deleting the last run's files is not part
    // of what is measured.
    const auto drivers = machine.machine().hostPath(app.workingFolder + L"Drivers");
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(drivers);
        state.ResumeTiming();
        PreparePackage(ctx, skin, L"CorvaneEx", packageFolder);
    }
    if (!log.messages().empty())
        state.SkipWithError("the preparation reported a failure");
    const auto entries = writtenEntries(drivers);
    if (const char* path = std::getenv("ORVELLO_BENCH_PACKAGE_ENTRIES")) {
        std::ofstream out(path, std::ios::binary);
        for (const auto& e : entries)
            out << e << "\n";
    }
    std::size_t bytes = 0;
    for (const auto& e : entries) {
        std::string data;
        if (skin.read(std::wstring(e.begin(), e.end()), data) == 0)
            bytes += data.size();
    }
    state.counters["files"] = static_cast<double>(entries.size());
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PreparePackage)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor under PreparePackage: the same entries read from the same archive and written straight
// to a fresh host folder, without the simulated machine's disk (whose names ignore case, so that
// each new file costs a look through its folder). The difference is the simulation's, not the
// unpacking's. Runs after BM_PreparePackage, which lists the entries.
void BM_PackageEntriesStraightToDisk(benchmark::State& state) {
    const char* skinPath = std::getenv("ORVELLO_BENCH_SKIN");
    const std::vector<std::uint8_t> zip = skinPath && *skinPath ? readFile(skinPath) : packageZip();
    SkinArchive skin;
    const char* listPath = std::getenv("ORVELLO_BENCH_PACKAGE_ENTRIES");
    if (skin.open(zip) != 0 || !listPath) {
        state.SkipWithError("no archive or no list of entries");
        return;
    }
    std::vector<std::string> entries;
    std::ifstream list(listPath);
    for (std::string line; std::getline(list, line);)
        if (!line.empty())
            entries.push_back(line);
    testing_support::TempFolder temp;
    const auto target = temp.path() / "out";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(target);
        state.ResumeTiming();
        for (const auto& entry : entries) {
            std::string bytes;
            if (skin.read(std::wstring(entry.begin(), entry.end()), bytes) != 0) {
                state.SkipWithError("an entry is missing");
                return;
            }
            const auto file = target / entry;
            std::filesystem::create_directories(file.parent_path());
            std::ofstream(file, std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
    }
    state.counters["files"] = static_cast<double>(entries.size());
}
BENCHMARK(BM_PackageEntriesStraightToDisk)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
