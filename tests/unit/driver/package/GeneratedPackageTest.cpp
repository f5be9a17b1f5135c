// The driver package the generator writes from the shipped catalogue, read back by the project's own
// readers: the portable INF reader, and the engine unpacking it from a skin archive per architecture.
#include "PackageInf.h"
#include "PackageModels.h"
#include "PackageWriter.h"

#include "app/skin/SkinArchive.h"
#include "base/InfText.h"
#include "catalogue/DriverCatalogue.h"
#include "engine/package/PreparePackage.h"
#include "unit/driver/package/TempFolder.h"
#include "unit/engine/InstallFixture.h"
#include "unit/language/ZipBuilder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using driverpkg::PackageModel;
namespace fs = std::filesystem;
using driverpkg_test::fileBytes;

driverpkg::PackageIdentity identity() {
    return {L"CorvaneEx", L"Corvane Smart Labeling Co., Ltd.", L"3.0.2.465", L"12/11/2026"};
}

inf::Document parse(const std::vector<PackageModel>& models) {
    return inf::Document::parse(driverpkg::utf16leWithBom(driverpkg::packageInfText(identity(), models)));
}

std::vector<std::wstring> fields(const inf::Document& doc, std::wstring_view section, std::wstring_view key) {
    if (const auto* lines = doc.section(section))
        for (const auto& line : *lines)
            if (line.key == key)
                return line.fields;
    return {L"(missing)"};
}

class GeneratedPackage : public engine_test::InstallFixture {
protected:
    GeneratedPackage() { collected = driverpkg::collectModels(catalogueDoc, L"CorvaneEx"); }

    driverpkg::PackageModels collected;
    driverpkg_test::TempFolder temp;
    const fs::path& folder = temp.path();
};

TEST_F(GeneratedPackage, EveryModelOfTheModeIsPackagedWithItsHardwareIdAndData) {
    EXPECT_TRUE(collected.problems.empty()) << collected.problems.front();
    ASSERT_EQ(collected.models.size(), 289u);
    std::size_t monitors = 0;
    DriverRef ref;
    std::size_t i = 0;
    for (bool more = catalogue::FirstDriver(L"CorvaneEx", catalogueDoc, ref); more;
         more = catalogue::NextDriver(L"CorvaneEx", ref), ++i) {
        const PackageModel& m = collected.models[i];
        EXPECT_EQ(m.name, catalogue::DriverName(ref));
        EXPECT_EQ(m.hardwareId, catalogue::DriverUsbName(ref));
        EXPECT_EQ(m.languageMonitor, catalogue::UsesLanguageMonitor(ref));
        monitors += m.languageMonitor;
        // Every data file reads back as written.
        const auto read = driver::readModelData(driver::writeModelData(m.data));
        ASSERT_TRUE(read.data) << text::toUtf8(m.name) << ": " << read.errors.front().text;
        EXPECT_EQ(*read.data, m.data);
    }
    EXPECT_GT(monitors, 0u);
    // JN-2203T-S inherits a TSPL base model: 203 dpi, a 56 mm head, darkness 0..15.
    const PackageModel& first = collected.models.front();
    EXPECT_EQ(first.data.language, driver::CommandLanguage::Tspl);
    EXPECT_EQ(first.data.dpi, 203u);
    EXPECT_EQ(first.data.printableWidth, 5600u);
    EXPECT_EQ(first.data.darknessRange, (driver::DarknessRange{0, 15}));
    EXPECT_EQ(first.data.speed, 3);
    EXPECT_EQ(first.data.defaultPaper, "57mm x 150mm");
}

