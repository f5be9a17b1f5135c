// The three driver routes on a simulated x64 Windows: copying the files and adding the driver, the
// driver store, and the device-console tool (the real simulated tool where the machine can serve
// the case, a host script for the exit codes it cannot produce).
#include "engine/install/DriverInstall.h"
#include "unit/engine/HostTool.h"
#include "unit/engine/InstallRig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using engine_test::blue;
using engine_test::InstallRig;
using engine_test::kDriverFolder;
using engine_test::kWorkingFolder;
using engine_test::red;
using msglog::LogMessage;
namespace winerr = ports::winerr;

const std::wstring kDrivers = kWorkingFolder + L"Drivers\\";

std::wstring fileNameOf(std::wstring_view path) {
    return std::wstring(path.substr(path.find_last_of(L'\\') + 1));
}

std::vector<std::wstring> fileNamesOf(const std::vector<std::wstring>& paths) {
    std::vector<std::wstring> names;
    for (const auto& p : paths)
        names.push_back(fileNameOf(p));
    return names;
}

LogMessage installed(const std::wstring& name) {
    return blue(L"安装打印机驱动成功: " + name + L". ");
}

// What the direct route does for each package generation, with the plain model (no monitor).
struct Generation {
    int newPackage;
    const wchar_t* driverPath;
    const wchar_t* dataFile;
    const wchar_t* configFile;
    std::vector<std::wstring> dependentFiles;
    std::vector<std::wstring> copies; // below the working folder's "Drivers\", in copy order
};

const Generation kGenerations[] = {
    {1,
     L"CorvaneExUniNew.dll",
     L"JN-2232T.dat",
     L"CorvaneExUiNew.dll",
     {L"CorvaneExUniNew.dll", L"CorvaneExUiNew.dll", L"JN-2232T.dat"},
     {L"CorvaneEx\\amd64\\CorvaneExUniNew.dll", L"CorvaneEx\\amd64\\CorvaneExUiNew.dll",
      L"CorvaneEx\\CorvaneExNew.inf", L"CorvaneEx\\JN-2232T.dat"}},
    {0,
     L"unidrv.DLL",
     L"JN-2232T.gpd",
     L"unidrvui.dll",
     {L"CorvaneExRes.dll", L"CorvaneEx.ini", L"CorvaneExUNI.dll", L"CorvaneExUI.dll", L"JN-2232T.gpd",
      L"STDNAMES.GPD"},
     {L"unidrv\\amd64\\UNIDRV.dll", L"unidrv\\amd64\\UNIDRVUI.DLL", L"unidrv\\amd64\\UNIRES.DLL",
      L"unidrv\\amd64\\STDNAMES.gpd", L"CorvaneEx\\amd64\\CorvaneExRes.dll",
      L"CorvaneEx\\amd64\\CorvaneExUNI.dll", L"CorvaneEx\\amd64\\CorvaneExUI.dll",
      L"CorvaneEx\\CorvaneEx.inf", L"CorvaneEx\\CorvaneEx.ini", L"CorvaneEx\\JN-2232T.gpd"}},
};

TEST(InstallDriverByCopy, AddsTheDriverOfEachPackageGenerationFromItsCopiedFiles) {
    for (const auto& g : kGenerations) {
        SCOPED_TRACE(g.newPackage);
        InstallRig rig;
        rig.unpackPackage(g.newPackage);
        EXPECT_TRUE(engine::InstallDriverByCopy(rig.ctx, L"JN-2232T", L"CorvaneEx"));
        EXPECT_EQ(rig.messages(), std::vector<LogMessage>{installed(L"JN-2232T")});

        for (const auto& source : g.copies) {
            SCOPED_TRACE(sim::u8(source));
            EXPECT_EQ(rig.nativeContent(kDriverFolder + fileNameOf(source)),
                      rig.nativeContent(kDrivers + source));
        }
        const auto drivers = rig.drivers();
        const ports::DriverInfo* d = rig.driver(drivers, L"JN-2232T");
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->version, 3u);
        EXPECT_EQ(d->environment, L"Windows x64");
        EXPECT_EQ(fileNameOf(d->driverPath), g.driverPath);
        EXPECT_EQ(fileNameOf(d->dataFile), g.dataFile);
        EXPECT_EQ(fileNameOf(d->configFile), g.configFile);
        EXPECT_EQ(d->helpFile.value_or(L""), L"");
        EXPECT_EQ(fileNamesOf(d->dependentFiles), g.dependentFiles);
        EXPECT_EQ(d->monitorName, std::nullopt); // absent, not an empty name
        EXPECT_EQ(d->defaultDataType, L"RAW");
    }
}

