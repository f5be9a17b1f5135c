// Entry points looked up at run time: under Wine the driver store, the Bluetooth stack and
// SHInvokePrinterCommandW are missing or only placeholders that end the process, and the ports
// must answer "not available" for them instead. The run-time lookups themselves are checked here
// too: the ordinal of the set-default function and the recognition of Wine's placeholders.
#include "platform/win32/EntryPoints.h"
#include "platform/win32/Win32AppHost.h"
#include "platform/win32/Win32Bluetooth.h"
#include "platform/win32/Win32PrintSpooler.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cfgmgr32.h>
#include <setupapi.h>

#include <cstring>

namespace {
namespace winerr = ports::winerr;
using ports::Status;

constexpr Status kNotAvailable = ERROR_PROC_NOT_FOUND;

TEST(Win32EntryPoints, Ordinal204OfWinSpoolIsSetDefaultPrinterW) {
    HMODULE winspool = GetModuleHandleW(L"WinSpool.drv");
    ASSERT_NE(winspool, nullptr);
    using Fn = BOOL(WINAPI*)(LPCWSTR);
    const Fn byOrdinal = win32::entryPointByOrdinal<Fn>(winspool, 204);
    ASSERT_NE(byOrdinal, nullptr);
    EXPECT_EQ(byOrdinal, win32::entryPoint<Fn>(winspool, "SetDefaultPrinterW"));
}

TEST(Win32EntryPoints, WinesPlaceholdersAreRecognisedAndRealFunctionsAreNot) {
    if (!win32::runningOnWine())
        GTEST_SKIP() << "Wine's placeholders exist only under Wine";
    HMODULE setupapi = LoadLibraryW(L"setupapi.dll");
    ASSERT_NE(setupapi, nullptr);
    // Exported by Wine 8 as placeholders; present, so only the code behind them tells.
    const void* placeholder =
        reinterpret_cast<const void*>(GetProcAddress(setupapi, "CM_Enumerate_EnumeratorsW"));
    ASSERT_NE(placeholder, nullptr);
    EXPECT_TRUE(win32::isWineStub(placeholder));
    for (const char* real : {"SetupDiGetClassDevsW", "CM_Get_Parent", "SetupDiDestroyDeviceInfoList"}) {
        const void* entry = reinterpret_cast<const void*>(GetProcAddress(setupapi, real));
        ASSERT_NE(entry, nullptr) << real;
        EXPECT_FALSE(win32::isWineStub(entry)) << real;
    }
    FreeLibrary(setupapi);
}

// The ordinal of an export, read from the module's export directory (0 when it has none by that name).
WORD ordinalOf(HMODULE module, const char* name) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    const auto* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        if (std::strcmp(reinterpret_cast<const char*>(base + names[i]), name) == 0)
            return static_cast<WORD>(exports->Base + ordinals[i]);
    }
    return 0;
}

// Every road to an entry point ends at the same answer: the typed lookup by name and by ordinal,
// and the app host's module, whose answer the app's table of system libraries keeps.
TEST(Win32EntryPoints, APlaceholderIsNotAvailableThroughEveryRoute) {
    if (!win32::runningOnWine())
        GTEST_SKIP() << "Wine's placeholders exist only under Wine";
    constexpr const char* kPlaceholder = "CM_Enumerate_EnumeratorsW";
    constexpr const char* kReal = "SetupDiGetClassDevsW";
    win32::Win32AppHost host;
    ports::Status st = winerr::Success;
    const auto module = host.loadLibrary(L"setupapi.dll", st);
    ASSERT_TRUE(module) << st;
    const HMODULE setupapi = win32::moduleHandle(*module);
    ASSERT_NE(GetProcAddress(setupapi, kPlaceholder), nullptr)
        << "exported, so only the code behind it tells";
    const WORD ordinal = ordinalOf(setupapi, kPlaceholder);
    ASSERT_NE(ordinal, 0);
    ASSERT_EQ(GetProcAddress(setupapi, MAKEINTRESOURCEA(ordinal)), GetProcAddress(setupapi, kPlaceholder));

    using EnumeratorsFn = CONFIGRET(WINAPI*)(ULONG, PWSTR, PULONG, ULONG);
    EXPECT_EQ(win32::entryPoint<EnumeratorsFn>(setupapi, kPlaceholder), nullptr);
    EXPECT_EQ(win32::entryPointByOrdinal<EnumeratorsFn>(setupapi, ordinal), nullptr);
    EXPECT_FALSE(win32::hasEntryPoint(setupapi, kPlaceholder));
    EXPECT_FALSE(module->hasEntryPoint(kPlaceholder));
    // A real function stays available on each road.
    using ClassDevsFn = HDEVINFO(WINAPI*)(const GUID*, PCWSTR, HWND, DWORD);
    EXPECT_NE(win32::entryPoint<ClassDevsFn>(setupapi, kReal), nullptr);
    EXPECT_TRUE(win32::hasEntryPoint(setupapi, kReal));
    EXPECT_TRUE(module->hasEntryPoint(kReal));
}

