#pragma once
// What the driver installation tests run with: a simulated x64 machine on a virtual clock, a small
// catalogue of two CorvaneEx models (one with a language monitor), the wizard's session and context,
// and the driver package of either generation unpacked below the working folder.
#include "app/msglog/RecordingMessageLog.h"
#include "catalogue/DriverCatalogue.h"
#include "catalogue/LoadXmlResource.h"
#include "engine/install/InstallContext.h"
#include "platform/sim/SimJson.h"
#include "support/TestMachine.h"
#include "unit/catalogue/CatalogueFixture.h"
#include "unit/engine/DeviceToolFakes.h"
#include "unit/engine/WatchedProcesses.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace engine_test {

inline const std::wstring kWorkingFolder = L"C:\\Program Files (x86)\\LabelPrinterDriver\\";
inline const std::wstring kPackage = kWorkingFolder + L"Drivers\\CorvaneEx\\";
// The spooler's driver folder for "Windows x64", as GetPrinterDriverDirectory gives it, with a backslash.
inline constexpr wchar_t kDriverFolder[] = L"C:\\Windows\\system32\\spool\\DRIVERS\\x64\\";
inline constexpr wchar_t kMonitorName[] = L"CorvaneEx Language Monitor";
inline constexpr wchar_t kMonitorModel[] = L"JN-2203T-S"; // languagemonitor="1"
inline constexpr wchar_t kPlainModel[] = L"JN-2232T";     // no languagemonitor attribute
inline constexpr wchar_t kPlainModelUsbName[] = L"USBPRINT\\CorvaneExJN-2232TFA69";
// The demo machine's connected printer.
inline constexpr wchar_t kMonitorModelUsbName[] = L"USBPRINT\\CorvaneExJN-2203T-S50F3";

inline constexpr char kCatalogue[] = R"(<?xml version="1.0"?>
<Drivers>
  <Manufacturers>
    <Manufacturer mode="CorvaneEx">
      <Driver name="JN-2203T-S" usbname="USBPRINT\CorvaneExJN-2203T-S50F3" languagemonitor="1"/>
      <Driver name="JN-2232T" usbname="USBPRINT\CorvaneExJN-2232TFA69"/>
    </Manufacturer>
  </Manufacturers>
</Drivers>)";

// The newer package's INF, for the driver store and the device-console tool.
inline constexpr char kNewInf[] = R"INF([Version]
Signature="$Windows NT$"
Class=Printer
ClassGuid={4D36E979-E325-11CE-BFC1-08002BE10318}
Provider=%Corvane%
DriverVer=05/01/2024,3.0.2.465

[Manufacturer]
%Corvane%=Corvane,NTx86,NTamd64

[Corvane.NTamd64]
"JN-2203T-S" = JN2203TS, USBPRINT\CorvaneExJN-2203T-S50F3
"JN-2232T"   = JN2232T, USBPRINT\CorvaneExJN-2232TFA69

[Corvane.NTx86]
"JN-2203T-S" = JN2203TS, USBPRINT\CorvaneExJN-2203T-S50F3

[JN2203TS]
DriverFile=CorvaneExUniNew.dll
ConfigFile=CorvaneExUiNew.dll
DataFile=JN-2203T-S.dat

[JN2232T]
DriverFile=CorvaneExUniNew.dll
ConfigFile=CorvaneExUiNew.dll
DataFile=JN-2232T.dat

[Strings]
Corvane="Corvane, Smart Labeling"
)INF";

class InstallRig {
public:
    explicit InstallRig(sim::Json state = sim::demoMachineState()) : machine(std::move(state)) {
        machine.platform().useClock(&clock);
        platform.processesOverride = &processes;
        session.manufacturer.Name = L"CorvaneEx";
        // A Windows drive has both system folders and the spooler's driver folder.
        const std::wstring windows = machine.platform().system().knownFolder(ports::KnownFolder::Windows);
        for (const std::wstring& folder :
             {windows + L"\\System32", windows + L"\\SysWOW64", std::wstring(kDriverFolder)})
            std::filesystem::create_directories(machine.machine().hostPath(folder));
        resources.add(131, kCatalogue);
        catalogue::LoadXmlResource(resources, machine.platform().system(), 131, catalogueDoc);
    }
    ~InstallRig() { machine.platform().useClock(nullptr); }
    InstallRig(const InstallRig&) = delete;
    InstallRig& operator=(const InstallRig&) = delete;

    ports::FileSystem& files() { return machine.platform().files(); }
    ports::PrintSpooler& spooler() { return machine.platform().spooler(); }

