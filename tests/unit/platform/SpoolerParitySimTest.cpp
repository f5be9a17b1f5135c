// The spooler scenario that the Win32 side runs against Wine's spooler, here on the simulated machine,
// where every step is implemented.
#include "support/SpoolerScenario.h"
#include "support/TestMachine.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

using namespace testing_support;

class SpoolerParitySim : public ::testing::TestWithParam<std::size_t> {};

TEST_P(SpoolerParitySim, Step) {
    TestMachine m;
    SpoolerScenarioSetup setup{&m.platform().spooler(), &m.platform().files(), L"Windows x64", {}, {}};
    runSpoolerScenarioStep(setup, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Sim, SpoolerParitySim, spoolerScenarioRange(), spoolerScenarioStepName);

// Every step cleans up after itself, so that it can run on a real spooler again and again.
TEST(SpoolerParitySimCleanUp, EachStepLeavesTheSpoolerAsItFoundIt) {
    for (std::size_t i = 0; i < spoolerScenarioSteps().size(); ++i) {
        SCOPED_TRACE(spoolerScenarioSteps()[i].name);
        TestMachine m;
        const sim::Json before = m.machine().read([](const sim::Json& s) { return s["spooler"]; });
        SpoolerScenarioSetup setup{&m.platform().spooler(), &m.platform().files(), L"Windows x64", {}, {}};
        runSpoolerScenarioStep(setup, i);
        const sim::Json after = m.machine().read([](const sim::Json& s) { return s["spooler"]; });
        EXPECT_EQ(after["printers"], before["printers"]);
        EXPECT_EQ(after["ports"], before["ports"]);
        EXPECT_EQ(after["defaultPrinter"], before["defaultPrinter"]);
        EXPECT_EQ(after["drivers"], before["drivers"]);
    }
}

std::size_t stepNamed(const std::string& name) {
    std::size_t i = 0;
    while (i < spoolerScenarioSteps().size() && spoolerScenarioSteps()[i].name != name)
        ++i;
    return i;
}

// Runs one step with its results caught instead of reported.
void runCaught(const SpoolerScenarioSetup& setup, std::size_t step, ::testing::TestPartResultArray& results) {
    ::testing::ScopedFakeTestPartResultReporter reporter(
        ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
    runSpoolerScenarioStep(setup, step);
}

// A step the platform does not implement is skipped by the name of its call, and it is left out
// when the later steps are prepared (so a step that needs it fails rather than passes by chance).
TEST(SpoolerParitySimSkip, AStepNotImplementedIsSkippedByNameAndNotReplayed) {
    TestMachine m;
    SpoolerScenarioSetup setup{
        &m.platform().spooler(), &m.platform().files(), L"Windows x64", {"AddPrinterW"}, {}};
    ::testing::TestPartResultArray skipped, later;
    runCaught(setup, stepNamed("AddPrinterOnFile"), skipped);
    ASSERT_EQ(skipped.size(), 1);
    EXPECT_TRUE(skipped.GetTestPartResult(0).skipped());
    EXPECT_NE(std::string(skipped.GetTestPartResult(0).message()).find("AddPrinterW"), std::string::npos);

    runCaught(setup, stepNamed("EnumPrinters"), later);
    ASSERT_GT(later.size(), 0);
    EXPECT_TRUE(later.GetTestPartResult(0).failed());
}

} // namespace