TEST(InstallDriverByCopy, TakesTheFilesOfTheMachinesArchitectureForItsEnvironment) {
    struct Case {
        const char* architecture;
        const wchar_t* archFolder;
        const wchar_t* environment;
        const wchar_t* driverFolder;
    };
    const Case cases[] = {
        {"x86", L"i386", L"Windows NT x86", L"C:\\Windows\\system32\\spool\\DRIVERS\\W32X86\\"},
        {"ARM64", L"arm64", L"Windows ARM64", L"C:\\Windows\\system32\\spool\\DRIVERS\\ARM64\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.architecture);
        sim::Json state = sim::demoMachineState();
        state["system"]["architecture"] = c.architecture;
        InstallRig rig(state);
        rig.writeNative(std::wstring(c.driverFolder) + L"placeholder", "");
        rig.unpackPackage(1, c.archFolder);
        EXPECT_TRUE(engine::InstallDriverByCopy(rig.ctx, L"JN-2232T", L"CorvaneEx"));
        const std::wstring source = kDrivers + L"CorvaneEx\\" + c.archFolder + L"\\CorvaneExUniNew.dll";
        EXPECT_EQ(rig.nativeContent(std::wstring(c.driverFolder) + L"CorvaneExUniNew.dll"), sim::u8(source));
        const auto drivers = rig.drivers(3, c.environment);
        const ports::DriverInfo* d = rig.driver(drivers, L"JN-2232T");
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->environment, c.environment);
    }
}

TEST(InstallDriverByCopy, CopiesInPackageOrderAndGoesOnAfterEveryFailedCopy) {
    for (const auto& g : kGenerations) {
        SCOPED_TRACE(g.newPackage);
        InstallRig rig;
        rig.unpackPackage(g.newPackage);
        rig.fail("CopyFile", winerr::AccessDenied, static_cast<int>(g.copies.size()));
        EXPECT_FALSE(engine::InstallDriverByCopy(rig.ctx, L"JN-2232T", L"CorvaneEx"));

        std::vector<LogMessage> expected;
        for (const auto& source : g.copies)
            expected.push_back(red(L"写入文件: " + kDrivers + source + L". 失败. 错误码: 5. 错误描述: " +
                                   rig.errorText(winerr::AccessDenied) + L"."));
        // Nothing reached the driver folder, and the spooler says so itself.
        expected.push_back(
            red(L"安装驱动程序失败. 错误码: 2. 错误描述: " + rig.errorText(winerr::FileNotFound) + L"."));
        EXPECT_EQ(rig.messages(), expected);
        EXPECT_EQ(rig.driver(rig.drivers(), L"JN-2232T"), nullptr);
    }
}

TEST(InstallDriverByCopy, AFailedCopyLeavesTheFileOfAnEarlierInstallationToTheSpooler) {
    InstallRig rig;
    rig.unpackPackage(1);
    ASSERT_TRUE(engine::InstallDriverByCopy(rig.ctx, L"JN-2232T", L"CorvaneEx"));
    rig.fail("CopyFile", winerr::AccessDenied);
    EXPECT_TRUE(engine::InstallDriverByCopy(rig.ctx, L"JN-2232T", L"CorvaneEx"));
    const auto messages = rig.messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[1].text.substr(0, messages[1].text.find(L". ")),
              L"写入文件: " + kDrivers + L"CorvaneEx\\amd64\\CorvaneExUniNew.dll");
    EXPECT_EQ(messages[1].colour, msglog::kRed);
    EXPECT_EQ(messages[2], installed(L"JN-2232T"));
}

TEST(InstallDriverByCopy, TheSpoolersRefusalIsReportedWithItsCode) {
    InstallRig rig;
    rig.unpackPackage(1);
    rig.fail("AddPrinterDriverW", winerr::AccessDenied);
    EXPECT_FALSE(engine::InstallDriverByCopy(rig.ctx, L"JN-2232T", L"CorvaneEx"));
    EXPECT_EQ(rig.messages(), std::vector<LogMessage>{red(L"安装驱动程序失败. 错误码: 5. 错误描述: " +
                                                          rig.errorText(winerr::AccessDenied) + L".")});
}

TEST(InstallDriverByCopy, WithoutTheDriverFolderTheUserIsToldAndNoDriverIsAdded) {
    InstallRig rig;
    rig.unpackPackage(1);
    rig.fail("GetPrinterDriverDirectoryW", winerr::AccessDenied);
    EXPECT_FALSE(engine::InstallDriverByCopy(rig.ctx, L"JN-2232T", L"CorvaneEx"));
    EXPECT_EQ(rig.errorBoxes, std::vector<std::wstring>{L"GetPrinterDriverDirectory failed"});
    EXPECT_EQ(rig.driver(rig.drivers(), L"JN-2232T"), nullptr);
    EXPECT_EQ(rig.messages().back().colour, msglog::kRed);
}

