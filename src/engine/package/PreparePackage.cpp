#include "engine/package/PreparePackage.h"

#include "app/Architecture.h"
#include "app/Folders.h"
#include "app/PackageFiles.h"
#include "app/msglog/MessageLog.h"
#include "base/InfText.h"
#include "catalogue/DriverCatalogue.h"
#include "engine/install/DirectCopyModels.h"
#include "engine/package/CInfFile.h"

#include <span>

namespace winerr = ports::winerr;

namespace {

constexpr std::wstring_view kDeviceTools[] = {L"devcon32.exe", L"devcon64.exe", L"devconARM64.exe",
                                              L"devconXP32.exe"};

std::wstring withBackslash(std::wstring_view folder) {
    std::wstring out(folder);
    if (out.empty() || out.back() != L'\\')
        out += L'\\';
    return out;
}

// Creates the folder and removes everything below it.
void emptyFolder(ports::FileSystem& files, const std::wstring& folder) {
    (void)files.createDirectories(folder);
    (void)app::deleteFolderContents(files, folder);
}

void extractSourceFile(const engine::InstallContext& ctx, const SkinFiles& skin,
                       std::wstring_view packageFolder, std::wstring_view mode, const InfLine& line) {
    const std::wstring modeFolder = std::wstring(mode) + L"\\";
    if (line.values.size() < 2) {
        (void)ExtractArchiveFile(ctx.app, skin, modeFolder, line.key, packageFolder);
        return;
    }
    const auto& sub = line.values[1];
    // The INF names the subfolder: one that leaves the package folder writes nowhere.
    if (!inf::staysInsideFolder(sub)) {
        PrintMessageColor(msglog::kRed, ctx.app.tr(L"抽取文件: %s. 失败."),
                          L"Drivers\\" + modeFolder + sub + L"\\" + line.key);
        return;
    }
    (void)ExtractArchiveFile(ctx.app, skin, modeFolder + sub + L"\\", line.key,
                             std::wstring(packageFolder) + sub);
}

} // namespace

bool ExtractArchiveFile(const app::AppContext& ctx, const SkinFiles& skin, std::wstring_view subPath,
                        std::wstring_view fileName, std::wstring_view destinationFolder) {
    auto& files = ctx.platform.files();
    const std::wstring entry = L"Drivers\\" + std::wstring(subPath) + std::wstring(fileName);
    // The file name comes from the INF: it must be a name inside the folder, not a path out of it.
    if (fileName.empty() || !inf::staysInsideFolder(fileName) || !inf::staysInsideFolder(subPath)) {
        PrintMessageColor(msglog::kRed, ctx.tr(L"抽取文件: %s. 失败."), entry);
        return false;
    }
    const std::wstring folder = withBackslash(destinationFolder);
    (void)files.createDirectories(folder);
    std::string bytes;
    if (skin.read(entry, bytes) != winerr::Success) {
        PrintMessageColor(msglog::kRed, ctx.tr(L"抽取文件: %s. 失败."), entry);
        return false;
    }
    const auto data = std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (const auto status = files.writeFile(folder + std::wstring(fileName), data);
        status != winerr::Success) {
        PrintMessageColor(msglog::kRed, ctx.tr(L"写入文件: %s. 失败. 错误码: %d. 错误描述: %s."), fileName,
                          static_cast<int>(status), ctx.errorText(status));
        return false;
    }
    return true;
}

void ExtractInfSourceFiles(const engine::InstallContext& ctx, const SkinFiles& skin,
                           std::wstring_view packageFolder, std::wstring_view mode,
                           std::wstring_view infFileName) {
    CInfFile inf(ctx.platform().infFiles());
    if (!inf.Open(std::wstring(packageFolder) + std::wstring(infFileName)))
        return;
    const auto* manufacturer = inf.FindSection(L"Manufacturer");
    if (!manufacturer || manufacturer->lines.empty())
        return;
    auto& system = ctx.platform().system();
    const InfSection* files = nullptr;
    if (app::is64BitOs(system)) {
        files = inf.FindSection(L"SourceDisksFiles.amd64");
    } else if (app::isArm64(system)) {
        files = inf.FindSection(L"SourceDisksFiles.arm64");
    } else {
        files = inf.FindSection(L"SourceDisksFiles.i386");
        if (!files || files->lines.empty())
            files = inf.FindSection(L"SourceDisksFiles.x86");
    }
    if (!files)
        return;
    for (const auto& line : files->lines)
        extractSourceFile(ctx, skin, packageFolder, mode, line);
}

void PreparePackage(const engine::InstallContext& ctx, const SkinFiles& skin, std::wstring_view mode,
                    std::wstring& packageFolder) {
    auto& files = ctx.platform().files();
    auto& session = ctx.session;
    const std::wstring working = withBackslash(ctx.app.workingFolder);
    packageFolder = working;
    (void)files.createDirectories(packageFolder);

    const std::wstring drivers = working + L"Drivers\\";
    packageFolder = drivers;
    emptyFolder(files, drivers);
    for (auto tool : kDeviceTools)
        (void)ExtractArchiveFile(ctx.app, skin, L"", tool, drivers);

    const std::wstring modeName(mode);
    packageFolder = drivers + modeName + L"\\";
    emptyFolder(files, packageFolder);

    std::string probe;
    if (skin.read(L"Drivers\\" + modeName + L"\\" + modeName + L".inf", probe) == winerr::Success)
        session.newPackage = 0;
    if (skin.read(L"Drivers\\" + modeName + L"\\" + modeName + L"New.inf", probe) == winerr::Success)
        session.newPackage = 1;

    const std::wstring modeFolder = modeName + L"\\";
    (void)ExtractArchiveFile(ctx.app, skin, modeFolder, app::infFile(session), packageFolder);
    (void)ExtractArchiveFile(ctx.app, skin, modeFolder, app::catalogueFile(session), packageFolder);

    const std::wstring arch = app::architectureFolder(ctx.platform().system());
    if (session.newPackage == 0) {
        const std::wstring unidrv = drivers + L"unidrv\\";
        (void)files.createDirectories(unidrv);
        for (auto f : {L"UNIDRV.dll", L"UNIDRVUI.DLL", L"UNIRES.DLL", L"STDNAMES.gpd"})
            (void)ExtractArchiveFile(ctx.app, skin, L"common\\" + arch + L"\\", f, unidrv + arch);
    }

    if (!IsTovanaHardwareId(catalogue::DriverUsbName(session.chosen.driverNode))) {
        ExtractInfSourceFiles(ctx, skin, packageFolder, mode, app::infFile(session));
        return;
    }
    const std::wstring archFolder = modeFolder + arch + L"\\";
    const std::wstring& model = session.chosen.modelName;
    if (session.newPackage != 0) {
        for (auto f : {L"TovanaUniNew.dll", L"TovanaUiNew.dll"})
            (void)ExtractArchiveFile(ctx.app, skin, archFolder, f, packageFolder + arch);
        (void)ExtractArchiveFile(ctx.app, skin, modeFolder, model + L".dat", packageFolder);
    } else {
        for (auto f : {L"TovanaRes.dll", L"TovanaUNI.dll", L"TovanaUI.dll"})
            (void)ExtractArchiveFile(ctx.app, skin, archFolder, f, packageFolder + arch);
        (void)ExtractArchiveFile(ctx.app, skin, modeFolder, L"Tovana.ini", packageFolder);
        (void)ExtractArchiveFile(ctx.app, skin, modeFolder, model + L".gpd", packageFolder);
    }
}
