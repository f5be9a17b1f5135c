// WOW64 file-system redirection on the simulated machine: where the wizard's (32-bit) file calls
// land, the per-thread switch and its answers, and the consequence that matters to the language
// monitor: the 64-bit spooler only finds a DLL that was copied with redirection switched off.
#include "support/TestMachine.h"

#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimJson.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <thread>

namespace {

using testing_support::TestMachine;
namespace winerr = ports::winerr;
using ports::Status;

constexpr const wchar_t* kSystem32Dll = L"C:\\Windows\\System32\\CorvaneExLM.dll";
constexpr const wchar_t* kSysWow64Dll = L"C:\\Windows\\SysWOW64\\CorvaneExLM.dll";

sim::Json machineState(const char* architecture, const char* windowsVersion = "10.0.19045") {
    sim::Json state = sim::demoMachineState();
    state["system"]["architecture"] = architecture;
    state["system"]["windowsVersion"] = windowsVersion;
    return state;
}

std::string narrow(std::wstring_view text) {
    return sim::u8(text);
}

// Whether the file exists on the drive at this path as 64-bit processes (and the test) see it.
bool onDrive(TestMachine& m, std::wstring_view nativePath) {
    std::error_code ec;
    return std::filesystem::is_regular_file(m.machine().hostPath(nativePath), ec);
}

// Creates the file's folder and the file through the port, as the calling program sees the path.
void writeThrough(ports::FileSystem& files, const std::wstring& path) {
    ASSERT_EQ(files.createDirectories(path.substr(0, path.rfind(L'\\'))), winerr::Success) << narrow(path);
    ASSERT_EQ(files.writeFile(path, std::vector<std::uint8_t>{0x4D, 0x5A}), winerr::Success) << narrow(path);
}

TEST(SimWow64Redirection, WhereTheWizardsFileCallsLand) {
    struct Case {
        const char* architecture;
        const char* windowsVersion;
        bool switchedOff;
        const wchar_t* path;
        const wchar_t* lands;
    };
    const Case cases[] = {
        {"x64", "10.0.19045", false, kSystem32Dll, kSysWow64Dll},
        {"x64", "10.0.19045", true, kSystem32Dll, kSystem32Dll},
        // The fixed target of the language monitor, with its lower-case drive letter.
        {"x64", "10.0.19045", false, L"c:\\windows\\system32\\CorvaneExLM.dll", kSysWow64Dll},
        {"x64", "10.0.19045", false, L"\\\\?\\C:\\Windows\\System32\\CorvaneExLM.dll", kSysWow64Dll},
        {"x64", "10.0.19045", false, L"C:\\Windows\\Temp\\..\\System32\\.\\CorvaneExLM.dll", kSysWow64Dll},
        // x86 programs on ARM64 have their own SysWOW64 as well; x86 Windows has nothing to redirect.
        {"ARM64", "10.0.22631", false, kSystem32Dll, kSysWow64Dll},
        {"x86", "10.0.19045", false, kSystem32Dll, kSystem32Dll},
        {"x86", "10.0.19045", true, kSystem32Dll, kSystem32Dll},
        // The exempt folders stay native, and only they.
        {"x64", "10.0.19045", false, L"C:\\Windows\\System32\\spool\\DRIVERS\\x64\\3\\CorvaneExRender.dll",
         L"C:\\Windows\\System32\\spool\\DRIVERS\\x64\\3\\CorvaneExRender.dll"},
        {"x64", "10.0.19045", false, L"C:\\Windows\\System32\\CatRoot\\{F750E6C3}\\oem3.cat",
         L"C:\\Windows\\System32\\CatRoot\\{F750E6C3}\\oem3.cat"},
        {"x64", "10.0.19045", false, L"C:\\Windows\\System32\\catroot2\\dberr.txt",
         L"C:\\Windows\\System32\\catroot2\\dberr.txt"},
        {"x64", "10.0.19045", false, L"C:\\Windows\\System32\\drivers\\etc\\hosts",
         L"C:\\Windows\\System32\\drivers\\etc\\hosts"},
        {"x64", "10.0.19045", false, L"C:\\Windows\\System32\\LogFiles\\setup.log",
         L"C:\\Windows\\System32\\LogFiles\\setup.log"},
        {"x64", "10.0.19045", false, L"C:\\Windows\\System32\\drivers\\usbprint.sys",
         L"C:\\Windows\\SysWOW64\\drivers\\usbprint.sys"},
        {"x64", "10.0.19045", false, L"C:\\Windows\\System32\\spoolsv\\a.dll",
         L"C:\\Windows\\SysWOW64\\spoolsv\\a.dll"},
        // The driver store is exempt from Windows 7 on; Vista still redirected it.
        {"x64", "6.1.7601", false, L"C:\\Windows\\System32\\DriverStore\\FileRepository\\a.inf",
         L"C:\\Windows\\System32\\DriverStore\\FileRepository\\a.inf"},
        {"x64", "6.0.6002", false, L"C:\\Windows\\System32\\DriverStore\\FileRepository\\a.inf",
         L"C:\\Windows\\SysWOW64\\DriverStore\\FileRepository\\a.inf"},
        // Look-alikes of the system folder are left alone.
        {"x64", "10.0.19045", false, L"C:\\Windows\\System32x\\a.dll", L"C:\\Windows\\System32x\\a.dll"},
        {"x64", "10.0.19045", false, L"D:\\Windows\\System32\\a.dll", L"D:\\Windows\\System32\\a.dll"},
        {"x64", "10.0.19045", false, L"C:\\Program Files\\System32\\a.dll",
         L"C:\\Program Files\\System32\\a.dll"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.architecture) + " " + c.windowsVersion +
                     (c.switchedOff ? " off " : " on ") + narrow(c.path));
        TestMachine m(machineState(c.architecture, c.windowsVersion));
        auto& files = m.platform().files();
        if (c.switchedOff)
            (void)files.enableWow64FsRedirection(false);
        writeThrough(files, c.path);
        EXPECT_TRUE(onDrive(m, c.lands));
        if (std::wstring_view(c.lands) != c.path && !std::wstring_view(c.path).starts_with(L"\\\\?\\")) {
            EXPECT_FALSE(onDrive(m, c.path));
        }
        // Every call of the program takes the same way.
        EXPECT_TRUE(files.fileExists(c.path));
        std::vector<std::uint8_t> bytes;
        EXPECT_EQ(files.readFile(c.path, bytes), winerr::Success);
        EXPECT_EQ(files.copyFile(c.path, std::wstring(c.path) + L".bak", true), winerr::Success);
        EXPECT_TRUE(onDrive(m, std::wstring(c.lands) + L".bak"));
    }
}

