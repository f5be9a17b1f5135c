// The simulated machine's profile store, file system, system facts and shared state file.
#include "support/TestMachine.h"

#include "platform/sim/SimMachine.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using testing_support::TempFolder;
using testing_support::TestMachine;
namespace winerr = ports::winerr;

TEST(SimProfileStore, DefaultsWhenNothingIsStored) {
    TestMachine m;
    auto& p = m.platform().profile();
    EXPECT_EQ(p.readInt(L"SetupMode", L"SetupPortType", 0), 0);
    EXPECT_EQ(p.readInt(L"SetupMode", L"SetupMode", 7), 7);
    EXPECT_EQ(p.readString(L"SetupMode", L"SetupPrinter", L""), L"");
}

TEST(SimProfileStore, ValuesSurviveAndIgnoreCaseAndType) {
    TestMachine m;
    auto& p = m.platform().profile();
    ASSERT_EQ(p.writeInt(L"SetupMode", L"SetupPortType", 2), winerr::Success);
    ASSERT_EQ(p.writeString(L"SetupMode", L"SetupPrinter", L"\x6253\x5370 CX-420T"), winerr::Success);
    EXPECT_EQ(p.readInt(L"setupmode", L"SETUPPORTTYPE", 0), 2);
    EXPECT_EQ(p.readString(L"SetupMode", L"setupprinter", L""), L"\x6253\x5370 CX-420T");
    // A text read as an integer (and the reverse) gives the default, like a REG_SZ read as REG_DWORD.
    EXPECT_EQ(p.readInt(L"SetupMode", L"SetupPrinter", -1), -1);
    EXPECT_EQ(p.readString(L"SetupMode", L"SetupPortType", L"d"), L"d");
    ASSERT_EQ(p.writeString(L"SetupMode", L"SetupPrinter", std::nullopt), winerr::Success);
    EXPECT_EQ(p.readString(L"SetupMode", L"SetupPrinter", L"gone"), L"gone");
    EXPECT_EQ(p.writeString(L"SetupMode", L"NeverWritten", std::nullopt), winerr::Success);
    // Stored under the application's own key.
    m.machine().read([](const sim::Json& s) {
        EXPECT_TRUE(s["profile"].contains("software\\ZEVR\\Orvello\\SetupMode")) << s.dump();
    });
}

TEST(SimFaults, InjectedFailureHappensTheGivenNumberOfTimes) {
    sim::Json state = sim::demoMachineState();
    state["faults"] = {{{"operation", "RegSetValueEx"}, {"code", 5}, {"count", 2}}};
    TestMachine m(state);
    auto& p = m.platform().profile();
    EXPECT_EQ(p.writeInt(L"SetupMode", L"SetupMode", 1), winerr::AccessDenied);
    EXPECT_EQ(p.writeInt(L"SetupMode", L"SetupMode", 1), winerr::AccessDenied);
    EXPECT_EQ(p.writeInt(L"SetupMode", L"SetupMode", 1), winerr::Success);
    EXPECT_EQ(p.readInt(L"SetupMode", L"SetupMode", 0), 1);
}

