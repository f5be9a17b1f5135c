// The printer interface DLL (CorvaneExUiNew.dll) loaded as the spooler loads it, its entry points
// called with a printer of Wine's spooler whose data file the test wrote. The DEVMODEs handed in
// end at a page that cannot be read, so reading past the sizes they declare crashes the test.
#include "DriverTestPrinter.h"

#include "driver/win32/DriverDevMode.h"
#include "driver/win32/DriverUiGaps.h"

#include <gtest/gtest.h>
#include <prsht.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace driver::win32;
using wine_tests::DriverTestPrinter;

using DeviceCapabilitiesFn = DWORD(WINAPI*)(HANDLE, PWSTR, WORD, void*, DEVMODEW*);
using ConvertDevModeFn = BOOL(WINAPI*)(LPWSTR, DEVMODEW*, DEVMODEW*, LONG*, DWORD);
using DevQueryPrintExFn = BOOL(WINAPI*)(DevQueryPrintInfo*);
using PropertySheetsFn = LONG(WINAPI*)(PROPSHEETUI_INFO*, LPARAM);

constexpr short kFirstPaper = DMPAPER_USER + 1;
constexpr LONG kFullSize = sizeof(DriverDevMode);

// `size` bytes that end where an unreadable page begins.
class GuardedBytes {
public:
    explicit GuardedBytes(std::size_t size) : size_(size) {
        SYSTEM_INFO si;
        GetSystemInfo(&si);
        page_ = si.dwPageSize;
        base_ =
            static_cast<BYTE*>(VirtualAlloc(nullptr, 2 * page_, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(base_ + page_, page_, PAGE_NOACCESS, &old);
        std::memset(base_, 0xCD, page_);
    }
    ~GuardedBytes() { VirtualFree(base_, 0, MEM_RELEASE); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    BYTE* data() const { return base_ + page_ - size_; }
    DEVMODEW* devMode() const { return reinterpret_cast<DEVMODEW*>(data()); }

private:
    std::size_t size_;
    std::size_t page_ = 0;
    BYTE* base_ = nullptr;
};

class DriverUiDll : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        printer_ = new DriverTestPrinter(wine_tests::sampleModel());
        module_ = LoadLibraryW(wine_tests::driverDllPath(L"CorvaneExUiNew.dll").c_str());
    }
    static void TearDownTestSuite() {
        FreeLibrary(module_);
        delete printer_;
    }
    void SetUp() override {
        ASSERT_NE(module_, nullptr) << "CorvaneExUiNew.dll did not load: " << GetLastError();
        ASSERT_TRUE(printer_->ok()) << printer_->error();
    }

    template <typename Fn> static Fn entry(const char* name) {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

    DWORD capability(WORD index, void* out) const {
        return entry<DeviceCapabilitiesFn>("DrvDeviceCapabilities")(printer_->handle(), nullptr, index, out,
                                                                    nullptr);
    }

    // The driver's default DEVMODE, from DrvConvertDevMode's CDM_DRIVER_DEFAULT.
    DriverDevMode driverDefault() const {
        DriverDevMode dm{};
        LONG size = sizeof dm;
        EXPECT_TRUE(convert(nullptr, &dm.pub, &size, kDriverDefaultDevMode));
        return dm;
    }

    BOOL convert(DEVMODEW* in, DEVMODEW* out, LONG* size, DWORD mode) const {
        return entry<ConvertDevModeFn>("DrvConvertDevMode")(const_cast<LPWSTR>(printer_->name()), in, out,
                                                            size, mode);
    }

    static DriverTestPrinter* printer_;
    static HMODULE module_;
};
DriverTestPrinter* DriverUiDll::printer_ = nullptr;
HMODULE DriverUiDll::module_ = nullptr;

TEST_F(DriverUiDll, CapabilitiesListTheModelsPapersAndResolution) {
    ASSERT_EQ(capability(DC_PAPERS, nullptr), 2u);
    WORD papers[2] = {};
    EXPECT_EQ(capability(DC_PAPERS, papers), 2u);
    EXPECT_EQ(papers[0], kFirstPaper);
    EXPECT_EQ(papers[1], kFirstPaper + 1);

    wchar_t names[2][64];
    ASSERT_EQ(capability(DC_PAPERNAMES, names), 2u);
    EXPECT_STREQ(names[0], L"57mm x 150mm");
    EXPECT_STREQ(names[1], L"4\" x 6\", wide");

    POINT sizes[2] = {};
    ASSERT_EQ(capability(DC_PAPERSIZE, sizes), 2u);
    EXPECT_EQ(sizes[0].x, 570);
    EXPECT_EQ(sizes[0].y, 1500);
    EXPECT_EQ(sizes[1].x, 1016);
    EXPECT_EQ(sizes[1].y, 1524);

    LONG resolution[2] = {};
    ASSERT_EQ(capability(DC_ENUMRESOLUTIONS, resolution), 1u);
    EXPECT_EQ(resolution[0], 203);
    EXPECT_EQ(resolution[1], 203);
}

TEST_F(DriverUiDll, CapabilitiesAnswerTheSpoolersQuestions) {
    struct Case {
        WORD index;
        DWORD expected;
    } cases[] = {
        {DC_SIZE, sizeof(DEVMODEW)},
        {DC_EXTRA, sizeof(PrivateDevMode)},
        {DC_VERSION, DM_SPECVERSION},
        {DC_COPIES, 9999},
        {DC_ORIENTATION, 90},
        {DC_DUPLEX, 0},
        {DC_COLORDEVICE, 0},
        {DC_BINS, 1},
        // Custom sizes from 10 mm square up to the widest paper (101.6 mm) by 2 m.
        {DC_MINEXTENT, MAKELONG(100, 100)},
        {DC_MAXEXTENT, MAKELONG(1016, 20000)},
        {DC_FIELDS, DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES |
                        DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_YRESOLUTION | DM_COLOR | DM_FORMNAME},
        {999, GDI_ERROR},
    };
    for (const Case& c : cases)
        EXPECT_EQ(capability(c.index, nullptr), c.expected) << "DC_ index " << c.index;
}

TEST_F(DriverUiDll, TheDefaultDevModeIsTheModelsDefaults) {
    LONG size = 10;
    DriverDevMode small{};
    EXPECT_FALSE(convert(nullptr, &small.pub, &size, kDriverDefaultDevMode));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(size, kFullSize);

    const DriverDevMode dm = driverDefault();
    EXPECT_STREQ(dm.pub.dmDeviceName, std::wstring(printer_->name()).substr(0, 31).c_str());
    EXPECT_EQ(dm.pub.dmSize, sizeof(DEVMODEW));
    EXPECT_EQ(dm.pub.dmDriverExtra, sizeof(PrivateDevMode));
    EXPECT_EQ(dm.pub.dmPaperSize, kFirstPaper);
    EXPECT_EQ(dm.pub.dmPaperWidth, 570);
    EXPECT_EQ(dm.pub.dmPaperLength, 1500);
    EXPECT_STREQ(dm.pub.dmFormName, L"57mm x 150mm");
    EXPECT_EQ(dm.pub.dmOrientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(dm.pub.dmCopies, 1);
    EXPECT_EQ(dm.pub.dmPrintQuality, 203);
    EXPECT_EQ(dm.pub.dmYResolution, 203);
    EXPECT_EQ(dm.priv.signature, kPrivateSignature);
    EXPECT_EQ(dm.priv.darkness, 8);
    EXPECT_EQ(dm.priv.speed, 3);
}

// What a DEVMODE asks for and what the driver makes of it; `edit` changes the driver's default
// DEVMODE, and the input handed in is `size` public bytes plus `extra` private bytes of it.
struct ConvertCase {
    const char* what;
    std::function<void(DriverDevMode&)> edit;
    WORD size = sizeof(DEVMODEW);
    WORD extra = sizeof(PrivateDevMode);
    // The fields of the result.
    short paper = kFirstPaper;
    short width = 570;
    short length = 1500;
    short copies = 1;
    short orientation = DMORIENT_PORTRAIT;
    LONG darkness = 8;
    LONG speed = 3;
};

TEST_F(DriverUiDll, ConversionCorrectsWhatIsOutOfRange) {
    const ConvertCase cases[] = {
        {"unchanged", [](DriverDevMode&) {}},
        {"five copies", [](DriverDevMode& d) { d.pub.dmCopies = 5; }, sizeof(DEVMODEW), 16, kFirstPaper, 570,
         1500, 5},
        {"no copies", [](DriverDevMode& d) { d.pub.dmCopies = 0; }},
        {"too many copies", [](DriverDevMode& d) { d.pub.dmCopies = 10000; }},
        {"the second paper", [](DriverDevMode& d) { d.pub.dmPaperSize = kFirstPaper + 1; }, sizeof(DEVMODEW),
         16, kFirstPaper + 1, 1016, 1524},
        {"a paper number past the model's", [](DriverDevMode& d) { d.pub.dmPaperSize = kFirstPaper + 2; }},
        {"a standard paper (A4)", [](DriverDevMode& d) { d.pub.dmPaperSize = DMPAPER_A4; }},
        {"the second paper by name",
         [](DriverDevMode& d) {
             d.pub.dmFields &= ~DM_PAPERSIZE;
             wcscpy(d.pub.dmFormName, L"4\" x 6\", wide");
         },
         sizeof(DEVMODEW), 16, kFirstPaper + 1, 1016, 1524},
        {"a custom size",
         [](DriverDevMode& d) {
             d.pub.dmPaperSize = DMPAPER_USER;
             d.pub.dmPaperWidth = 500;
             d.pub.dmPaperLength = 800;
         },
         sizeof(DEVMODEW), 16, DMPAPER_USER, 500, 800},
        {"sizes without a paper number",
         [](DriverDevMode& d) {
             d.pub.dmFields &= ~(DM_PAPERSIZE | DM_FORMNAME);
             d.pub.dmPaperWidth = 600;
             d.pub.dmPaperLength = 700;
         },
         sizeof(DEVMODEW), 16, DMPAPER_USER, 600, 700},
        {"a custom size wider than the printer",
         [](DriverDevMode& d) {
             d.pub.dmPaperSize = DMPAPER_USER;
             d.pub.dmPaperWidth = 1100;
             d.pub.dmPaperLength = 800;
         }},
        {"a negative custom length",
         [](DriverDevMode& d) {
             d.pub.dmPaperSize = DMPAPER_USER;
             d.pub.dmPaperWidth = 500;
             d.pub.dmPaperLength = -800;
         }},
        {"landscape", [](DriverDevMode& d) { d.pub.dmOrientation = DMORIENT_LANDSCAPE; }, sizeof(DEVMODEW),
         16, kFirstPaper, 570, 1500, 1, DMORIENT_LANDSCAPE},
        {"an unknown orientation", [](DriverDevMode& d) { d.pub.dmOrientation = 7; }},
        {"fields whose bits are off",
         [](DriverDevMode& d) {
             d.pub.dmFields = 0;
             d.pub.dmCopies = 5;
             d.pub.dmPaperSize = kFirstPaper + 1;
         }},
        {"its own darkness and speed",
         [](DriverDevMode& d) {
             d.priv.darkness = 12;
             d.priv.speed = 5;
         },
         sizeof(DEVMODEW), 16, kFirstPaper, 570, 1500, 1, DMORIENT_PORTRAIT, 12, 5},
        {"a darkness out of the model's range", [](DriverDevMode& d) { d.priv.darkness = 16; }},
        {"a speed the model does not have", [](DriverDevMode& d) { d.priv.speed = 6; }},
        {"another driver's private part",
         [](DriverDevMode& d) {
             d.priv.signature = 0x12345678;
             d.priv.darkness = 12;
         }},
        {"another version of the private part",
         [](DriverDevMode& d) {
             d.priv.version = 2;
             d.priv.darkness = 12;
         }},
        {"a private part cut short", [](DriverDevMode& d) { d.priv.darkness = 12; }, sizeof(DEVMODEW), 12},
        {"no private part", [](DriverDevMode& d) { d.pub.dmCopies = 5; }, sizeof(DEVMODEW), 0, kFirstPaper,
         570, 1500, 5},
        // The public part of an older system ends before dmFormName: its form name bit is ignored
        // (the name would lie past the end) and its paper number still counts.
        {"an old public part with the form name bit set",
         [](DriverDevMode& d) {
             d.pub.dmPaperSize = kFirstPaper + 1;
             d.pub.dmCopies = 2;
             d.priv.darkness = 12;
         },
         offsetof(DEVMODEW, dmFormName), 16, kFirstPaper + 1, 1016, 1524, 2, DMORIENT_PORTRAIT, 12},
        {"a public part too short to hold the paper",
         [](DriverDevMode& d) {
             d.pub.dmCopies = 5;
             d.priv.darkness = 12;
         },
         offsetof(DEVMODEW, dmPaperSize), 16},
        {"a public part size of zero",
         [](DriverDevMode& d) {
             d.pub.dmCopies = 5;
             d.priv.darkness = 12;
         },
         0, 16},
    };
    const DriverDevMode base = driverDefault();
    for (const ConvertCase& c : cases) {
        SCOPED_TRACE(c.what);
        DriverDevMode edited = base;
        c.edit(edited);
        // The input as a caller of that layout would hand it in, ending at an unreadable page.
        const std::size_t inSize = std::max<std::size_t>(c.size, offsetof(DEVMODEW, dmFields) + 4) + c.extra;
        GuardedBytes in(inSize);
        std::memcpy(in.data(), &edited.pub, std::min<std::size_t>(c.size, sizeof(DEVMODEW)));
        std::memcpy(in.data() + c.size, &edited.priv, std::min<std::size_t>(c.extra, sizeof(PrivateDevMode)));
        in.devMode()->dmSize = c.size;
        in.devMode()->dmDriverExtra = c.extra;

        DriverDevMode out{};
        out.pub.dmSize = sizeof(DEVMODEW);
        out.pub.dmDriverExtra = sizeof(PrivateDevMode);
        LONG size = kFullSize;
        ASSERT_TRUE(convert(in.devMode(), &out.pub, &size, kConvertDevMode));
        EXPECT_EQ(size, kFullSize);
        EXPECT_EQ(out.pub.dmPaperSize, c.paper);
        EXPECT_EQ(out.pub.dmPaperWidth, c.width);
        EXPECT_EQ(out.pub.dmPaperLength, c.length);
        EXPECT_EQ(out.pub.dmCopies, c.copies);
        EXPECT_EQ(out.pub.dmOrientation, c.orientation);
        EXPECT_EQ(out.pub.dmPrintQuality, 203);
        EXPECT_EQ(out.priv.signature, kPrivateSignature);
        EXPECT_EQ(out.priv.darkness, c.darkness);
        EXPECT_EQ(out.priv.speed, c.speed);
    }
}

TEST_F(DriverUiDll, ConversionWritesTheLayoutTheCallerAsksFor) {
    DriverDevMode in = driverDefault();
    in.pub.dmCopies = 3;
    // An older caller: the public part up to dmCollate and no private part, in a buffer of exactly
    // that size, so a byte written past it crashes.
    const WORD oldSize = offsetof(DEVMODEW, dmFormName);
    GuardedBytes out(oldSize);
    out.devMode()->dmSize = oldSize;
    out.devMode()->dmDriverExtra = 0;
    LONG size = oldSize;
    ASSERT_TRUE(convert(&in.pub, out.devMode(), &size, kConvertDevMode));
    EXPECT_EQ(size, oldSize);
    EXPECT_EQ(out.devMode()->dmSize, oldSize);
    EXPECT_EQ(out.devMode()->dmDriverExtra, 0);
    EXPECT_EQ(out.devMode()->dmCopies, 3);
    EXPECT_EQ(out.devMode()->dmFields & DM_FORMNAME, 0u) << "the form name does not fit";

    // Windows NT 3.51's layout keeps the private part.
    size = 10;
    DriverDevMode nt351{};
    EXPECT_FALSE(convert(&in.pub, &nt351.pub, &size, kConvertDevMode351));
    EXPECT_EQ(size, LONG(kDevMode351Size + sizeof(PrivateDevMode)));
    GuardedBytes exact(size);
    ASSERT_TRUE(convert(&in.pub, exact.devMode(), &size, kConvertDevMode351));
    EXPECT_EQ(exact.devMode()->dmSize, kDevMode351Size);
    PrivateDevMode priv;
    std::memcpy(&priv, exact.data() + kDevMode351Size, sizeof priv);
    EXPECT_EQ(priv.signature, kPrivateSignature);

    size = kFullSize;
    EXPECT_FALSE(convert(&in.pub, &nt351.pub, &size, 0x80));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(DriverUiDll, DocumentPropertiesWithoutASheetCorrectTheDevMode) {
    const auto sheets = entry<PropertySheetsFn>("DrvDocumentPropertySheets");
    DocumentPropertyHeader header{};
    header.cbSize = sizeof header;
    header.hPrinter = printer_->handle();
    header.pszPrinterName = const_cast<LPWSTR>(printer_->name());
    EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), kFullSize) << "the size it needs";

    DriverDevMode in = driverDefault();
    in.pub.dmCopies = -4;
    in.pub.dmPaperSize = kFirstPaper + 1;
    DriverDevMode out{};
    header.pdmIn = &in.pub;
    header.pdmOut = &out.pub;
    header.cbOut = sizeof out;
    header.fMode = DM_IN_BUFFER | DM_OUT_BUFFER;
    EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), CPSUI_OK);
    EXPECT_EQ(out.pub.dmCopies, 1);
    EXPECT_EQ(out.pub.dmPaperSize, kFirstPaper + 1);
    EXPECT_EQ(out.priv.darkness, 8);