TEST_F(GeneratedPackage, ThePortableReaderFindsEachArchitecturesFilesAndEveryModel) {
    const auto& models = collected.models;
    const inf::Document doc = parse(models);
    EXPECT_EQ(doc.value(L"Version", L"Class"), L"Printer");
    EXPECT_EQ(doc.value(L"Version", L"ClassGUID"), L"{4D36E979-E325-11CE-BFC1-08002BE10318}");
    EXPECT_EQ(doc.value(L"Version", L"CatalogFile"), L"CorvaneExNew.cat");
    EXPECT_EQ(fields(doc, L"Version", L"DriverVer"),
              (std::vector<std::wstring>{L"12/11/2026", L"3.0.2.465"}));
    EXPECT_EQ(fields(doc, L"Manufacturer", L"CorvaneEx"),
              (std::vector<std::wstring>{L"Models", L"NTx86", L"NTamd64", L"NTarm64"}));
    for (const wchar_t* decoration : {L"Models.NTx86", L"Models.NTamd64", L"Models.NTarm64"}) {
        SCOPED_TRACE(text::toUtf8(decoration));
        const auto* lines = doc.section(decoration);
        ASSERT_NE(lines, nullptr);
        ASSERT_EQ(lines->size(), models.size());
        for (std::size_t i = 0; i < models.size(); ++i) {
            EXPECT_EQ((*lines)[i].key, models[i].name);
            const std::wstring hardwareId = (*lines)[i].fields.size() > 1 ? (*lines)[i].fields[1] : L"";
            EXPECT_EQ(hardwareId, models[i].hardwareId);
            const std::wstring section = (*lines)[i].fields[0];
            EXPECT_EQ(doc.value(section, L"DataFile"), models[i].name + L".dat");
            EXPECT_EQ(doc.value(section, L"DriverFile"), L"CorvaneExUniNew.dll");
            EXPECT_EQ(doc.value(section, L"ConfigFile"), L"CorvaneExUiNew.dll");
            // One quoted field, "name,dll", as the printer class installer reads it.
            const std::vector<std::wstring> monitor =
                models[i].languageMonitor
                    ? std::vector<std::wstring>{L"CorvaneEx Language Monitor,CorvaneExLM.dll"}
                    : std::vector<std::wstring>{L"(missing)"};
            EXPECT_EQ(fields(doc, section, L"LanguageMonitor"), monitor);
        }
    }
    for (const auto& [platform, folder] :
         {std::pair{L"x86", L"i386"}, {L"amd64", L"amd64"}, {L"arm64", L"arm64"}}) {
        const std::wstring section = std::wstring(L"SourceDisksFiles.") + platform;
        SCOPED_TRACE(text::toUtf8(section));
        for (const wchar_t* dll : {L"CorvaneExUniNew.dll", L"CorvaneExUiNew.dll", L"CorvaneExLM.dll"})
            EXPECT_EQ(fields(doc, section, dll), (std::vector<std::wstring>{L"1", folder}));
        for (const PackageModel& m : models)
            EXPECT_EQ(fields(doc, section, m.name + L".dat"), std::vector<std::wstring>{L"1"});
        EXPECT_EQ(doc.section(section)->size(), models.size() + 3);
    }
    EXPECT_EQ(doc.value(L"DestinationDirs", L"DefaultDestDir"), L"66000");
    EXPECT_EQ(doc.value(L"DestinationDirs", L"MonitorFiles"), L"66002");
}

TEST_F(GeneratedPackage, NamesWithQuotesPercentCommasAndNonAsciiComeBackUnchanged) {
    const std::vector<std::wstring> names = {L"Quote \"Q\" 50%", L"标签 打印机 Ü", L"Comma, semi;colon = x",
                                             L"Plain-1"};
    std::vector<PackageModel> models;
    for (const auto& name : names)
        models.push_back({name, L"USBPRINT\\Odd%Id", false, {}});
    const auto bytes = driverpkg::utf16leWithBom(driverpkg::packageInfText(identity(), models));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    const inf::Document doc = inf::Document::parse(bytes);
    const auto* lines = doc.section(L"Models.NTamd64");
    ASSERT_NE(lines, nullptr);
    ASSERT_EQ(lines->size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(text::toUtf8(names[i]));
        EXPECT_EQ((*lines)[i].key, names[i]);
        EXPECT_EQ((*lines)[i].fields[1], L"USBPRINT\\Odd%Id");
        EXPECT_EQ(doc.value((*lines)[i].fields[0], L"DataFile"), names[i] + L".dat");
        EXPECT_EQ(fields(doc, L"SourceDisksFiles.x86", names[i] + L".dat"), std::vector<std::wstring>{L"1"});
    }
    EXPECT_EQ(doc.value(L"Strings", L"Provider"), L"Corvane Smart Labeling Co., Ltd.");
}