TEST(InstallDriverByCopy, AModelWithALanguageMonitorGetsItRegisteredAndNamed) {
    InstallRig rig;
    rig.unpackPackage(1);
    EXPECT_TRUE(engine::InstallDriverByCopy(rig.ctx, L"JN-2203T-S", L"CorvaneEx"));
    EXPECT_EQ(rig.messages(), std::vector<LogMessage>{installed(L"JN-2203T-S")});
    const auto drivers = rig.drivers();
    const ports::DriverInfo* d = rig.driver(drivers, L"JN-2203T-S");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->monitorName, engine_test::kMonitorName);
    EXPECT_TRUE(rig.monitorRegistered(engine_test::kMonitorName));
}

TEST(InstallDriverByCopy, AMonitorThatCannotBeRegisteredLeavesTheDriverWithoutOne) {
    InstallRig rig;
    rig.unpackPackage(1);
    rig.fail("AddMonitorW", winerr::AccessDenied);
    EXPECT_TRUE(engine::InstallDriverByCopy(rig.ctx, L"JN-2203T-S", L"CorvaneEx"));
    EXPECT_EQ(rig.messages(), (std::vector<LogMessage>{red(L"安装监视器失败. 错误码: 5. 错误描述: " +
                                                           rig.errorText(winerr::AccessDenied) + L"."),
                                                       installed(L"JN-2203T-S")}));
    const auto drivers = rig.drivers();
    const ports::DriverInfo* d = rig.driver(drivers, L"JN-2203T-S");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->monitorName, std::nullopt);
}

TEST(InstallDriverFromPackage, TakesTheDriverStoreFromWindows8OnWhenTheSpoolerOffersIt) {
    struct Case {
        const char* windowsVersion;
        bool storeAvailable;
        bool fromStore;
    };
    const Case cases[] = {
        {"6.1.7601", true, false},  {"6.2.9200", true, true},     {"6.3.9600", true, true},
        {"10.0.19045", true, true}, {"10.0.19045", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.windowsVersion) + (c.storeAvailable ? " with" : " without") + " store");
        sim::Json state = sim::demoMachineState();
        state["system"]["windowsVersion"] = c.windowsVersion;
        state["spooler"]["driverStore"]["available"] = c.storeAvailable;
        InstallRig rig(state);
        rig.unpackPackage(1);
        EXPECT_TRUE(engine::InstallDriverFromPackage(rig.ctx, L"CorvaneEx", L"JN-2232T"));
        EXPECT_EQ(rig.messages(), std::vector<LogMessage>{installed(L"JN-2232T")});
        const auto drivers = rig.drivers(8);
        const ports::DriverInfo* d = rig.driver(drivers, L"JN-2232T");
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->infPath.has_value(), c.fromStore);
        // Only the direct route copies into the driver folder itself.
        EXPECT_EQ(rig.nativeContent(std::wstring(kDriverFolder) + L"CorvaneExNew.inf").empty(), c.fromStore);
    }
}

