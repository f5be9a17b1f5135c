// The machine's architecture as a 32-bit program learns it, and the names that follow from it.
#include "app/Architecture.h"

#include "support/TestMachine.h"

#include <gtest/gtest.h>

namespace {

using ports::Architecture;
using testing_support::TestMachine;

TEST(ArchitectureRule, OnlyIsWow64Process2CanTellArm64) {
    struct Case {
        std::optional<std::uint16_t> nativeMachine; // nothing: IsWow64Process2 does not exist
        bool wow64;
        Architecture expected;
    };
    const Case cases[] = {
        {ports::kImageFileMachineArm64, true, Architecture::Arm64},
        {ports::kImageFileMachineAmd64, true, Architecture::X64},
        {ports::kImageFileMachineI386, false, Architecture::X86},
        {0, true, Architecture::X86}, // a failed query names no machine: not x64
        {std::nullopt, true, Architecture::X64},
        {std::nullopt, false, Architecture::X86},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ports::architectureFromWow64(c.nativeMachine, c.wow64), c.expected)
            << (c.nativeMachine ? *c.nativeMachine : -1) << " " << c.wow64;
}

TEST(Architecture, FolderEnvironmentAndToolFollowTheMachine) {
    struct Case {
        const char* architecture;
        bool hasIsWow64Process2;
        const char* version;
        bool is64, arm64, vista;
        const wchar_t *folder, *environment, *tool;
    };
    const Case cases[] = {
        {"ARM64", true, "10.0.22631", false, true, true, L"arm64", L"Windows ARM64", L"devconARM64.exe"},
        {"x64", true, "10.0.19045", true, false, true, L"amd64", L"Windows x64", L"devcon64.exe"},
        {"x86", true, "10.0.19045", false, false, true, L"i386", L"Windows NT x86", L"devcon32.exe"},
        // Without IsWow64Process2 a 64-bit system is x64 through IsWow64Process, even an ARM64 one.
        {"x64", false, "6.1.7601", true, false, true, L"amd64", L"Windows x64", L"devcon64.exe"},
        {"ARM64", false, "10.0.16299", true, false, true, L"amd64", L"Windows x64", L"devcon64.exe"},
        {"x86", false, "6.0.6002", false, false, true, L"i386", L"Windows NT x86", L"devcon32.exe"},
        // Before Windows 6.0 the tool is the XP one whatever the architecture.
        {"x86", false, "5.1.2600", false, false, false, L"i386", L"Windows NT x86", L"devconXP32.exe"},
        {"x64", false, "5.2.3790", true, false, false, L"amd64", L"Windows x64", L"devconXP32.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.architecture) + " " + c.version + (c.hasIsWow64Process2 ? "" : " old"));
        sim::Json state = sim::demoMachineState();
        state["system"]["architecture"] = c.architecture;
        state["system"]["isWow64Process2"] = c.hasIsWow64Process2;
        state["system"]["windowsVersion"] = c.version;
        TestMachine m(state);
        auto& sys = m.platform().system();
        EXPECT_EQ(app::is64BitOs(sys), c.is64);
        EXPECT_EQ(app::isArm64(sys), c.arm64);
        EXPECT_EQ(app::isVistaOrLater(sys), c.vista);
        EXPECT_EQ(app::architectureFolder(sys), c.folder);
        EXPECT_EQ(app::printEnvironment(sys), c.environment);
        EXPECT_EQ(app::deviceConsoleTool(sys), c.tool);
    }
}

TEST(Architecture, IsAskedAfreshAtEveryCall) {
    TestMachine m;
    auto& sys = m.platform().system();
    EXPECT_EQ(app::architectureFolder(sys), L"amd64");
    m.machine().write([](sim::Json& s) { s["system"]["architecture"] = "ARM64"; });
    EXPECT_EQ(app::architectureFolder(sys), L"arm64");
    EXPECT_FALSE(app::is64BitOs(sys));
}

} // namespace
