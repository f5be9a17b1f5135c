#include "engine/install/DriverInstall.h"

#include "app/Architecture.h"
#include "app/ErrorText.h"
#include "app/PackageFiles.h"
#include "app/msglog/MessageLog.h"
#include "catalogue/DriverCatalogue.h"
#include "engine/DeviceTool.h"
#include "engine/install/LanguageMonitor.h"

#include <string>
#include <vector>

namespace engine {

namespace winerr = ports::winerr;

namespace {

constexpr std::wstring_view kInstalled = L"安装打印机驱动成功: %s. ";
constexpr std::wstring_view kInstallFailed = L"安装驱动程序失败. 错误码: %d. 错误描述: %s.";

struct Copy {
    std::wstring from;
    std::wstring to;
};

// The package's files in the order they are copied into the driver folder D. `packageFolder` is
// the working folder's "Drivers\".
std::vector<Copy> driverFileCopies(const SetupSession& session, const std::wstring& packageFolder,
                                   const std::wstring& arch, const std::wstring& d,
                                   std::wstring_view driverName, std::wstring_view mode) {
    const std::wstring own = packageFolder + std::wstring(mode) + L"\\";
    const std::wstring ownArch = own + arch + L"\\";
    const std::wstring name(driverName);
    std::vector<Copy> copies;
    if (session.newPackage) {
        for (const auto& dll : {app::renderingDll(session), app::userInterfaceDll(session)})
            copies.push_back({ownArch + dll, d + dll});
        copies.push_back({own + app::infFile(session), d + app::infFile(session)});
        copies.push_back({own + name + L".dat", d + name + L".dat"});
        return copies;
    }
    // The older package rides on the system's generic driver, shipped beside it.
    const std::wstring generic = packageFolder + L"unidrv\\" + arch + L"\\";
    for (const wchar_t* f : {L"UNIDRV.dll", L"UNIDRVUI.DLL", L"UNIRES.DLL", L"STDNAMES.gpd"})
        copies.push_back({generic + f, d + f});
    for (const wchar_t* suffix : {L"Res.dll", L"UNI.dll", L"UI.dll"}) {
        const std::wstring f = std::wstring(mode) + suffix;
        copies.push_back({ownArch + f, d + f});
    }
    for (const wchar_t* suffix : {L".inf", L".ini"}) {
        const std::wstring f = std::wstring(mode) + suffix;
        copies.push_back({own + f, d + f});
    }
    copies.push_back({own + name + L".gpd", d + name + L".gpd"});
    return copies;
}

// DRIVER_INFO_3 without the monitor. The port turns dependentFiles into the NUL-separated list
// that ends in two NULs.
ports::DriverInfo driverInfo3(const SetupSession& session, std::wstring_view driverName,
                              std::wstring_view mode, const std::wstring& environment) {
    const std::wstring name(driverName);
    const std::wstring m(mode);
    ports::DriverInfo info;
    info.level = 3;
    info.version = 3;
    info.name = name;
    info.environment = environment;
    info.defaultDataType = L"RAW";
    if (session.newPackage) {
        info.driverPath = app::renderingDll(session);
        info.dataFile = name + L".dat";
        info.configFile = app::userInterfaceDll(session);
        info.dependentFiles = {info.driverPath, info.configFile, info.dataFile};
    } else {
        info.driverPath = L"unidrv.DLL";
        info.dataFile = name + L".gpd";
        info.configFile = L"unidrvui.dll";
        info.dependentFiles = {m + L"Res.dll", m + L".ini",   m + L"UNI.dll",
                               m + L"UI.dll",  info.dataFile, L"STDNAMES.GPD"};
    }
    return info;
}

// Windows 8 (6.2) or later: the driver store calls exist from then on.
bool driverStoreVersion(ports::SystemInfo& system) {
    const auto v = system.windowsVersion();
    return v.major > 6 || (v.major == 6 && v.minor >= 2);
}

void reportStoreFailure(const InstallContext& ctx, ports::HResult result) {
    // The code place shows 0: an HRESULT is no error code of the system's list; its name says it.
    PrintMessageColor(msglog::kRed, ctx.app.tr(kInstallFailed), 0,
                      app::errorCodeName(ctx.platform().system(), result));
}

} // namespace

bool ReportWriteFailure(const InstallContext& ctx, std::wstring_view path, ports::Status error) {
    PrintMessageColor(msglog::kRed, ctx.app.tr(L"写入文件: %s. 失败. 错误码: %d. 错误描述: %s."), path,
                      static_cast<int>(error), ctx.app.errorText(error));
    return false;
}

bool InstallDriverFromPackage(const InstallContext& ctx, std::wstring_view mode,
                              std::wstring_view driverName) {
    auto& system = ctx.platform().system();
    auto& spooler = ctx.platform().spooler();
    if (!driverStoreVersion(system) || !spooler.driverStoreAvailable())
        return InstallDriverByCopy(ctx, driverName, mode);

    const std::wstring inf =
        ctx.app.workingFolder + L"Drivers\\" + std::wstring(mode) + L"\\" + app::infFile(ctx.session);
    const std::wstring environment = app::printEnvironment(system);
    std::wstring storeInf;
    const auto uploaded = spooler.uploadPrinterDriverPackage(
        inf, environment, ports::spool::UploadSilent | ports::spool::UploadAlways, 0, storeInf);
    if (ports::hresult::failed(uploaded)) {
        reportStoreFailure(ctx, uploaded);
        return false;
    }
    const auto installed = spooler.installPrinterDriverFromPackage(storeInf, driverName, environment,
                                                                   ports::spool::InstallCopyAllFiles);
    if (ports::hresult::failed(installed)) {
        reportStoreFailure(ctx, installed);
        return false;
    }
    PrintMessageColor(msglog::kBlue, ctx.app.tr(kInstalled), driverName);
    return true;
}

bool InstallDriverByCopy(const InstallContext& ctx, std::wstring_view driverName, std::wstring_view mode) {
    auto& platform = ctx.platform();
    auto& system = platform.system();
    const std::wstring d =
        app::printerDriverFolder(system, app::driverDirectoryQuery(platform.spooler()), ctx.errorBox);
    const std::wstring environment = app::printEnvironment(system);
    const std::wstring arch = app::architectureFolder(system);

    for (const auto& copy :
         driverFileCopies(ctx.session, ctx.app.workingFolder + L"Drivers\\", arch, d, driverName, mode)) {
        if (const auto copied = platform.files().copyFile(copy.from, copy.to, false);
            copied != winerr::Success)
            ReportWriteFailure(ctx, copy.from, copied);
    }

    ports::DriverInfo info = driverInfo3(ctx.session, driverName, mode, environment);
    const DriverRef model = catalogue::FindDriver(mode, driverName, ctx.catalogue);
    if (catalogue::UsesLanguageMonitor(model)) {
        // A monitor that cannot be installed leaves the driver without one (no empty name).
        if (std::wstring monitor = InstallLanguageMonitor(ctx, model); !monitor.empty())
            info.monitorName = std::move(monitor);
    }

    if (const auto added = platform.spooler().addPrinterDriver(info); added != winerr::Success) {
        PrintMessageColor(msglog::kRed, ctx.app.tr(kInstallFailed), static_cast<int>(added),
                          ctx.app.errorText(added));
        return false;
    }
    PrintMessageColor(msglog::kBlue, ctx.app.tr(kInstalled), driverName);
    return true;
}

bool InstallWithDeviceTool(const InstallContext& ctx) {
    const DriverRef model = ctx.session.chosen.driverNode;
    const std::wstring& mode = catalogue::DriverManufacturerMode(model);
    const std::wstring inf = ctx.app.workingFolder + L"Drivers\\" + mode + L"\\" + app::infFile(ctx.session);
    const std::wstring arguments =
        L" /r update \"" + inf + L"\" \"" + catalogue::DriverUsbName(model) + L"\"";
    const std::wstring& modelName = ctx.session.chosen.modelName;

    // The tool's convention: 0 done, 1 done but a restart is needed, 2 failed, 3 wrong arguments.
    switch (RunDeviceTool(ctx.app, arguments)) {
    case 0:
        PrintMessageColor(msglog::kBlue, ctx.app.tr(kInstalled), modelName);
        return true;
    case 1:
        PrintMessageColor(msglog::kRed, ctx.app.tr(L"安装打印机驱动成功: %s. 需要重启系统."), modelName);
        if (ctx.outcome)
            ctx.outcome->restartNeeded = true;
        return true;
    case 2:
        // Where Windows writes what went wrong differs before and after Vista.
        PrintMessageColor(
            msglog::kRed,
            ctx.app.tr(
                app::isVistaOrLater(ctx.platform().system())
                    ? L"安装打印机驱动失败: %s. 查看日志文件(C:\\Windows\\INF\\setupapi.dev.log)获取详细信息."
                    : L"安装打印机驱动失败: %s. 查看日志文件(C:\\Windows\\setupapi.log)获取详细信息."),
            modelName);
        return false;
    case 3:
        PrintMessageColor(msglog::kRed, ctx.app.tr(L"安装打印机驱动失败: %s. 错误描述: 参数错误"), modelName);
        return false;
    default:
        PrintMessageColor(msglog::kRed, ctx.app.tr(L"未知错误: %s. "), modelName);
        return false;
    }
}

} // namespace engine
