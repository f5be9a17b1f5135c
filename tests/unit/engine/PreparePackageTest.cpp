// Unpacking the driver package from a skin archive onto the simulated disk: the tools, the INF and
// catalogue, the files the INF lists for the machine's architecture, the package generation, the
// Tovana file set, the messages for what is missing or cannot be written, and INF lines that try to
// leave the package folder.
#include "app/skin/SkinArchive.h"
#include "engine/package/CInfFile.h"
#include "engine/package/PreparePackage.h"
#include "unit/engine/InstallFixture.h"
#include "unit/language/ZipBuilder.h"

namespace {

using msglog::LogMessage;
using testing_support::ZipEntry;
namespace winerr = ports::winerr;

constexpr const char* kInf = R"(; the package INF, cut down
[Version]
Signature="$Windows NT$"
Class=Printer
ClassGUID={4D36E979-E325-11CE-BFC1-08002BE10318}
Provider=%Maker%
CatalogFile=CorvaneExNew.cat

[Manufacturer]
%Maker%=CorvaneEx,NTx86,NTamd64,NTarm64

[CorvaneEx.NTamd64]
"JN-2264T" = JN2264T, USBPRINT\CorvaneExJN-2264T9F04

[sourcedisksfiles.X86]
CorvaneExUiNew.dll = 1,i386
CorvaneExUniNew.dll = 1, i386
JN-2264T.dat = 1

[SourceDisksFiles.amd64]
CorvaneExUiNew.dll = 1,amd64 ; the user-interface DLL
CorvaneExUniNew.dll = 1,amd64
CorvaneExLM.dll = 1,amd64
JN-2264T.dat = 1

[SourceDisksFiles.arm64]
CorvaneExUiNew.dll = 1,arm64
JN-2264T.dat = 1

[Strings]
Maker="CorvaneEx"
)";

std::vector<ZipEntry> packageEntries(std::string inf = kInf) {
    std::vector<ZipEntry> e = {
        {"Drivers/devcon32.exe", "tool32"},
        {"Drivers/devcon64.exe", "tool64"},
        {"Drivers/devconARM64.exe", "toolA64"},
        {"Drivers/devconXP32.exe", "toolXP"},
        {"Drivers/CorvaneEx/CorvaneExNew.inf", std::move(inf)},
        {"Drivers/CorvaneEx/CorvaneExNew.cat", "catalogue"},
        {"Drivers/CorvaneEx/JN-2264T.dat", "dpi=203"},
    };
    for (const char* arch : {"i386", "amd64", "arm64"})
        for (const char* f : {"CorvaneExUiNew.dll", "CorvaneExUniNew.dll", "CorvaneExLM.dll"})
            e.push_back({std::string("Drivers/CorvaneEx/") + arch + "/" + f, std::string(arch) + " " + f});
    return e;
}

class PreparePackageTest : public engine_test::InstallFixture {
protected:
    PreparePackageTest() { app.workingFolder = L"C:\\Program Files (x86)\\LabelPrinterDriver\\"; }