TEST(Win32OptionalFeatures, TheDriverStoreIsNotAvailableUnderWine) {
    win32::Win32PrintSpooler spooler;
    if (spooler.driverStoreAvailable())
        GTEST_SKIP() << "this system has the driver-store functions";
    std::wstring out = L"left over";
    EXPECT_EQ(spooler.uploadPrinterDriverPackage(L"C:\\Drivers\\CorvaneExNew.inf", L"",
                                                 UPDP_SILENT_UPLOAD | UPDP_UPLOAD_ALWAYS, 0, out),
              kNotAvailable);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(spooler.installPrinterDriverFromPackage(L"C:\\Drivers\\CorvaneExNew.inf", L"CX-420T", L"",
                                                      IPDFP_COPY_ALL_FILES),
              kNotAvailable);
    EXPECT_EQ(spooler.deletePrinterDriverPackage(L"C:\\Windows\\INF\\oem7.inf", L""), kNotAvailable);
    EXPECT_EQ(spooler.getPrinterDriverPackagePath(L"{00000000-0000-0000-0000-000000000000}", L"", out),
              kNotAvailable);
}

TEST(Win32OptionalFeatures, ThePrinterCommandOfTheShellIsNotAvailableUnderWine) {
    if (!win32::runningOnWine())
        GTEST_SKIP() << "only Wine lacks SHInvokePrinterCommandW";
    win32::Win32PrintSpooler spooler;
    EXPECT_EQ(spooler.invokePrinterCommand(0, ports::spool::PrintActionProperties, L"\\\\WINE\\CX-420T"),
              kNotAvailable);
}

TEST(Win32OptionalFeatures, BluetoothIsNotAvailableUnderWine) {
    if (!win32::runningOnWine())
        GTEST_SKIP() << "a real system may have a Bluetooth stack";
    win32::Win32Bluetooth bt;
    ports::BluetoothRadio radio;
    EXPECT_NE(bt.findFirstRadio(radio), winerr::Success);
    EXPECT_FALSE(radio);

    ports::BluetoothDeviceInfo printer;
    printer.address = 0x0011223344AAull;
    printer.classOfDevice = 0x040680;
    printer.name = L"CX-420T";
    EXPECT_FALSE(bt.authenticationAvailable());
    ports::BluetoothAuthRegistration registration;
    EXPECT_EQ(bt.registerForAuthentication(
                  printer, [](ports::BluetoothAuthRequest&) { return true; }, registration),
              kNotAvailable);
    EXPECT_FALSE(registration);
    EXPECT_EQ(bt.authenticateDevice(0, printer, ports::btauth::MitmProtectionNotRequired), kNotAvailable);
    EXPECT_EQ(bt.sendAuthenticationResponse({}), kNotAvailable);
    std::vector<ports::Guid> services;
    EXPECT_EQ(bt.installedServices(printer, services), kNotAvailable);
    EXPECT_EQ(bt.setServiceState(printer, ports::guids::SerialPortServiceClass, true), kNotAvailable);
    EXPECT_EQ(bt.removeDevice(printer.address), kNotAvailable);
}

} // namespace
