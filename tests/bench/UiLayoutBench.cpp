// Toolkit speed: building the main window with twenty pages from a skin archive, headless, as the
// wizard does at start, and laying it out.
#include "unit/language/ZipBuilder.h"
#include "unit/ui/UiFixture.h"

#include "app/skin/SkinArchive.h"
#include "wizard/SkinLayouts.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

// A main frame whose tab holds `pages` copies of a page with a grid, options, an edit and buttons.
std::vector<std::uint8_t> skinWithPages(int pages) {
    std::string frame = R"(<Window size="560,400"><Include source="config.xml"/><Tab name="tab_main">)";
    std::vector<testing_support::ZipEntry> entries{{"config.xml", uitest::kConfig}};
    for (int i = 0; i < pages; ++i) {
        std::string name = "form_page" + std::to_string(i);
        frame += "<ChildLayout name=\"" + name + "\"/>";
        std::string page = "<VerticalLayout padding=\"10\">";
        for (int o = 0; o < 4; ++o)
            page += "<Option name=\"chk_" + name + "_" + std::to_string(o) +
                    "\" group=\"g\" text=\"选项\" resourceid=\"" + std::to_string(o + 1) + "\"/>";
        page += R"(<Grid name="grid_)" + name +
                R"(" checkbox="true"><Column text="名称" width="120"/>)"
                R"(<Column text="端口" width="80"/></Grid><Edit name="text_)" +
                name +
                R"("/>)"
                R"(<HorizontalLayout height="30"><Button name="btn_)" +
                name +
                R"(_back" text="上一步"/>)"
                R"(<Button name="btn_)" +
                name + R"(_next" text="下一步"/></HorizontalLayout></VerticalLayout>)";
        entries.push_back({name + ".xml", page});
    }
    frame += "</Tab></Window>";
    entries.push_back({"MainFrame.xml", frame});
    return testing_support::buildZip(entries);
}

// The archive of twenty pages, opened, with the loader over it.
struct Skin {
    std::vector<std::uint8_t> bytes = skinWithPages(20);
    SkinArchive archive;
    wizard::SkinLayoutReader reader{archive};
    ui::ControlFactory factory;
    ui::LayoutLoader loader{reader, factory, nullptr};
    bool open() { return archive.open(bytes) == ports::winerr::Success; }
};

void BM_BuildMainWindowFromArchive(benchmark::State& state) {
    Skin skin;
    if (!skin.open()) {
        state.SkipWithError("archive");
        return;
    }
    for (auto _ : state) {
        auto loaded = skin.loader.loadWindow(L"MainFrame.xml");
        benchmark::DoNotOptimize(loaded.window.get());
    }
}
BENCHMARK(BM_BuildMainWindowFromArchive)->Unit(benchmark::kMicrosecond);

void BM_LayoutMainWindow(benchmark::State& state) {
    Skin skin;
    auto loaded = skin.open() ? skin.loader.loadWindow(L"MainFrame.xml") : ui::LoadedWindow{};
    if (!loaded.window) {
        state.SkipWithError("layout");
        return;
    }
    ui::headless::FixedMetrics metrics;
    for (auto _ : state)
        benchmark::DoNotOptimize(ui::computeLayout(*loaded.window, {560, 400}, 1.0, metrics).size());
}
BENCHMARK(BM_LayoutMainWindow)->Unit(benchmark::kMicrosecond);

} // namespace