    void openSkin(const std::vector<ZipEntry>& entries) {
        zip = testing_support::buildZip(entries);
        ASSERT_FALSE(zip.empty());
        ASSERT_EQ(skin.open(zip), winerr::Success);
    }
    void prepare() { PreparePackage(ctx, skin, L"CorvaneEx", packageFolder); }
    void setArchitecture(const char* arch) {
        machine.machine().write([&](sim::Json& s) { s["system"]["architecture"] = arch; });
    }
    std::string fileText(const std::wstring& path) {
        std::vector<std::uint8_t> bytes;
        if (machine.platform().files().readFile(path, bytes) != winerr::Success)
            return "(missing)";
        return std::string(bytes.begin(), bytes.end());
    }
    // Every file below a folder, as paths relative to it with '\'.
    std::vector<std::wstring> filesBelow(const std::wstring& folder, const std::wstring& prefix = L"") {
        std::vector<ports::FileEntry> entries;
        std::vector<std::wstring> out;
        if (machine.platform().files().listDirectory(folder, entries) != winerr::Success)
            return out;
        for (const auto& e : entries) {
            if (e.directory) {
                for (auto& f : filesBelow(folder + e.name + L"\\", prefix + e.name + L"\\"))
                    out.push_back(f);
            } else {
                out.push_back(prefix + e.name);
            }
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    std::vector<std::uint8_t> zip;
    SkinArchive skin;
    std::wstring packageFolder;
    const std::wstring drivers = L"C:\\Program Files (x86)\\LabelPrinterDriver\\Drivers\\";
};

TEST_F(PreparePackageTest, UnpacksTheToolsInfCatalogueAndTheArchitecturesFiles) {
    struct Case {
        const char* architecture;
        std::vector<std::wstring> files;
    };
    const std::vector<Case> cases = {
        {"x64",
         {L"CorvaneEx\\CorvaneExNew.cat", L"CorvaneEx\\CorvaneExNew.inf", L"CorvaneEx\\JN-2264T.dat",
          L"CorvaneEx\\amd64\\CorvaneExLM.dll", L"CorvaneEx\\amd64\\CorvaneExUiNew.dll",
          L"CorvaneEx\\amd64\\CorvaneExUniNew.dll", L"devcon32.exe", L"devcon64.exe", L"devconARM64.exe",
          L"devconXP32.exe"}},
        {"arm64",
         {L"CorvaneEx\\CorvaneExNew.cat", L"CorvaneEx\\CorvaneExNew.inf", L"CorvaneEx\\JN-2264T.dat",
          L"CorvaneEx\\arm64\\CorvaneExUiNew.dll", L"devcon32.exe", L"devcon64.exe", L"devconARM64.exe",
          L"devconXP32.exe"}},
        // No SourceDisksFiles.i386: the x86 section (found in any case) serves.
        {"x86",
         {L"CorvaneEx\\CorvaneExNew.cat", L"CorvaneEx\\CorvaneExNew.inf", L"CorvaneEx\\JN-2264T.dat",
          L"CorvaneEx\\i386\\CorvaneExUiNew.dll", L"CorvaneEx\\i386\\CorvaneExUniNew.dll", L"devcon32.exe",
          L"devcon64.exe", L"devconARM64.exe", L"devconXP32.exe"}},
    };
    openSkin(packageEntries());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.architecture);
        setArchitecture(c.architecture);
        session.newPackage = 0;
        prepare();
        EXPECT_EQ(packageFolder, drivers + L"CorvaneEx\\");
        EXPECT_EQ(session.newPackage, 1);
        EXPECT_EQ(filesBelow(drivers), c.files);
        EXPECT_TRUE(log.messages().empty());
    }
    EXPECT_EQ(fileText(drivers + L"CorvaneEx\\i386\\CorvaneExUiNew.dll"), "i386 CorvaneExUiNew.dll");
    EXPECT_EQ(fileText(drivers + L"devconARM64.exe"), "toolA64");
}

TEST_F(PreparePackageTest, PreparingAgainLeavesOnlyThisPackage) {
    openSkin(packageEntries());
    ASSERT_EQ(machine.platform().files().createDirectories(drivers + L"Brisvale\\amd64"), winerr::Success);
    ASSERT_EQ(machine.platform().files().createDirectories(drivers + L"CorvaneEx"), winerr::Success);
    ASSERT_EQ(machine.platform().files().writeFile(drivers + L"Brisvale\\amd64\\old.dll",
                                                   std::vector<std::uint8_t>{1, 2}),
              winerr::Success);
    ASSERT_EQ(
        machine.platform().files().writeFile(drivers + L"CorvaneEx\\stale.dat", std::vector<std::uint8_t>{1}),
        winerr::Success);
    prepare();
    prepare();
    for (const auto& f : filesBelow(drivers))
        EXPECT_TRUE(f.starts_with(L"CorvaneEx\\") || f.starts_with(L"devcon")) << text::toUtf8(f);
    EXPECT_EQ(fileText(drivers + L"CorvaneEx\\stale.dat"), "(missing)");
}