    header.cbOut = sizeof out - 1;
    EXPECT_EQ(sheets(nullptr, reinterpret_cast<LPARAM>(&header)), ERR_CPSUI_GETLASTERROR);
}

TEST_F(DriverUiDll, AJobWithADamagedDevModeIsHeld) {
    const auto query = entry<DevQueryPrintExFn>("DevQueryPrintEx");
    DriverDevMode good = driverDefault();
    DevQueryPrintInfo info{};
    info.cbSize = sizeof info;
    info.Level = 1;
    info.hPrinter = printer_->handle();
    info.pDevMode = &good.pub;
    EXPECT_TRUE(query(&info));

    GuardedBytes damaged(offsetof(DEVMODEW, dmFields) + 4);
    std::memcpy(damaged.data(), &good.pub, offsetof(DEVMODEW, dmFields) + 4);
    damaged.devMode()->dmSize = 12;
    wchar_t message[128] = {};
    info.pDevMode = damaged.devMode();
    info.pszErrorStr = message;
    info.cchErrorStr = 128;
    EXPECT_FALSE(query(&info));
    EXPECT_GT(info.cchNeeded, 1u);
    EXPECT_EQ(std::wstring(message).size() + 1, info.cchNeeded);
}

// The property sheet's host as compstui would be: it records the pages the driver adds.
struct FakeSheetHost {
    static LONG_PTR CALLBACK call(HANDLE host, UINT function, LPARAM lParam1, LPARAM) {
        auto* self = static_cast<FakeSheetHost*>(host);
        if (function != CPSFUNC_ADD_PROPSHEETPAGEW)
            return 0;
        const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam1);
        self->texts.push_back(*reinterpret_cast<const std::wstring*>(page->lParam));
        self->templates.push_back((page->dwFlags & PSP_DLGINDIRECT) && page->pResource != nullptr);
        // The host owns the page from here: release it as compstui does when the sheet closes.
        PROPSHEETPAGEW copy = *page;
        page->pfnCallback(nullptr, PSPCB_RELEASE, &copy);
        return 1;
    }
    std::vector<std::wstring> texts;
    std::vector<bool> templates;
};

