#pragma once
// The print spooler scenario that both sides of the PrintSpooler port must pass: add a driver, add a
// printer on FILE:, printer data, purge, enumerations at each level, monitors, ports through the
// Xcv channel, delete. Written once over the port; each platform instantiates it with
// INSTANTIATE_TEST_SUITE_P over the step indexes (see SpoolerParitySimTest.cpp):
//
//   class SpoolerParityWine : public ::testing::TestWithParam<std::size_t> {};
//   TEST_P(SpoolerParityWine, Step) {
//       SpoolerScenarioSetup setup{&spooler, &files, L"Windows NT x86",
//       {"SetPrinterW(PRINTER_CONTROL_PURGE)"}}; runSpoolerScenarioStep(setup, GetParam());
//   }
//   INSTANTIATE_TEST_SUITE_P(Wine, SpoolerParityWine, spoolerScenarioRange(), spoolerScenarioStepName);
//
// Each test cleans up what an earlier run may have left, replays the earlier steps that change the
// spooler (adding the driver and the printer, deleting them) without their checks, then runs its own
// step with its checks and cleans up again. A step whose call the platform does not implement is
// skipped with GTEST_SKIP naming that call, and left out of the replay.
#include "platform/ports/FileSystem.h"
#include "platform/ports/PrintSpooler.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace testing_support {

struct SpoolerScenarioSetup {
    ports::PrintSpooler* spooler = nullptr;
    ports::FileSystem* files = nullptr;
    // The environment the driver is added for and deleted from ("Windows x64", "Windows NT x86").
    std::wstring environment;
    // The `call` names of the steps this platform does not implement, and of single checks within
    // a step ("EnumPortsW(monitor name)", "DeletePrinterDriverExW(unknown driver)").
    std::set<std::string> notImplemented;
    // Puts the driver's files (file names) into the driver directory; by default small files
    // written through `files`.
    std::function<void(const std::wstring& driverDirectory, const std::vector<std::wstring>& fileNames)>
        prepareDriverFiles;
};

struct SpoolerScenarioStep {
    const char* name; // the test name's suffix
    const char* call; // the Windows call (and case) the step checks, as notImplemented names it
};
const std::vector<SpoolerScenarioStep>& spoolerScenarioSteps();
::testing::internal::ParamGenerator<std::size_t> spoolerScenarioRange();
std::string spoolerScenarioStepName(const ::testing::TestParamInfo<std::size_t>& info);

void runSpoolerScenarioStep(const SpoolerScenarioSetup& setup, std::size_t index);

// The names the scenario uses, for tests that look at the result.
inline constexpr wchar_t kScenarioDriver[] = L"Orvello Parity Driver";
inline constexpr wchar_t kScenarioPrinter[] = L"Orvello Parity Printer";
inline constexpr wchar_t kScenarioPort[] = L"OrvelloParity.prn";

// Adds a DRIVER_INFO_3 driver the way the scenario does: its four files written into the driver
// directory first (through `files`), then AddPrinterDriverW.
ports::Status addDriverWithFiles(ports::PrintSpooler& spooler, ports::FileSystem& files,
                                 std::wstring_view environment, std::wstring_view name);

} // namespace testing_support