TEST(SimFileSystem, WindowsSemanticsOnTheVirtualDrive) {
    TestMachine m;
    auto& fs = m.platform().files();
    const std::vector<std::uint8_t> bytes = {1, 2, 3};
    std::vector<std::uint8_t> out;
    EXPECT_EQ(fs.writeFile(L"C:\\Missing\\a.bin", bytes), winerr::PathNotFound);
    ASSERT_EQ(fs.createDirectories(L"C:\\Program Files (x86)\\Orvello\\Drivers"), winerr::Success);
    EXPECT_EQ(fs.createDirectories(L"C:\\Program Files (x86)\\Orvello\\Drivers"), winerr::Success);
    ASSERT_EQ(fs.writeFile(L"C:\\Program Files (x86)\\Orvello\\Drivers\\a.bin", bytes), winerr::Success);
    // Names ignore case, as on Windows.
    ASSERT_EQ(fs.readFile(L"c:\\PROGRAM FILES (X86)\\orvello\\drivers\\A.BIN", out), winerr::Success);
    EXPECT_EQ(out, bytes);
    ASSERT_EQ(fs.appendFile(L"C:\\Program Files (x86)\\Orvello\\Drivers\\a.bin", bytes), winerr::Success);
    ASSERT_EQ(fs.readFile(L"C:\\Program Files (x86)\\Orvello\\Drivers\\a.bin", out), winerr::Success);
    EXPECT_EQ(out.size(), 6u);
    EXPECT_EQ(fs.readFile(L"C:\\Program Files (x86)\\Orvello\\Drivers\\b.bin", out), winerr::FileNotFound);
    EXPECT_EQ(fs.readFile(L"C:\\Nowhere\\b.bin", out), winerr::PathNotFound);
    EXPECT_EQ(fs.copyFile(L"C:\\Program Files (x86)\\Orvello\\Drivers\\a.bin", L"C:\\b.bin", true),
              winerr::Success);
    EXPECT_EQ(fs.copyFile(L"C:\\Program Files (x86)\\Orvello\\Drivers\\a.bin", L"C:\\b.bin", true),
              winerr::FileExists);
    EXPECT_EQ(fs.removeDirectory(L"C:\\Program Files (x86)\\Orvello\\Drivers"), winerr::DirNotEmpty);
    EXPECT_EQ(fs.deleteFile(L"C:\\Program Files (x86)\\Orvello\\Drivers\\a.bin"), winerr::Success);
    EXPECT_EQ(fs.deleteFile(L"C:\\Program Files (x86)\\Orvello\\Drivers\\a.bin"), winerr::FileNotFound);
    EXPECT_EQ(fs.removeDirectory(L"C:\\Program Files (x86)\\Orvello\\Drivers"), winerr::Success);
    EXPECT_EQ(fs.readFile(L"relative\\path", out), winerr::PathNotFound);
    // The drive is a real folder on the host disk.
    EXPECT_TRUE(std::filesystem::exists(m.folder() / "drive" / "C" / "b.bin"));
}

TEST(SimFileSystem, LongPathsWork) {
    TestMachine m;
    auto& fs = m.platform().files();
    std::wstring path = L"C:\\Program Files (x86)";
    while (path.size() < 300)
        path += L"\\a-rather-long-folder-name";
    ASSERT_EQ(fs.createDirectories(path), winerr::Success);
    const std::vector<std::uint8_t> bytes = {42};
    ASSERT_EQ(fs.writeFile(path + L"\\x.log", bytes), winerr::Success);
    EXPECT_TRUE(fs.fileExists(path + L"\\x.log"));
}

TEST(SimSystemInfo, FactsComeFromTheState) {
    sim::Json state = sim::demoMachineState();
    state["system"]["architecture"] = "ARM64";
    state["system"]["uiLanguage"] = 0x0416;
    state["system"]["windowsVersion"] = "10.0.22631";
    TestMachine m(state);
    auto& sys = m.platform().system();
    EXPECT_EQ(sys.nativeArchitecture(), ports::Architecture::Arm64);
    EXPECT_TRUE(sys.isWow64Process());
    EXPECT_EQ(sys.userDefaultUiLanguage(), 0x0416);
    EXPECT_EQ(sys.windowsVersion().build, 22631u);
    // Asked afresh each time: a change of the machine shows at the next call.
    m.machine().write([](sim::Json& s) { s["system"]["architecture"] = "x86"; });
    EXPECT_EQ(sys.nativeArchitecture(), ports::Architecture::X86);
    EXPECT_FALSE(sys.isWow64Process());
    EXPECT_EQ(sys.knownFolder(ports::KnownFolder::ProgramFilesX86), L"C:\\Program Files");
}

TEST(SimSystemInfo, CodePageConversions) {
    TestMachine m;
    auto& sys = m.platform().system();
    std::wstring wide;
    std::string narrow;
    ASSERT_EQ(sys.ansiToWide("caf\xC3\xA9", wide), winerr::Success); // UTF-8 by default
    EXPECT_EQ(wide, L"caf\x00E9");
    m.machine().write([](sim::Json& s) { s["system"]["codePage"] = 1252; });
    ASSERT_EQ(sys.ansiToWide("\x80 caf\xE9", wide), winerr::Success);
    EXPECT_EQ(wide, L"\x20AC caf\x00E9");
    ASSERT_EQ(sys.wideToAnsi(L"\x20AC\x00E9\x4E2D", narrow), winerr::Success);
    EXPECT_EQ(narrow, "\x80\xE9?"); // what cannot be represented becomes the default character
    m.machine().write([](sim::Json& s) { s["system"]["codePage"] = 936; });
    EXPECT_EQ(sys.ansiToWide("x", wide), winerr::InvalidParameter);
}