TEST_F(GeneratedPackage, NamesThatCannotBeFileNamesAndIdsThatWouldBreakALineAreRefused) {
    struct Case {
        const wchar_t* name;
        bool ok;
    };
    const Case cases[] = {{L"JN-2203T-S", true}, {L"标签 1", true}, {L"a/b", false}, {L"a\\b", false},
                          {L"a:b", false},       {L"a?", false},    {L"", false},    {L"dot.", false},
                          {L"blank ", false},    {L"tab\t", false}};
    for (const Case& c : cases)
        EXPECT_EQ(driverpkg::isFileName(c.name), c.ok) << text::toUtf8(c.name);
    // A hardware ID is quoted where needed, but no quoting carries a line break.
    const Case ids[] = {{L"USBPRINT\\CorvaneExJN-2203T-S50F3", true},
                        {L"USB \"odd\"; id", true},
                        {L"USBPRINT\\A\r\nB", false},
                        {L"USBPRINT\\A\nB", false},
                        {L"tab\tid", false}};
    for (const Case& c : ids)
        EXPECT_EQ(driverpkg::isInfLineText(c.name), c.ok) << text::toUtf8(c.name);
}

TEST_F(GeneratedPackage, SameCatalogueSameBytes) {
    std::vector<std::string> problems;
    ASSERT_TRUE(driverpkg::writePackage(folder / "a", identity(), collected.models, problems));
    const auto again = driverpkg::collectModels(catalogueDoc, L"CorvaneEx");
    ASSERT_TRUE(driverpkg::writePackage(folder / "b", identity(), again.models, problems));
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(folder / "a")) {
        ++files;
        EXPECT_EQ(fileBytes(entry.path()), fileBytes(folder / "b" / entry.path().filename()))
            << entry.path().filename();
    }
    EXPECT_EQ(files, collected.models.size() + 1);
}

// The generated folder packed as the skin archive's Drivers\CorvaneEx\ with stand-in DLLs: the engine
// unpacks the INF, every data file and exactly the machine architecture's DLLs.
TEST_F(GeneratedPackage, TheEngineUnpacksEachArchitecturesFilesFromIt) {
    std::vector<std::string> problems;
    ASSERT_TRUE(driverpkg::writePackage(folder, identity(), collected.models, problems));
    std::vector<testing_support::ZipEntry> entries = {{"Drivers/CorvaneEx/CorvaneExNew.cat", "catalogue"}};
    for (const char* tool : {"devcon32.exe", "devcon64.exe", "devconARM64.exe", "devconXP32.exe"})
        entries.push_back({std::string("Drivers/") + tool, tool});
    for (const auto& entry : fs::directory_iterator(folder))
        entries.push_back({"Drivers/CorvaneEx/" + entry.path().filename().string(), fileBytes(entry.path())});
    for (const char* arch : {"i386", "amd64", "arm64"})
        for (const char* f : {"CorvaneExUiNew.dll", "CorvaneExUniNew.dll", "CorvaneExLM.dll"})
            entries.push_back({std::string("Drivers/CorvaneEx/") + arch + "/" + f, arch});
    const auto zip = testing_support::buildZip(entries);
    SkinArchive skin;
    ASSERT_EQ(skin.open(zip), ports::winerr::Success);
    app.workingFolder = L"C:\\Work\\";
    for (const auto& [arch, folderName] :
         {std::pair{"x86", L"i386"}, {"x64", L"amd64"}, {"arm64", L"arm64"}}) {
        SCOPED_TRACE(arch);
        machine.machine().write([&](sim::Json& s) { s["system"]["architecture"] = arch; });
        std::wstring packageFolder;
        PreparePackage(ctx, skin, L"CorvaneEx", packageFolder);
        EXPECT_TRUE(log.messages().empty()) << text::toUtf8(log.messages().front().text);
        std::vector<ports::FileEntry> root, dlls;
        ASSERT_EQ(machine.platform().files().listDirectory(packageFolder, root), ports::winerr::Success);
        EXPECT_EQ(root.size(), collected.models.size() + 3); // .dat files, INF, catalogue, one folder
        ASSERT_EQ(machine.platform().files().listDirectory(packageFolder + folderName + L"\\", dlls),
                  ports::winerr::Success);
        EXPECT_EQ(dlls.size(), 3u);
        for (const PackageModel& m : collected.models) {
            std::vector<std::uint8_t> bytes;
            EXPECT_EQ(machine.platform().files().readFile(packageFolder + m.name + L".dat", bytes),
                      ports::winerr::Success);
        }
    }
}

} // namespace