TEST(InstallDriverFromPackage, AFailingStoreCallIsReportedByNameAndNotFollowedByCopying) {
    struct Case {
        const char* operation;
        ports::Status code;
        std::wstring description;
    };
    InstallRig names;
    const Case cases[] = {
        {"UploadPrinterDriverPackageW", winerr::AccessDenied, L"0x80070005 - E_ACCESSDENIED"},
        {"InstallPrinterDriverFromPackageW", 1234, L"0x800704d2 : " + names.errorText(0x800704D2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.operation);
        InstallRig rig;
        rig.unpackPackage(1);
        rig.fail(c.operation, c.code);
        EXPECT_FALSE(engine::InstallDriverFromPackage(rig.ctx, L"CorvaneEx", L"JN-2232T"));
        EXPECT_EQ(rig.messages(), std::vector<LogMessage>{red(L"安装驱动程序失败. 错误码: 0. 错误描述: " +
                                                              c.description + L".")});
        EXPECT_EQ(rig.driver(rig.drivers(), L"JN-2232T"), nullptr);
        EXPECT_EQ(rig.nativeContent(std::wstring(kDriverFolder) + L"CorvaneExUniNew.dll"), "");
    }
}

// The device route with the simulated device-console tool itself: it reads the INF and updates the
// present device with that hardware ID, and the machine creates the printer's queue.
struct DeviceRoute {
    explicit DeviceRoute(const wchar_t* model) {
        rig.unpackPackage(1);
        rig.writeFile(kDrivers + L"devcon64.exe", "MZ");
        rig.session.chosen.driverNode = rig.model(model);
        rig.session.chosen.modelName = model;
    }
    std::vector<std::wstring> queues() {
        std::vector<ports::PrinterInfo2> printers;
        EXPECT_EQ(rig.spooler().enumPrinters2(ports::spool::EnumLocal, printers), winerr::Success);
        std::vector<std::wstring> names;
        for (const auto& p : printers)
            if (p.driverName == rig.session.chosen.modelName)
                names.push_back(p.printerName);
        return names;
    }
    InstallRig rig;
};

TEST(InstallWithDeviceTool, TheToolInstallsTheConnectedPrinterWithThePackageInf) {
    DeviceRoute route(engine_test::kMonitorModel);
    EXPECT_TRUE(engine::InstallWithDeviceTool(route.rig.ctx));
    EXPECT_EQ(route.rig.messages(), std::vector<LogMessage>{installed(L"JN-2203T-S")});
    const auto started = route.rig.processes.started();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].commandLine,
              L"\"" + kDrivers + L"devcon64.exe\" /r update \"" + kDrivers +
                  L"CorvaneEx\\CorvaneExNew.inf\" \"USBPRINT\\CorvaneExJN-2203T-S50F3\"");
    EXPECT_EQ(route.queues(), std::vector<std::wstring>{L"JN-2203T-S"});
}

TEST(InstallWithDeviceTool, WithoutAConnectedPrinterTheToolFailsAndTheSetupLogIsNamed) {
    DeviceRoute route(engine_test::kPlainModel); // no such device is plugged in
    EXPECT_FALSE(engine::InstallWithDeviceTool(route.rig.ctx));
    EXPECT_EQ(route.rig.messages(),
              std::vector<LogMessage>{red(L"安装打印机驱动失败: JN-2232T. "
                                          L"查看日志文件(C:\\Windows\\INF\\setupapi.dev.log)获取详细信息.")});
    EXPECT_EQ(route.queues(), std::vector<std::wstring>{});
}

TEST(InstallWithDeviceTool, EachExitCodeGivesItsMessageAndResult) {
    struct Case {
        const char* note;
        std::string script; // "" for no tool at all
        const char* windowsVersion;
        const char* fault; // a failing Windows call, or nullptr
        LogMessage message;
        bool succeeded;
    };
    const std::wstring m = L"JN-2203T-S";
    const Case cases[] = {
        {"done", "exit 0", "10.0.19045", nullptr, installed(m), true},
        {"done, restart needed", "exit 1", "10.0.19045", nullptr,
         red(L"安装打印机驱动成功: " + m + L". 需要重启系统."), true},
        {"failed", "exit 2", "6.0.6002", nullptr,
         red(L"安装打印机驱动失败: " + m +
             L". 查看日志文件(C:\\Windows\\INF\\setupapi.dev.log)获取详细信息."),
         false},
        {"failed before Vista", "exit 2", "5.1.2600", nullptr,
         red(L"安装打印机驱动失败: " + m + L". 查看日志文件(C:\\Windows\\setupapi.log)获取详细信息."), false},
        {"wrong arguments", "exit 3", "10.0.19045", nullptr,
         red(L"安装打印机驱动失败: " + m + L". 错误描述: 参数错误"), false},
        {"unknown code", "exit 42", "10.0.19045", nullptr, red(L"未知错误: " + m + L". "), false},
        {"tool missing", "", "10.0.19045", nullptr, red(L"未知错误: " + m + L". "), false},
        {"tool cannot start", "exit 0", "10.0.19045", "CreateProcessW", red(L"未知错误: " + m + L". "),
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        sim::Json state = sim::demoMachineState();
        state["system"]["windowsVersion"] = c.windowsVersion;
        InstallRig rig(state);
        rig.session.chosen.driverNode = rig.model(engine_test::kMonitorModel);
        rig.session.chosen.modelName = m;
        if (!c.script.empty())
            engine_test::installHostTool(rig.machine.machine(), rig.files(), kWorkingFolder + L"Drivers",
                                         L"devcon64.exe", c.script);
        if (c.fault)
            rig.fail(c.fault, winerr::AccessDenied);
        EXPECT_EQ(engine::InstallWithDeviceTool(rig.ctx), c.succeeded);
        EXPECT_EQ(rig.messages(), std::vector<LogMessage>{c.message});
    }
}

} // namespace