TEST_F(PreparePackageTest, GenerationFollowsTheInfNamesTheArchiveHolds) {
    struct Case {
        const char* what;
        bool older, newer;
        int before, after;
    };
    const std::vector<Case> cases = {
        {"newer only", false, true, 0, 1},          {"older only", true, false, 1, 0},
        {"both: the newer wins", true, true, 0, 1}, {"neither: unchanged", false, false, 0, 0},
        {"neither: unchanged", false, false, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ZipEntry> entries = {{"Drivers/devcon32.exe", "t"}};
        if (c.older)
            entries.push_back({"Drivers/CorvaneEx/CorvaneEx.inf", kInf});
        if (c.newer)
            entries.push_back({"Drivers/CorvaneEx/CorvaneExNew.inf", kInf});
        openSkin(entries);
        session.newPackage = c.before;
        log.clear();
        prepare();
        EXPECT_EQ(session.newPackage, c.after);
        if (!c.older && !c.newer) {
            const auto inf = c.after ? L"CorvaneExNew.inf" : L"CorvaneEx.inf";
            const auto messages = log.messages();
            EXPECT_NE(std::find(messages.begin(), messages.end(),
                                LogMessage{L"抽取文件: Drivers\\CorvaneEx\\" + std::wstring(inf) + L". 失败.",
                                           msglog::kRed}),
                      messages.end());
        }
    }
}

TEST_F(PreparePackageTest, MissingEntriesAndUnwritableFilesAreEachReportedAndTheRestGoesOn) {
    auto entries = packageEntries();
    std::erase_if(entries, [](const ZipEntry& e) {
        return e.name == "Drivers/devcon64.exe" || e.name == "Drivers/CorvaneEx/amd64/CorvaneExUiNew.dll";
    });
    openSkin(entries);
    prepare();
    // A folder where the catalogue should go makes its write fail.
    ASSERT_EQ(machine.platform().files().deleteFile(drivers + L"CorvaneEx\\CorvaneExNew.cat"),
              winerr::Success);
    ASSERT_EQ(machine.platform().files().createDirectories(drivers + L"CorvaneEx\\CorvaneExNew.cat"),
              winerr::Success);
    log.clear();
    ExtractArchiveFile(app, skin, L"CorvaneEx\\", L"CorvaneExNew.cat", drivers + L"CorvaneEx");
    const auto messages = log.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].colour, msglog::kRed);
    EXPECT_TRUE(messages[0].text.starts_with(L"写入文件: CorvaneExNew.cat. 失败. 错误码: "))
        << text::toUtf8(messages[0].text);

    log.clear();
    prepare();
    EXPECT_EQ(log.messages(),
              (std::vector<LogMessage>{
                  {L"抽取文件: Drivers\\devcon64.exe. 失败.", msglog::kRed},
                  {L"抽取文件: Drivers\\CorvaneEx\\amd64\\CorvaneExUiNew.dll. 失败.", msglog::kRed},
              }));
    EXPECT_EQ(fileText(drivers + L"CorvaneEx\\amd64\\CorvaneExUniNew.dll"), "amd64 CorvaneExUniNew.dll");
}

TEST_F(PreparePackageTest, InfLinesThatLeaveThePackageFolderWriteNothingOutsideIt) {
    std::string inf = kInf;
    inf.replace(inf.find("[SourceDisksFiles.amd64]\n") + 25, 0,
                "evil1.dll = 1,..\\..\\..\\Windows\\System32\n"
                "..\\..\\evil2.dll = 1\n"
                "evil3.dll = 1,C:\\Windows\n"
                "evil4.dll = 1,amd64:stream\n"
                "evil5.dll = 1,\\\\server\\share\n"
                "evil6.dll = 1,amd64\\. .\\..\\..\n");
    auto entries = packageEntries(inf);
    for (const char* name : {"Drivers/Windows/System32/evil1.dll", "Drivers/evil2.dll"})
        entries.push_back({name, "evil"});
    openSkin(entries);
    prepare();
    const auto messages = log.messages();
    EXPECT_EQ(messages.size(), 6u);
    for (const auto& m : messages) {
        EXPECT_EQ(m.colour, msglog::kRed);
        EXPECT_TRUE(m.text.starts_with(L"抽取文件: ")) << text::toUtf8(m.text);
    }
    // Everything written is below the package's folders, and the good lines still came.
    for (const auto& f : filesBelow(L"C:\\"))
        EXPECT_EQ(f.find(L"evil"), std::wstring::npos) << text::toUtf8(f);
    EXPECT_EQ(fileText(drivers + L"CorvaneEx\\amd64\\CorvaneExLM.dll"), "amd64 CorvaneExLM.dll");
}