TEST_F(DriverUiDll, ThePrinterPropertiesShowTheModel) {
    FakeSheetHost host;
    DevicePropertyHeader header{sizeof header, 0, printer_->handle(), const_cast<LPWSTR>(printer_->name())};
    PROPSHEETUI_INFO sheet{};
    sheet.cbSize = sizeof sheet;
    sheet.Reason = PROPSHEETUI_REASON_INIT;
    sheet.hComPropSheet = &host;
    sheet.pfnComPropSheet = &FakeSheetHost::call;
    sheet.lParamInit = reinterpret_cast<LPARAM>(&header);
    ASSERT_GT(entry<PropertySheetsFn>("DrvDevicePropertySheets")(&sheet, 0), 0);
    ASSERT_EQ(host.texts.size(), 1u);
    EXPECT_TRUE(host.templates[0]);
    const std::wstring& text = host.texts[0];
    EXPECT_NE(text.find(L"Model: Orvello Test LP-1"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"Resolution: 203 dpi"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"4\" x 6\", wide (101.6 x 152.4 mm)"), std::wstring::npos) << text;
}

TEST_F(DriverUiDll, ThePrintingPreferencesShowTheModelAndGiveACorrectedDevMode) {
    FakeSheetHost host;
    DriverDevMode in = driverDefault();
    in.pub.dmCopies = 0;
    in.priv.darkness = 12;
    DriverDevMode out{};
    DocumentPropertyHeader header{};
    header.cbSize = sizeof header;
    header.hPrinter = printer_->handle();
    header.pszPrinterName = const_cast<LPWSTR>(printer_->name());
    header.pdmIn = &in.pub;
    header.pdmOut = &out.pub;
    header.cbOut = sizeof out;
    header.fMode = DM_IN_BUFFER | DM_OUT_BUFFER;
    PROPSHEETUI_INFO sheet{};
    sheet.cbSize = sizeof sheet;
    sheet.Reason = PROPSHEETUI_REASON_INIT;
    sheet.hComPropSheet = &host;
    sheet.pfnComPropSheet = &FakeSheetHost::call;
    sheet.lParamInit = reinterpret_cast<LPARAM>(&header);
    ASSERT_GT(entry<PropertySheetsFn>("DrvDocumentPropertySheets")(&sheet, 0), 0);
    ASSERT_EQ(host.texts.size(), 1u);
    EXPECT_NE(host.texts[0].find(L"Printer language: tspl"), std::wstring::npos) << host.texts[0];
    EXPECT_EQ(out.pub.dmCopies, 1);
    EXPECT_EQ(out.priv.darkness, 12);
}

