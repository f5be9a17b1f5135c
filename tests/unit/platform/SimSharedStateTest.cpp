// Two simulated machines on one state file are one machine: what one process changes, the other sees.
#include "support/SpoolerScenario.h"
#include "support/TestMachine.h"

#include "platform/sim/SimPlatform.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

namespace {

using testing_support::programResources;
using testing_support::TempFolder;
namespace winerr = ports::winerr;
namespace spool = ports::spool;

std::unique_ptr<sim::SimMachine> open(const std::filesystem::path& file) {
    ports::Status status = 0;
    auto m = sim::SimMachine::openFile(file, status);
    EXPECT_EQ(status, winerr::Success);
    return m;
}

TEST(SimSharedState, EachMachineSeesTheOthersChanges) {
    TempFolder folder;
    const auto file = folder.path() / "machine.json";
    auto first = open(file), second = open(file);
    ASSERT_TRUE(first && second);
    sim::SimPlatform a(*first, programResources()), b(*second, programResources());
    ASSERT_EQ(testing_support::addDriverWithFiles(a.spooler(), a.files(), L"Windows x64", L"JN-2232T"),
              winerr::Success);
    ports::PrinterInfo2 p;
    p.printerName = L"Shared";
    p.portName = L"LPT1:";
    p.driverName = L"JN-2232T";
    p.printProcessor = L"winprint";
    ports::SpoolerHandle h;
    ASSERT_EQ(a.spooler().addPrinter(p, h), winerr::Success);
    ports::SpoolerHandle seen;
    ASSERT_EQ(b.spooler().openPrinter(L"Shared", spool::PrinterAllAccess, seen), winerr::Success);
    ASSERT_EQ(b.spooler().deletePrinter(seen), winerr::Success);
    ports::PrinterInfo2 info;
    EXPECT_EQ(a.spooler().getPrinter2(h, info), winerr::InvalidHandle); // gone for the first one too
    // The drive is shared as well.
    EXPECT_TRUE(b.files().fileExists(L"C:\\Windows\\system32\\spool\\DRIVERS\\x64\\3\\JN-2232T.dll"));
}

TEST(SimSharedState, WritersInTwoProcessesLoseNothing) {
    TempFolder folder;
    const auto file = folder.path() / "machine.json";
    auto first = open(file), second = open(file);
    auto addPorts = [&](sim::SimMachine& machine, const std::wstring& prefix) {
        sim::SimPlatform platform(machine, programResources());
        ports::SpoolerHandle xcv;
        ASSERT_EQ(
            platform.spooler().openPrinter(L",XcvMonitor Local Port", spool::ServerAccessAdminister, xcv),
            winerr::Success);
        for (int i = 0; i < 20; ++i) {
            ports::PortData1 d;
            d.portName = prefix + std::to_wstring(i);
            EXPECT_EQ(platform.spooler().xcvAddPort(xcv, d).monitor, winerr::Success);
        }
    };
    std::thread t1([&] { addPorts(*first, L"A"); });
    std::thread t2([&] { addPorts(*second, L"B"); });
    t1.join();
    t2.join();
    auto third = open(file);
    sim::SimPlatform check(*third, programResources());
    std::vector<ports::PortInfo1> ports;
    ASSERT_EQ(check.spooler().enumPorts1(ports), winerr::Success);
    EXPECT_EQ(ports.size(), 10u + 40u); // the demo's ten and all forty new ones
}

TEST(SimSharedState, AMissingFileStartsAsTheDemoMachineAndABrokenOneIsRefused) {
    TempFolder folder;
    auto m = open(folder.path() / "new.json");
    ASSERT_TRUE(m);
    sim::SimPlatform p(*m, programResources());
    std::wstring def;
    ASSERT_EQ(p.spooler().getDefaultPrinter(def), winerr::Success);
    EXPECT_EQ(def, L"Microsoft Print to PDF");
    { std::ofstream(folder.path() / "broken.json") << "{ not json"; }
    ports::Status status = 0;
    EXPECT_FALSE(sim::SimMachine::openFile(folder.path() / "broken.json", status));
    EXPECT_EQ(status, winerr::InvalidData);
}

} // namespace