TEST(SimWow64Redirection, TheSwitchAnswersAsWindowsDoes) {
    struct Case {
        const char* note;
        const char* architecture;
        sim::SimProgram program;
        bool entryPointMissing;
        std::optional<Status> fault; // on the first call
        Status off, on;
        bool offTookEffect;
    };
    constexpr auto X86 = sim::SimProgram::X86, Native = sim::SimProgram::Native;
    const Case cases[] = {
        {"the wizard on x64", "x64", X86, false, {}, winerr::Success, winerr::Success, true},
        {"the wizard on ARM64", "ARM64", X86, false, {}, winerr::Success, winerr::Success, true},
        {"32-bit Windows", "x86", X86, false, {}, winerr::InvalidFunction, winerr::InvalidFunction, false},
        {"a 64-bit program",
         "x64",
         Native,
         false,
         {},
         winerr::InvalidFunction,
         winerr::InvalidFunction,
         false},
        {"no such function", "x64", X86, true, {}, winerr::ProcNotFound, winerr::ProcNotFound, false},
        {"no such function on x86", "x86", X86, true, {}, winerr::ProcNotFound, winerr::ProcNotFound, false},
        {"a fault", "x64", X86, false, winerr::AccessDenied, winerr::AccessDenied, winerr::Success, false},
        {"a fault with code 0", "x64", X86, false, winerr::Success, winerr::Success, winerr::Success, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        sim::Json state = machineState(c.architecture);
        if (c.entryPointMissing)
            state["system"]["missingEntryPoints"] = {"UploadPrinterDriverPackageW",
                                                     "Wow64EnableWow64FsRedirection"};
        if (c.fault)
            state["faults"] = {{{"operation", "Wow64EnableWow64FsRedirection"}, {"code", *c.fault}}};
        TestMachine m(state);
        sim::SimFileSystem files(m.machine(), c.program);
        const bool redirects = c.program == X86 && std::string_view(c.architecture) != "x86";

        EXPECT_EQ(files.enableWow64FsRedirection(false), c.off);
        writeThrough(files, L"C:\\Windows\\System32\\off.dll");
        EXPECT_TRUE(onDrive(m, redirects && !c.offTookEffect ? L"C:\\Windows\\SysWOW64\\off.dll"
                                                             : L"C:\\Windows\\System32\\off.dll"));
        EXPECT_EQ(files.enableWow64FsRedirection(true), c.on);
        writeThrough(files, L"C:\\Windows\\System32\\on.dll");
        EXPECT_TRUE(
            onDrive(m, redirects ? L"C:\\Windows\\SysWOW64\\on.dll" : L"C:\\Windows\\System32\\on.dll"));
        m.machine().read(
            [](const sim::Json& s) { EXPECT_TRUE(s.value("faults", sim::Json::array()).empty()); });
    }
}

TEST(SimWow64Redirection, EachThreadHasItsOwnSwitchThatEndsWithTheThread) {
    TestMachine m;
    auto& files = m.platform().files();
    ASSERT_EQ(files.enableWow64FsRedirection(false), winerr::Success);
    std::thread([&] { writeThrough(files, L"C:\\Windows\\System32\\other.dll"); }).join();
    writeThrough(files, L"C:\\Windows\\System32\\main.dll");
    EXPECT_TRUE(onDrive(m, L"C:\\Windows\\SysWOW64\\other.dll"));
    EXPECT_TRUE(onDrive(m, L"C:\\Windows\\System32\\main.dll"));

    // Threads that switch it off and end without switching it on again leave nothing behind, even
    // for a later thread that gets one of their ids.
    for (int i = 0; i < 3; ++i)
        std::thread([&] { EXPECT_EQ(files.enableWow64FsRedirection(false), winerr::Success); }).join();
    std::thread([&] { writeThrough(files, L"C:\\Windows\\System32\\later.dll"); }).join();
    EXPECT_TRUE(onDrive(m, L"C:\\Windows\\SysWOW64\\later.dll"));

    ASSERT_EQ(files.enableWow64FsRedirection(true), winerr::Success);
    writeThrough(files, L"C:\\Windows\\System32\\again.dll");
    EXPECT_TRUE(onDrive(m, L"C:\\Windows\\SysWOW64\\again.dll"));
}

TEST(SimWow64Redirection, TheSpoolerFindsOnlyAMonitorDllCopiedPastRedirection) {
    struct Case {
        const char* architecture;
        const wchar_t* environment; // the spooler's native one
        bool switchOff;
        Status switched;
        Status added;
    };
    const Case cases[] = {
        {"x64", L"Windows x64", false, winerr::Success, winerr::ModNotFound},
        {"x64", L"Windows x64", true, winerr::Success, winerr::Success},
        {"ARM64", L"Windows ARM64", true, winerr::Success, winerr::Success},
        {"x86", L"Windows NT x86", true, winerr::InvalidFunction, winerr::Success},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.architecture) + (c.switchOff ? " switched off" : " left on"));
        TestMachine m(machineState(c.architecture));
        auto& files = m.platform().files();
        // A Windows drive has both system folders.
        for (auto folder : {L"C:\\Windows\\System32", L"C:\\Windows\\SysWOW64"})
            std::filesystem::create_directories(m.machine().hostPath(folder));
        const std::wstring source = L"C:\\Program Files (x86)\\LabelPrinterDriver\\Drivers\\CorvaneEx\\"
                                    L"x64\\CorvaneExLM.dll";
        writeThrough(files, source);

        if (c.switchOff) {
            EXPECT_EQ(files.enableWow64FsRedirection(false), c.switched);
        }
        EXPECT_EQ(files.copyFile(source, L"c:\\Windows\\System32\\CorvaneExLM.dll", false), winerr::Success);
        if (c.switchOff) {
            EXPECT_EQ(files.enableWow64FsRedirection(true), c.switched);
        }
        EXPECT_EQ(m.platform().spooler().addMonitor(
                      {L"CorvaneEx Language Monitor", c.environment, L"CorvaneExLM.dll"}),
                  c.added);
    }
}

} // namespace