TEST(SimAppHost, WinsockStartsLikeWs2_32) {
    // Offered by the library, asked for, the answer, wVersion.
    const struct {
        const char* offered;
        std::uint16_t requested;
        ports::Status status;
        std::uint16_t reported;
    } cases[] = {
        {"2.2", ports::winsockVersion(2, 2), winerr::Success, ports::winsockVersion(2, 2)},
        {"2.2", ports::winsockVersion(1, 1), winerr::Success, ports::winsockVersion(1, 1)},
        // More than the library has: the start succeeds with the lower version, which the caller checks.
        {"2.0", ports::winsockVersion(2, 2), winerr::Success, ports::winsockVersion(2, 0)},
        {"1.1", ports::winsockVersion(2, 2), winerr::Success, ports::winsockVersion(1, 1)},
        {"2.2", ports::winsockVersion(3, 0), winerr::Success, ports::winsockVersion(2, 2)},
        // Below the lowest version there is.
        {"2.2", ports::winsockVersion(0, 9), winerr::WsaVersionNotSupported, ports::winsockVersion(2, 2)},
    };
    for (const auto& c : cases) {
        TestMachine m;
        m.machine().write([&](sim::Json& s) { s["system"]["winsockVersion"] = c.offered; });
        std::uint16_t reported = 0;
        EXPECT_EQ(m.platform().host().startWinsock(c.requested, reported), c.status) << c.offered;
        EXPECT_EQ(reported, c.reported) << c.offered << " asked " << c.requested;
        EXPECT_EQ(m.platform().simHost().winsockStarts(), c.status == winerr::Success ? 1 : 0);
    }
}

TEST(SimMachineFile, TwoOpenersShareOneState) {
    TempFolder dir;
    const auto file = dir.path() / "machine.json";
    ports::Status st = 1;
    auto a = sim::SimMachine::openFile(file, st);
    ASSERT_TRUE(a) << st;
    auto b = sim::SimMachine::openFile(file, st);
    ASSERT_TRUE(b) << st;
    a->write([](sim::Json& s) { s["marker"] = 1; });
    EXPECT_EQ(b->read([](const sim::Json& s) { return s.value("marker", 0); }), 1);
    b->write([](sim::Json& s) { s["marker"] = 2; });
    EXPECT_EQ(a->read([](const sim::Json& s) { return s.value("marker", 0); }), 2);
    // The file on disk is complete JSON after each change.
    std::ifstream in(file);
    EXPECT_EQ(sim::Json::parse(in).value("marker", 0), 2);
}

TEST(SimMachineFile, BrokenStateFileIsRefused) {
    TempFolder dir;
    const auto file = dir.path() / "broken.json";
    std::ofstream(file) << "{ not json";
    ports::Status st = 0;
    EXPECT_FALSE(sim::SimMachine::openFile(file, st));
    EXPECT_EQ(st, winerr::InvalidData);
}

TEST(SimMachineDemo, ItsTemporaryDriveGoesWithIt) {
    std::filesystem::path root;
    {
        auto demo = sim::SimMachine::demo();
        root = demo->driveRoot();
        ASSERT_TRUE(std::filesystem::is_directory(root / "C"));
        std::ofstream(root / "C" / "left.txt") << "x";
    }
    EXPECT_FALSE(std::filesystem::exists(root));
}

TEST(EmbeddedResources, TheProgramCarriesItsThreeResources) {
    auto& res = testing_support::programResources();
    const auto catalogue = res.find(L"XML", ports::kResourceCatalogue);
    ASSERT_TRUE(catalogue);
    const std::string head(reinterpret_cast<const char*>(catalogue->data()), 64);
    EXPECT_NE(head.find("<?xml"), std::string::npos);
    ASSERT_TRUE(res.find(L"xml", ports::kResourceManufacturers));
    const auto skin = res.find(L"ZIPRES", ports::kResourceSkin);
    ASSERT_TRUE(skin);
    ASSERT_GT(skin->size(), 4u);
    EXPECT_EQ((*skin)[0], 'P');
    EXPECT_EQ((*skin)[1], 'K');
    EXPECT_FALSE(res.find(L"XML", 999));
}

} // namespace