    // A file on the simulated disk, by default with its own path as content, so that a copy shows
    // where it came from.
    void writeFile(const std::wstring& path, std::string content = {}) {
        if (content.empty())
            content = sim::u8(path);
        ASSERT_EQ(files().createDirectories(path.substr(0, path.rfind(L'\\'))), ports::winerr::Success);
        ASSERT_EQ(files().writeFile(path, std::vector<std::uint8_t>(content.begin(), content.end())),
                  ports::winerr::Success);
    }
    // Writes the file as a 64-bit process would (no redirection), creating its folder.
    void writeNative(const std::wstring& path, const std::string& content) {
        const auto host = machine.machine().hostPath(path);
        std::filesystem::create_directories(host.parent_path());
        std::ofstream(host, std::ios::binary) << content;
    }
    // The file's content as a 64-bit process sees it (no redirection), or "" when it is missing.
    std::string nativeContent(const std::wstring& path) {
        std::error_code ec;
        const auto host = machine.machine().hostPath(path);
        if (!std::filesystem::is_regular_file(host, ec))
            return {};
        std::ifstream in(host, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // The package of one generation as the extraction leaves it for an x64 machine, with the
    // language monitor's DLL.
    void unpackPackage(int newPackage, const std::wstring& archFolder = L"amd64") {
        session.newPackage = newPackage;
        const std::wstring arch = kPackage + archFolder + L"\\";
        writeFile(arch + L"CorvaneExLM.dll");
        if (newPackage) {
            writeFile(kPackage + L"CorvaneExNew.inf", kNewInf);
            for (const wchar_t* f : {L"CorvaneExUniNew.dll", L"CorvaneExUiNew.dll"})
                writeFile(arch + f);
            for (const wchar_t* f : {L"JN-2203T-S.dat", L"JN-2232T.dat"})
                writeFile(kPackage + f);
            return;
        }
        for (const wchar_t* f : {L"UNIDRV.dll", L"UNIDRVUI.DLL", L"UNIRES.DLL", L"STDNAMES.gpd"})
            writeFile(kWorkingFolder + L"Drivers\\unidrv\\" + archFolder + L"\\" + f);
        for (const wchar_t* f : {L"CorvaneExRes.dll", L"CorvaneExUNI.dll", L"CorvaneExUI.dll"})
            writeFile(arch + f);
        for (const wchar_t* f : {L"CorvaneEx.inf", L"CorvaneEx.ini", L"JN-2203T-S.gpd", L"JN-2232T.gpd"})
            writeFile(kPackage + f);
    }

    // The next `count` calls of the Windows function `operation` fail with `code`.
    void fail(const char* operation, ports::Status code, int count = 1) {
        machine.machine().write([&](sim::Json& s) {
            s["faults"].push_back({{"operation", operation}, {"code", code}, {"count", count}});
        });
    }

    // The installed drivers of an environment (the x64 machine's by default) at `level`.
    std::vector<ports::DriverInfo> drivers(std::uint32_t level = 3,
                                           std::wstring_view environment = L"Windows x64") {
        std::vector<ports::DriverInfo> out;
        EXPECT_EQ(spooler().enumDrivers(environment, level, out), ports::winerr::Success);
        return out;
    }
    const ports::DriverInfo* driver(const std::vector<ports::DriverInfo>& list, std::wstring_view name) {
        for (const auto& d : list)
            if (d.name == name)
                return &d;
        return nullptr;
    }
    std::vector<ports::MonitorInfo2> monitors() {
        std::vector<ports::MonitorInfo2> out;
        EXPECT_EQ(spooler().enumMonitors2(out), ports::winerr::Success);
        return out;
    }
    bool monitorRegistered(std::wstring_view name) {
        for (const auto& m : monitors())
            if (m.name == name)
                return true;
        return false;
    }

    DriverRef model(std::wstring_view name) {
        return catalogue::FindDriver(L"CorvaneEx", name, catalogueDoc);
    }
    std::wstring errorText(std::uint32_t code) { return machine.platform().system().systemMessage(code); }
    std::vector<msglog::LogMessage> messages() const { return log.messages(); }

    testing_support::TestMachine machine;
    sim::VirtualClock clock;
    WatchedProcesses processes{machine.platform().processes()};
    OverridePlatform platform{machine.platform()};
    msglog::RecordingMessageLog log;
    catalogue_test::XmlResources resources;
    catalogue::XmlDocument catalogueDoc;
    SetupSession session;
    std::vector<std::wstring> errorBoxes;
    app::AppContext app{.platform = platform,
                        .workingFolder = kWorkingFolder,
                        .deviceConsoleTool = L"devcon64.exe",
                        .systemErrorText = [this](std::uint32_t code) { return errorText(code); }};
    engine::InstallContext ctx{app, session, catalogueDoc, [this](std::wstring_view text, std::wstring_view) {
                                   errorBoxes.emplace_back(text);
                               }};
};

inline msglog::LogMessage red(std::wstring text) {
    return {std::move(text), msglog::kRed};
}
inline msglog::LogMessage blue(std::wstring text) {
    return {std::move(text), msglog::kBlue};
}

} // namespace engine_test