// Windows need not live on C:. The system folder, its redirection and the folder the spooler loads
// monitors from all follow %windir%.
TEST(SimWow64Redirection, WindowsOnAnotherDriveHasItsSystemFolderThere) {
    sim::Json state = machineState("x64");
    state["system"]["windowsFolder"] = "D:\\Windows";
    TestMachine m(state);
    auto& files = m.platform().files();
    EXPECT_EQ(m.platform().system().knownFolder(ports::KnownFolder::Windows), L"D:\\Windows");
    EXPECT_EQ(m.platform().system().knownFolder(ports::KnownFolder::System), L"D:\\Windows\\System32");

    writeThrough(files, L"D:\\Windows\\System32\\a.dll");
    EXPECT_TRUE(onDrive(m, L"D:\\Windows\\SysWOW64\\a.dll"));
    writeThrough(files, L"C:\\Windows\\System32\\b.dll"); // no system folder there: nothing moves
    EXPECT_TRUE(onDrive(m, L"C:\\Windows\\System32\\b.dll"));

    const ports::MonitorInfo2 monitor{L"CorvaneEx Language Monitor", L"Windows x64", L"CorvaneExLM.dll"};
    writeThrough(files, L"C:\\Windows\\System32\\CorvaneExLM.dll");
    EXPECT_EQ(m.platform().spooler().addMonitor(monitor), winerr::ModNotFound);
    ASSERT_EQ(files.enableWow64FsRedirection(false), winerr::Success);
    writeThrough(files, L"D:\\Windows\\System32\\CorvaneExLM.dll");
    ASSERT_EQ(files.enableWow64FsRedirection(true), winerr::Success);
    EXPECT_EQ(m.platform().spooler().addMonitor(monitor), winerr::Success);
}
