// What start-up builds for the later parts on a simulated machine: the embedded catalogue in the
// session, the language picked from the user's interface language and the application context
// that the engine, the pages and the tools run with.
#include "unit/app/AppFakes.h"

#include "app/ErrorText.h"
#include "catalogue/CatalogueHeader.h"
#include "catalogue/DriverCatalogue.h"
#include "engine/BackgroundCommands.h"
#include "engine/DeviceTool.h"
#include "engine/OutputCapture.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

namespace {

using app_fakes::RecordedApp;
using testing_support::TestMachine;

// A message of the table, and one that differs from it by its last character.
constexpr std::wstring_view kKnownId = L"安装完成.";
constexpr std::wstring_view kUnknownId = L"安装完成";

sim::Json machineWith(const char* key, sim::Json value) {
    sim::Json state = sim::demoMachineState();
    state["system"][key] = std::move(value);
    return state;
}

// A program built without any embedded resources.
class NoResources final : public ports::Resources {
public:
    std::optional<std::span<const std::uint8_t>> find(std::wstring_view, std::uint16_t) noexcept override {
        return std::nullopt;
    }
};

TEST(StartupCatalogue, TheEmbeddedDocumentsAreLoadedAndTheCatalogueNamesTheManufacturer) {
    TestMachine m;
    RecordedApp run(m.machine(), testing_support::programResources());
    EXPECT_FALSE(run.app->catalogueDoc().loaded());
    ASSERT_TRUE(run.app->initInstance());

    EXPECT_TRUE(run.app->catalogueDoc().loaded());
    EXPECT_TRUE(run.app->manufacturerDoc().loaded());
    const ManufacturerRecord& m0 = run.app->session().manufacturer;
    EXPECT_EQ(m0.Name, L"CorvaneEx");
    EXPECT_EQ(m0.CompanyEnName, L"Corvane Smart Labeling Co., Ltd.");
    EXPECT_EQ((std::vector<int>{m0.V0, m0.V1, m0.V2, m0.V3}), (std::vector<int>{3, 0, 2, 465}));
    EXPECT_EQ(catalogue::CatalogueVersion(run.app->catalogueDoc()), L"3.0.2.465");
    // The pages walk the models of the session's manufacturer in the application's document.
    DriverRef first;
    ASSERT_TRUE(catalogue::FirstDriver(m0.Name, run.app->catalogueDoc(), first));
    EXPECT_EQ(first.document, &run.app->catalogueDoc());
    run.app->exitInstance();
}

TEST(StartupCatalogue, WithoutResourcesStartUpGoesOnWithEmptyDocumentsAndUntranslatedTexts) {
    TestMachine m(machineWith("uiLanguage", 0x0407));
    NoResources none;
    sim::SimPlatform platform(m.machine(), none);
    app_fakes::Journal journal;
    app::AppParts parts;
    parts.ui = std::make_unique<app_fakes::RecordingUi>(journal);
    CApp theApp(platform, std::move(parts));

    ASSERT_TRUE(theApp.initInstance());
    EXPECT_FALSE(theApp.catalogueDoc().loaded());
    EXPECT_FALSE(theApp.manufacturerDoc().loaded());
    EXPECT_EQ(theApp.session().manufacturer, ManufacturerRecord{});
    EXPECT_FALSE(theApp.skin().isOpen());
    EXPECT_EQ(theApp.language().currentLanguageName(), L"German");
    EXPECT_EQ(theApp.context().tr(kKnownId), kKnownId);
    theApp.exitInstance();
}

TEST(StartupLanguage, TheUsersLanguagePicksTheTableTheContextTranslatesWith) {
    struct Case {
        std::uint16_t uiLanguage;
        const wchar_t* name;
        const wchar_t* known; // the translation of kKnownId
    };
    const Case cases[] = {
        {0x0407, L"German", L"Installation abgeschlossen."},
        {0x0404, L"ChineseSimplified", L"安装完成."}, // Taiwan's identifier, primary language 4
        {0x7C04, L"ChineseTraditional", L"安裝完成."},
        {0x0416, L"Portuguese", L"Instalação concluída."},
        {0x041F, L"English", L"Installation completed."}, // Turkish is not among the languages
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(text::toUtf8(text::format(L"0x%04X", c.uiLanguage)));
        TestMachine m(machineWith("uiLanguage", c.uiLanguage));
        RecordedApp run(m.machine(), testing_support::programResources());
        ASSERT_TRUE(run.app->initInstance());
        EXPECT_EQ(run.app->language().currentLanguageName(), c.name);
        EXPECT_EQ(run.app->language().currentFolder(), std::wstring(L"Lang\\") + c.name);
        EXPECT_EQ(run.platform.simSystem().threadUiLanguage(), c.uiLanguage);
        EXPECT_EQ(run.app->context().tr(kKnownId), c.known);
        EXPECT_EQ(run.app->context().tr(kUnknownId), kUnknownId);
        run.app->exitInstance();
    }
}

// Nothing is process-wide: two applications in one process each translate with their own
// language and keep their own debug flag.
TEST(StartupContext, BelongsToItsApplicationAlone) {
    TestMachine german(machineWith("uiLanguage", 0x0407));
    TestMachine portuguese(machineWith("uiLanguage", 0x0416));
    auto partsNamed = [](const wchar_t* instance) {
        app::AppParts parts;
        parts.identity.singleInstanceId = instance;
        return parts;
    };
    CApp first(german.platform(), partsNamed(L"orvello-context-first"));
    CApp second(portuguese.platform(), partsNamed(L"orvello-context-second"));
    const std::vector<std::wstring> debug = {L"-debug"};
    EXPECT_EQ(app::runProcess(first, debug), 0);
    EXPECT_EQ(app::runProcess(second, {}), 0);

    EXPECT_EQ(first.context().tr(kKnownId), L"Installation abgeschlossen.");
    EXPECT_EQ(second.context().tr(kKnownId), L"Instalação concluída.");
    EXPECT_TRUE(first.context().debug());
    EXPECT_FALSE(second.context().debug());
}

TEST(StartupContext, IsCompleteForThisMachineAndHoldsTheEnginesParts) {
    struct Case {
        const char* architecture;
        const wchar_t* workingFolder;
        const wchar_t* tool;
    };
    const Case cases[] = {
        {"x64", L"C:\\Program Files (x86)\\LabelPrinterDriver\\", L"devcon64.exe"},
        {"x86", L"C:\\Program Files\\LabelPrinterDriver\\", L"devcon32.exe"},
        {"ARM64", L"C:\\Program Files (x86)\\LabelPrinterDriver\\", L"devconARM64.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.architecture);
        TestMachine m(machineWith("architecture", c.architecture));
        app_fakes::Journal journal;
        app::AppParts parts;
        parts.ui = std::make_unique<app_fakes::RecordingUi>(journal);
        auto pipe = std::make_shared<OutputPipe>();
        auto commands = std::make_shared<BackgroundCommands>();
        parts.outputPipe = pipe;
        parts.backgroundCommands = commands;
        CApp theApp(m.platform(), std::move(parts));
        ASSERT_TRUE(theApp.initInstance());

        const app::AppContext& ctx = theApp.context();
        EXPECT_EQ(&ctx.platform, &m.platform());
        EXPECT_EQ(ctx.workingFolder, c.workingFolder);
        EXPECT_EQ(ctx.deviceConsoleTool, c.tool);
        EXPECT_EQ(ctx.outputPipe, pipe.get());
        EXPECT_EQ(ctx.backgroundCommands, commands.get());
        EXPECT_EQ(DeviceToolCommandLine(ctx, L" rescan"),
                  std::wstring(L"\"") + c.workingFolder + L"Drivers\\" + c.tool + L"\" rescan");
        const std::wstring denied = ctx.errorText(5);
        EXPECT_FALSE(denied.empty());
        EXPECT_EQ(denied, app::systemErrorText(m.platform().system(), 5));
        theApp.exitInstance();
    }
}

} // namespace
