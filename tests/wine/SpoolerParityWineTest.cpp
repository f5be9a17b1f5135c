// The spooler scenario of tests/support/SpoolerScenario.h against Wine's spooler through the real
// Win32 side. Steps whose calls Wine 8 does not implement are skipped by the call's name.
#include "support/SpoolerScenario.h"
#include "support/TestMachine.h"

#include "platform/win32/Win32Platform.h"
#include "wine/ThisBuild.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using namespace testing_support;

// What Wine 8's spooler lacks (each seen on this machine's Wine):
const std::set<std::string> kWineLacks = {
    "AddPrinterW(existing name)",             // opens the existing printer instead of failing with 1802
    "SetPrinterW(level 2)",                   // succeeds but does not rename
    "SetPrinterW(PRINTER_CONTROL_PURGE)",     // answers ERROR_INVALID_LEVEL
    "DeletePrinterDriverExW(in use)",         // has no in-use check
    "AddPrinterW(unknown port)",              // adds a printer on a port that does not exist
    "EnumPortsW(monitor name)",               // names the local monitor "Local Monitor", not "Local Port"
    "DeletePrinterDriverExW(unknown driver)", // answers 126 (ERROR_MOD_NOT_FOUND), not 1797
};

class SpoolerParityWine : public ::testing::TestWithParam<std::size_t> {};

TEST_P(SpoolerParityWine, Step) {
    win32::Win32Platform platform{programResources()};
    SpoolerScenarioSetup setup{
        &platform.spooler(), &platform.files(), wine_tests::kDriverEnvironment, kWineLacks, {}};
    // Wine loads the driver's DLLs when a driver is added: its own PostScript driver stands in for them.
    setup.prepareDriverFiles = [](const std::wstring& dir, const std::vector<std::wstring>& names) {
        wchar_t system[MAX_PATH] = {};
        GetSystemDirectoryW(system, MAX_PATH);
        const std::wstring source = std::wstring(system) + L"\\wineps.drv";
        CreateDirectoryW(dir.c_str(), nullptr);
        for (const auto& name : names)
            CopyFileW(source.c_str(), (dir + L"\\" + name).c_str(), FALSE);
    };
    runSpoolerScenarioStep(setup, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Wine, SpoolerParityWine, spoolerScenarioRange(), spoolerScenarioStepName);

} // namespace
