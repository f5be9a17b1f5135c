// The printer graphics DLL (CorvaneExUniNew.dll) as the graphics engine first meets it: loaded
// alone, it hands over its entry table and says that it runs in user mode. Wine's gdi32 has no
// engine calls, so no page is rendered here; the page glue is tested on Linux (BitmapPageTest).
#include "DriverTestPrinter.h"

#include "driver/win32/render/EngineTypes.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace {

using namespace driver::win32;

using EnableDriverFn = BOOL(APIENTRY*)(ULONG, ULONG, DRVENABLEDATA*);
using QueryDriverInfoFn = BOOL(APIENTRY*)(DWORD, PVOID, DWORD, PDWORD);

class DriverRenderDll : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryW(wine_tests::driverDllPath(L"CorvaneExUniNew.dll").c_str());
        ASSERT_NE(module_, nullptr) << "CorvaneExUniNew.dll did not load: " << GetLastError();
    }
    void TearDown() override {
        if (module_)
            FreeLibrary(module_);
    }
    template <typename Fn> Fn entry(const char* name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }
    HMODULE module_ = nullptr;
};

TEST_F(DriverRenderDll, HandsTheEngineARasterPrintersEntryTable) {
    const auto enable = entry<EnableDriverFn>("DrvEnableDriver");
    ASSERT_NE(enable, nullptr);
    DRVENABLEDATA data{};
    ASSERT_TRUE(enable(kDdiVersionNT5_01, sizeof data, &data));
    EXPECT_EQ(data.iDriverVersion, static_cast<ULONG>(kDdiVersionNT5));
    std::set<ULONG> indices;
    for (ULONG i = 0; i < data.c; ++i) {
        EXPECT_NE(data.pdrvfn[i].pfn, nullptr);
        indices.insert(data.pdrvfn[i].iFunc);
    }
    // The page's life cycle and nothing else: the engine draws everything itself.
    const std::set<ULONG> expected = {kIndexEnablePDEV,    kIndexCompletePDEV,   kIndexDisablePDEV,
                                      kIndexEnableSurface, kIndexDisableSurface, kIndexStartDoc,
                                      kIndexStartPage,     kIndexSendPage,       kIndexEndDoc};
    EXPECT_EQ(indices, expected);
    EXPECT_EQ(data.c, expected.size()) << "no index twice";
}

TEST_F(DriverRenderDll, RefusesAnEngineOlderThanWindows2000) {
    DRVENABLEDATA data{};
    EXPECT_FALSE(entry<EnableDriverFn>("DrvEnableDriver")(kDdiVersionNT4, sizeof data, &data));
    EXPECT_FALSE(entry<EnableDriverFn>("DrvEnableDriver")(kDdiVersionNT5, sizeof data - 1, &data));
}

TEST_F(DriverRenderDll, SaysItIsAUserModeDriver) {
    const auto query = entry<QueryDriverInfoFn>("DrvQueryDriverInfo");
    ASSERT_NE(query, nullptr);
    DWORD needed = 0;
    EXPECT_FALSE(query(kQueryUserMode, nullptr, 0, &needed));
    EXPECT_EQ(needed, sizeof(DWORD));
    DWORD userMode = 0;
    ASSERT_TRUE(query(kQueryUserMode, &userMode, sizeof userMode, &needed));
    EXPECT_EQ(userMode, static_cast<DWORD>(TRUE));
    EXPECT_FALSE(query(0x7F, &userMode, sizeof userMode, &needed));
}

TEST_F(DriverRenderDll, ImportsNoEngineCall) {
    // Every engine call is looked up when a device is enabled; an import of one would keep the
    // DLL from loading on a gdi32 without it.
    const auto* base = reinterpret_cast<const BYTE*>(module_);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    ASSERT_NE(dir.VirtualAddress, 0u);
    std::set<std::string> modules;
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name;
         ++d) {
        std::string name(reinterpret_cast<const char*>(base + d->Name));
        for (char& c : name)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        modules.insert(name);
    }
    EXPECT_EQ(modules.count("gdi32.dll"), 0u);
    EXPECT_EQ(modules, (std::set<std::string>{"kernel32.dll", "msvcrt.dll", "winspool.drv"}));
}

} // namespace