TEST_F(PreparePackageTest, TovanaModelsTakeTheirFixedFileSet) {
    session.chosen.driverNode =
        catalogue::FindDriverByUsbName(L"Tovana", L"USBPRINT\\Tovana_A877EB", catalogueDoc);
    if (!session.chosen.driverNode)
        GTEST_SKIP() << "the catalogue has no model with this hardware ID";
    session.chosen.modelName = catalogue::DriverName(session.chosen.driverNode);
    auto entries = packageEntries();
    for (const char* f : {"TovanaUniNew.dll", "TovanaUiNew.dll"})
        entries.push_back({std::string("Drivers/CorvaneEx/amd64/") + f, f});
    entries.push_back({"Drivers/CorvaneEx/" + text::toUtf8(session.chosen.modelName) + ".dat", "tovana dat"});
    openSkin(entries);
    prepare();
    EXPECT_TRUE(log.messages().empty());
    EXPECT_EQ(fileText(drivers + L"CorvaneEx\\amd64\\TovanaUiNew.dll"), "TovanaUiNew.dll");
    EXPECT_EQ(fileText(drivers + L"CorvaneEx\\" + session.chosen.modelName + L".dat"), "tovana dat");
    // The INF's own list is not used for this family.
    EXPECT_EQ(fileText(drivers + L"CorvaneEx\\amd64\\CorvaneExLM.dll"), "(missing)");
}

TEST_F(PreparePackageTest, InfReaderGivesSectionsLinesKeysAndValuesAsSetupApi) {
    const std::wstring path = L"C:\\pkg\\CorvaneExNew.inf";
    ASSERT_EQ(machine.platform().files().createDirectories(L"C:\\pkg"), winerr::Success);
    ASSERT_EQ(machine.platform().files().writeFile(
                  path, std::span(reinterpret_cast<const std::uint8_t*>(kInf), std::strlen(kInf))),
              winerr::Success);
    CInfFile inf(machine.platform().infFiles());
    ASSERT_TRUE(inf.Open(path));
    std::vector<std::wstring> names;
    for (const auto& s : inf.sections())
        names.push_back(s.name);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Version", L"Manufacturer", L"CorvaneEx.NTamd64",
                                                L"sourcedisksfiles.X86", L"SourceDisksFiles.amd64",
                                                L"SourceDisksFiles.arm64", L"Strings"}));
    const auto* manufacturer = inf.FindSection(L"MANUFACTURER");
    ASSERT_TRUE(manufacturer);
    ASSERT_EQ(manufacturer->lines.size(), 1u);
    EXPECT_EQ(manufacturer->lines[0].key, L"CorvaneEx");
    EXPECT_EQ(manufacturer->lines[0].values,
              (std::vector<std::wstring>{L"CorvaneEx", L"NTx86", L"NTamd64", L"NTarm64"}));
    const auto* x86 = inf.FindSection(L"SourceDisksFiles.x86");
    ASSERT_TRUE(x86);
    EXPECT_EQ(x86->lines[1].values, (std::vector<std::wstring>{L"1", L"i386"}));
    EXPECT_EQ(x86->lines[2].values, (std::vector<std::wstring>{L"1"}));
    EXPECT_FALSE(inf.FindSection(L"SourceDisksFiles.i386"));

    // Not a printer INF, not a Windows NT INF, no file: nothing to read.
    ASSERT_EQ(machine.platform().files().writeFile(
                  L"C:\\pkg\\net.inf", ports::utf16leBytes(L"[Version]\r\nSignature=\"$Windows NT$\"\r\n"
                                                           L"Class=Net\r\n")),
              winerr::Success);
    EXPECT_FALSE(inf.Open(L"C:\\pkg\\net.inf"));
    EXPECT_TRUE(inf.sections().empty());
    EXPECT_FALSE(inf.Open(L"C:\\pkg\\missing.inf"));
}

} // namespace
