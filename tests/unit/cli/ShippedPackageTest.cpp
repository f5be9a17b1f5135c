// The driver package as the build packs it into the program's skin archive: the program installs
// from it on the simulated machine, and its INF and the archive agree file for file.
#include "app/skin/SkinArchive.h"
#include "base/InfText.h"
#include "base/Utf.h"
#include "cli/ExitCodes.h"
#include "support/TestMachine.h"

#include "unit/cli/UnattendedProgram.h"
#include "unit/cli/Words.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>

namespace {

namespace winerr = ports::winerr;

constexpr wchar_t kPackage[] = L"Drivers/CorvaneEx/";

std::wstring lower(std::wstring s) {
    std::transform(s.begin(), s.end(), s.begin(), [](wchar_t c) { return std::towlower(c); });
    return s;
}

SkinArchive& shippedSkin() {
    static SkinArchive skin;
    if (!skin.isOpen()) {
        EXPECT_EQ(skin.open(testing_support::programResources()), winerr::Success);
    }
    return skin;
}

std::string entry(std::wstring_view name) {
    std::string bytes;
    EXPECT_EQ(shippedSkin().read(name, bytes), winerr::Success) << text::toUtf8(name);
    return bytes;
}

inf::Document shippedInf() {
    const std::string bytes = entry(std::wstring(kPackage) + L"CorvaneExNew.inf");
    return inf::Document::parse(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

// The program run unattended on a simulated machine with its own resources, skin archive included.
class ShippedPackage : public ::testing::Test {
protected:
    ShippedPackage() { cli_test::makeSystemFolders(platform, machine.machine()); }

    int run(std::wstring_view line) {
        const cli::Console console{[&](std::wstring_view l) { said.emplace_back(l); },
                                   [&](std::wstring_view l) { said.emplace_back(l); }};
        return cli_test::runUnattended(platform, cli_test::words(line), console, L"1.0.0.0");
    }

    std::optional<ports::PrinterInfo2> printer(std::wstring_view name) {
        std::vector<ports::PrinterInfo2> list;
        EXPECT_EQ(platform.spooler().enumPrinters2(ports::spool::EnumLocal, list), winerr::Success);
        for (const auto& p : list)
            if (p.printerName == name)
                return p;
        return std::nullopt;
    }

    std::optional<ports::DriverInfo> driver(std::wstring_view name) {
        std::vector<ports::DriverInfo> list;
        EXPECT_EQ(platform.spooler().enumDrivers(L"all", 3, list), winerr::Success);
        for (const auto& d : list)
            if (d.name == name)
                return d;
        return std::nullopt;
    }

    std::string machineFile(const std::wstring& path) {
        std::ifstream in(machine.machine().hostPath(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::wstring log() const {
        std::wstring all;
        for (const auto& l : said)
            all += l + L"\n";
        return all;
    }

    testing_support::TestMachine machine;
    sim::SimPlatform& platform = machine.platform();
    std::vector<std::wstring> said;
};

// The demo machine's plugged-in printer by its USB port, and a model on a port given by name: each
// queue is made with the packed driver, whose files on the machine are the archive's bytes, and the
// package's catalogue is unpacked beside its INF.
TEST_F(ShippedPackage, TheProgramInstallsFromItsOwnArchive) {
    struct Case {
        const wchar_t* line;
        const wchar_t* model;
        const wchar_t* port;
    };
    for (const Case c : {Case{L"/install /model:JN-2203T-S /usb -simulate", L"JN-2203T-S", L"USB001"},
                         Case{L"/install /model:JN-2232T /port:FILE: -simulate", L"JN-2232T", L"FILE:"}}) {
        SCOPED_TRACE(text::toUtf8(c.line));
        said.clear();
        EXPECT_EQ(run(c.line), cli::kExitSuccess) << text::toUtf8(log());
        const auto queue = printer(c.model);
        ASSERT_TRUE(queue);
        EXPECT_EQ(queue->driverName, c.model);
        EXPECT_EQ(queue->portName, c.port);

        const auto installed = driver(c.model);
        ASSERT_TRUE(installed);
        EXPECT_EQ(lower(installed->dataFile.substr(installed->dataFile.find_last_of(L'\\') + 1)),
                  lower(std::wstring(c.model) + L".dat"));
        EXPECT_EQ(machineFile(installed->dataFile), entry(kPackage + std::wstring(c.model) + L".dat"));
        EXPECT_EQ(machineFile(installed->driverPath),
                  entry(std::wstring(kPackage) + L"amd64/CorvaneExUniNew.dll"));
        EXPECT_EQ(machineFile(installed->configFile),
                  entry(std::wstring(kPackage) + L"amd64/CorvaneExUiNew.dll"));

        const std::wstring unpacked = platform.system().knownFolder(ports::KnownFolder::ProgramFilesX86) +
                                      L"\\LabelPrinterDriver\\Drivers\\CorvaneEx\\";
        EXPECT_EQ(machineFile(unpacked + L"CorvaneExNew.cat"),
                  entry(std::wstring(kPackage) + L"CorvaneExNew.cat"));
    }
}

// Every file the INF's source-file sections name is in the archive where the extraction looks for
// it, and the archive holds nothing in the package the INF leaves out.
TEST(ShippedPackageArchive, TheInfListsExactlyThePackagedFilesOfEachArchitecture) {
    const inf::Document inf = shippedInf();
    std::set<std::wstring> packaged; // below Drivers/CorvaneEx/, lower case
    for (const std::wstring& name : shippedSkin().entryNames())
        if (lower(name).starts_with(lower(kPackage)))
            packaged.insert(lower(name.substr(std::wstring_view(kPackage).size())));
    ASSERT_TRUE(packaged.contains(L"corvaneexnew.inf"));
    // The catalogue the INF names is packed beside it (tests/package/check_catalogue.py checks what
    // it holds).
    EXPECT_EQ(lower(inf.value(L"Version", L"CatalogFile")), L"corvaneexnew.cat");
    EXPECT_TRUE(packaged.contains(L"corvaneexnew.cat"));

    for (const std::wstring arch : {L"x86", L"amd64", L"arm64"}) {
        SCOPED_TRACE(text::toUtf8(arch));
        const auto* files = inf.section(L"SourceDisksFiles." + arch);
        ASSERT_TRUE(files);
        std::set<std::wstring> listed;
        for (const inf::Line& line : *files) {
            const std::wstring sub = line.fields.size() >= 2 ? line.fields[1] + L"/" : L"";
            listed.insert(lower(sub + line.key));
            EXPECT_TRUE(packaged.contains(lower(sub + line.key))) << text::toUtf8(sub + line.key);
        }
        const std::wstring folder = arch == L"x86" ? L"i386/" : arch + L"/";
        std::size_t dlls = 0;
        for (const std::wstring& name : packaged) {
            const bool thisArch = name.starts_with(folder);
            const bool common = name.find(L'/') == std::wstring::npos && name.ends_with(L".dat");
            if (thisArch || common) {
                EXPECT_TRUE(listed.contains(name)) << text::toUtf8(name) << " is packed but not listed";
            }
            dlls += thisArch;
        }
        EXPECT_EQ(dlls, 3u);
    }

    // The files the install sections name for every model are among those listed.
    const auto* models = inf.section(L"Models.NTamd64");
    ASSERT_TRUE(models);
    ASSERT_FALSE(models->empty());
    for (const inf::Line& model : *models) {
        const std::wstring section = model.fields.at(0);
        for (const wchar_t* key : {L"DriverFile", L"ConfigFile"})
            EXPECT_TRUE(packaged.contains(lower(L"amd64/" + inf.value(section, key))))
                << text::toUtf8(section);
        EXPECT_TRUE(packaged.contains(lower(inf.value(section, L"DataFile")))) << text::toUtf8(section);
    }

    for (const wchar_t* tool : {L"devcon32.exe", L"devcon64.exe", L"devconARM64.exe", L"devconXP32.exe"})
        EXPECT_TRUE(shippedSkin().contains(std::wstring(L"Drivers/") + tool)) << text::toUtf8(tool);
}

} // namespace
