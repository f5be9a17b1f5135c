// The simulated driver store and the INF reader behind it.
#include "SimTestPackage.h"
#include "support/TestMachine.h"

#include "platform/sim/SimInf.h"
#include "platform/sim/SimJson.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

using testing_support::TestMachine;
namespace winerr = ports::winerr;
namespace hresult = ports::hresult;

sim::InfFile parse(std::string_view text) {
    return sim::InfFile::parse(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TEST(SimInf, ModelsComeFromTheSectionOfThePlatformWithStringsReplaced) {
    const auto inf = parse(sim_test::kCorvaneInf);
    const auto x64 = inf.models(L"NTamd64");
    ASSERT_EQ(x64.size(), 2u);
    EXPECT_EQ(x64[0].manufacturer, L"Corvane, Smart Labeling");
    EXPECT_EQ(x64[0].description, L"JN-2203T-S");
    EXPECT_EQ(x64[0].installSection, L"JN2203TS");
    EXPECT_EQ(x64[0].hardwareIds,
              (std::vector<std::wstring>{L"USBPRINT\\CorvaneExJN-2203T-S50F3", L"CorvaneExJN-2203T-S50F3"}));
    EXPECT_EQ(x64[1].hardwareIds, std::vector<std::wstring>{L"USBPRINT\\CorvaneExJN-2232TFA69"});
    // ARM64 is listed but has no section of its own: nothing for it. An unlisted platform falls back
    // to the undecorated section.
    EXPECT_TRUE(inf.models(L"NTarm64").empty());
    ASSERT_EQ(inf.models(L"NTia64").size(), 1u);
    EXPECT_EQ(inf.models(L"NTia64")[0].description, L"JN-2203T-S (old)");
    EXPECT_EQ(inf.value(L"jn2232t", L"DATAFILE"), L"JN-2232T.dat");
    EXPECT_EQ(inf.value(L"JN2203TS", L"LanguageMonitor"), L"CorvaneEx Language Monitor,CorvaneExLM.dll");
    EXPECT_EQ(inf.modelForHardwareId(L"usbprint\\corvaneexjn-2232tfa69", L"NTamd64")->description,
              L"JN-2232T");
    EXPECT_FALSE(inf.modelForHardwareId(L"USBPRINT\\CorvaneExJN-2232TFA69", L"NTx86"));
}

TEST(SimInf, ReadsUtf16AndContinuedLines) {
    const std::wstring text = L"[Version]\r\nProvider=\"A, \"\"B\"\"\"\r\n[S]\r\nKey=one,\\\r\n two\r\n";
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (wchar_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    const auto inf = sim::InfFile::parse(bytes);
    EXPECT_EQ(inf.value(L"Version", L"Provider"), L"A, \"B\"");
    const auto* s = inf.section(L"S");
    ASSERT_TRUE(s);
    ASSERT_EQ(s->size(), 1u);
    EXPECT_EQ((*s)[0].fields, (std::vector<std::wstring>{L"one", L"two"}));
}

class SimDriverStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(sim_test::writePackage(m.platform().files()), winerr::Success); }
    ports::PrintSpooler& sp() { return m.platform().spooler(); }
    TestMachine m;
};

TEST_F(SimDriverStoreTest, UploadPutsThePackageInTheStoreOnceForTheSameContent) {
    std::wstring dest, again;
    ASSERT_EQ(sp().uploadPrinterDriverPackage(sim_test::kPackageInf, L"Windows x64", 3, 0, dest),
              hresult::SOk);
    EXPECT_TRUE(
        dest.starts_with(L"C:\\Windows\\System32\\DriverStore\\FileRepository\\corvaneex.inf_amd64_"));
    EXPECT_TRUE(dest.ends_with(L"\\corvaneex.inf"));
    EXPECT_TRUE(m.platform().files().fileExists(dest));
    ASSERT_EQ(sp().uploadPrinterDriverPackage(sim_test::kPackageInf, L"Windows x64", 3, 0, again),
              hresult::SOk);
    EXPECT_EQ(again, dest);
    // A changed package is another package.
    ASSERT_EQ(sim_test::writePackage(m.platform().files(), "v2"), winerr::Success);
    ASSERT_EQ(sp().uploadPrinterDriverPackage(sim_test::kPackageInf, L"Windows x64", 3, 0, again),
              hresult::SOk);
    EXPECT_NE(again, dest);
    EXPECT_EQ(sp().uploadPrinterDriverPackage(L"C:\\Nowhere\\x.inf", L"Windows x64", 3, 0, again),
              hresult::fromWin32(winerr::PathNotFound));
}

TEST_F(SimDriverStoreTest, InstallFromPackageGivesTheDriverItsStoreInfAndLanguageMonitor) {
    std::wstring dest;
    ASSERT_EQ(sp().uploadPrinterDriverPackage(sim_test::kPackageInf, L"Windows x64", 3, 0, dest),
              hresult::SOk);
    ASSERT_EQ(sp().installPrinterDriverFromPackage(dest, L"JN-2203T-S", L"Windows x64", 1), hresult::SOk);
    std::vector<ports::DriverInfo> drivers;
    ASSERT_EQ(sp().enumDrivers(L"Windows x64", 8, drivers), winerr::Success);
    auto it = std::find_if(drivers.begin(), drivers.end(), [](auto& d) { return d.name == L"JN-2203T-S"; });
    ASSERT_NE(it, drivers.end());
    EXPECT_EQ(it->infPath.value_or(L""), dest);
    EXPECT_EQ(it->driverPath, L"C:\\Windows\\system32\\spool\\DRIVERS\\x64\\3\\CorvaneExRender.dll");
    EXPECT_EQ(it->dataFile, L"C:\\Windows\\system32\\spool\\DRIVERS\\x64\\3\\JN-2203T-S.dat");
    EXPECT_EQ(it->monitorName.value_or(L""), L"CorvaneEx Language Monitor");
    EXPECT_EQ(it->mfgName.value_or(L""), L"Corvane, Smart Labeling");
    EXPECT_EQ(it->driverVersionQuad, (3ULL << 48) | (0ULL << 32) | (2ULL << 16) | 465);
    EXPECT_TRUE(m.platform().files().fileExists(it->driverPath)); // copied from the package
    std::vector<ports::MonitorInfo2> monitors;
    ASSERT_EQ(sp().enumMonitors2(monitors), winerr::Success);
    EXPECT_TRUE(std::any_of(monitors.begin(), monitors.end(),
                            [](auto& mon) { return mon.name == L"CorvaneEx Language Monitor"; }));

    EXPECT_EQ(sp().installPrinterDriverFromPackage(dest, L"JN-9999", L"Windows x64", 1),
              hresult::fromWin32(winerr::UnknownPrinterDriver));
    EXPECT_EQ(sp().installPrinterDriverFromPackage(sim_test::kPackageInf, L"JN-2203T-S", L"Windows x64", 1),
              hresult::fromWin32(winerr::FileNotFound)); // not a package of the store
}

TEST_F(SimDriverStoreTest, APackageInUseStaysUntilItsDriverIsGone) {
    std::wstring dest, path;
    ASSERT_EQ(sp().uploadPrinterDriverPackage(sim_test::kPackageInf, L"Windows x64", 3, 0, dest),
              hresult::SOk);
    ASSERT_EQ(sp().installPrinterDriverFromPackage(dest, L"JN-2232T", L"Windows x64", 1), hresult::SOk);
    ASSERT_EQ(sp().getPrinterDriverPackagePath(L"corvaneex.inf", L"Windows x64", path), hresult::SOk);
    EXPECT_EQ(path + L"\\corvaneex.inf", dest);
    EXPECT_EQ(sp().deletePrinterDriverPackage(dest, L"Windows x64"), hresult::PrinterDriverPackageInUse);
    ASSERT_EQ(sp().deletePrinterDriver(L"Windows x64", L"JN-2232T", 0, 0), winerr::Success);
    EXPECT_EQ(sp().deletePrinterDriverPackage(dest, L"Windows x64"), hresult::SOk);
    EXPECT_FALSE(m.platform().files().fileExists(dest));
    EXPECT_EQ(sp().deletePrinterDriverPackage(dest, L"Windows x64"),
              hresult::fromWin32(winerr::FileNotFound));
}

TEST_F(SimDriverStoreTest, WithoutTheStoreFunctionsEveryCallIsProcNotFound) {
    m.machine().write([](sim::Json& s) { s["spooler"]["driverStore"]["available"] = false; });
    std::wstring dest;
    EXPECT_FALSE(sp().driverStoreAvailable());
    EXPECT_EQ(sp().uploadPrinterDriverPackage(sim_test::kPackageInf, L"Windows x64", 3, 0, dest),
              winerr::ProcNotFound);
    EXPECT_EQ(sp().installPrinterDriverFromPackage(dest, L"JN-2232T", L"Windows x64", 1),
              winerr::ProcNotFound);
    EXPECT_EQ(sp().deletePrinterDriverPackage(dest, L"Windows x64"), winerr::ProcNotFound);
    EXPECT_EQ(sp().getPrinterDriverPackagePath(L"x.inf", L"Windows x64", dest), winerr::ProcNotFound);
}

} // namespace