TEST(DriverUiDllBadData, APrinterWhoseDataFileHasAnErrorGetsNothing) {
    // A data file of an unknown format version: the driver must refuse, not guess.
    DriverTestPrinter printer("Orvello Test Broken", "format = 2\nmodel = Orvello Test Broken\n");
    ASSERT_TRUE(printer.ok()) << printer.error();
    const HMODULE module = LoadLibraryW(wine_tests::driverDllPath(L"CorvaneExUiNew.dll").c_str());
    ASSERT_NE(module, nullptr);
    const auto capabilities = reinterpret_cast<DeviceCapabilitiesFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "DrvDeviceCapabilities")));
    const auto convert = reinterpret_cast<ConvertDevModeFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "DrvConvertDevMode")));
    const auto query = reinterpret_cast<DevQueryPrintExFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "DevQueryPrintEx")));
    EXPECT_EQ(capabilities(printer.handle(), nullptr, DC_PAPERS, nullptr, nullptr), GDI_ERROR);
    DriverDevMode out{};
    LONG size = sizeof out;
    EXPECT_FALSE(
        convert(const_cast<LPWSTR>(printer.name()), nullptr, &out.pub, &size, kDriverDefaultDevMode));
    DevQueryPrintInfo info{};
    info.cbSize = sizeof info;
    info.hPrinter = printer.handle();
    EXPECT_FALSE(query(&info));
    EXPECT_GT(info.cchNeeded, 1u);
    FreeLibrary(module);
}

} // namespace
