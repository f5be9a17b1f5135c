// Start-up's share of the toolkit, on what ships: the main window with all twenty pages built from
// the embedded skin archive, in English (each page's translation table read and applied), headless.
// scripts/bench.sh holds it to its goal of 50 ms.
#include "app/language/Language.h"
#include "app/language/Languages.h"
#include "app/skin/SkinArchive.h"
#include "platform/sim/SimClock.h"
#include "support/TestMachine.h"
#include "ui/core/ControlFactory.h"
#include "ui/core/LayoutLoader.h"
#include "wizard/CMsgWnd2UI.h"
#include "wizard/SkinLayouts.h"

#include <benchmark/benchmark.h>

namespace {

std::size_t countControls(const ui::Control& c) {
    std::size_t n = 1;
    for (const auto& child : c.children())
        n += countControls(*child);
    return n;
}

void BM_BuildShippedMainWindow(benchmark::State& state) {
    SkinArchive archive;
    if (archive.open(testing_support::programResources()) != ports::winerr::Success) {
        state.SkipWithError("the embedded skin archive does not open");
        return;
    }
    CLanguage language(archive);
    (void)language.setLanguage(languageFolder(L"English"), L"English");
    wizard::LanguageTranslations translations(language);
    sim::VirtualClock clock;
    ui::ControlFactory factory;
    wizard::registerMessageLog(factory, clock);
    wizard::SkinLayoutReader reader(archive);
    ui::LayoutLoader loader(reader, factory, &translations);
    std::size_t pages = 0, controls = 0;
    for (auto _ : state) {
        auto loaded = loader.loadWindow(L"MainFrame.xml");
        if (!loaded.window) {
            state.SkipWithError("MainFrame.xml does not load");
            return;
        }
        if (auto* tab = loaded.window->find(L"tab_main"))
            pages = tab->children().size();
        controls = countControls(*loaded.window);
        benchmark::DoNotOptimize(loaded.window.get());
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["controls"] = static_cast<double>(controls);
}
BENCHMARK(BM_BuildShippedMainWindow)->Unit(benchmark::kMillisecond);

} // namespace
