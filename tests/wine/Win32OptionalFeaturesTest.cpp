// Entry points looked up at run time: under Wine the driver store, the Bluetooth stack and
// SHInvokePrinterCommandW are missing or only placeholders that end the process, and the ports
// must answer "not available" for them instead. The run-time lookups themselves are checked here
// too: the ordinal of the set-default function and the recognition of Wine's placeholders.
#include "platform/win32/EntryPoints.h"
#include "platform/win32/Win32Bluetooth.h"
#include "platform/win32/Win32PrintSpooler.h"

#include <gtest/gtest.h>

#include <windows.h>

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
