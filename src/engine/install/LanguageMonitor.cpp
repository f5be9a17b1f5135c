#include "engine/install/LanguageMonitor.h"

#include "app/Architecture.h"
#include "app/msglog/MessageLog.h"
#include "catalogue/DriverCatalogue.h"
#include "engine/SpoolerService.h"
#include "engine/install/DriverInstall.h"

#include <vector>

namespace engine {

namespace winerr = ports::winerr;

namespace {

// Switches the calling thread's file-system redirection off for its lifetime and on again at the
// end, whatever path the routine leaves by. Where nothing is redirected the calls answer an error
// that changes nothing.
class RedirectionOff {
public:
    explicit RedirectionOff(ports::FileSystem& files) : files_(files) {
        (void)files_.enableWow64FsRedirection(false);
    }
    ~RedirectionOff() { (void)files_.enableWow64FsRedirection(true); }
    RedirectionOff(const RedirectionOff&) = delete;
    RedirectionOff& operator=(const RedirectionOff&) = delete;

private:
    ports::FileSystem& files_;
};

std::wstring withBackslash(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

// The spooler can be reached: then a monitor in use is left registered and its DLL in place.
bool spoolerReachable(const InstallContext& ctx) {
    SpoolerControl control;
    return OpenSpoolerManager(ctx.app, control) && OpenSpoolerService(ctx.app, control);
}

} // namespace

std::wstring LanguageMonitorName(std::wstring_view mode) {
    return std::wstring(mode) + L" Language Monitor";
}

std::wstring LanguageMonitorDll(std::wstring_view mode) {
    return std::wstring(mode) + L"LM.dll";
}

std::wstring InstallLanguageMonitor(const InstallContext& ctx, DriverRef model) {
    auto& platform = ctx.platform();
    RedirectionOff redirectionOff(platform.files());

    const std::wstring mode = catalogue::DriverManufacturerMode(model);
    const std::wstring name = LanguageMonitorName(mode);
    const std::wstring dll = LanguageMonitorDll(mode);
    const std::wstring environment = app::printEnvironment(platform.system());

    if (RemoveLanguageMonitor(ctx, name) == kMonitorInUse && spoolerReachable(ctx))
        return name;

    const std::wstring source = ctx.app.workingFolder + L"Drivers\\" + mode + L"\\" +
                                app::architectureFolder(platform.system()) + L"\\" + dll;
    // The system's own folder, wherever Windows lives, as the native spooler sees it now that
    // redirection is off.
    const std::wstring target =
        withBackslash(platform.system().knownFolder(ports::KnownFolder::System)) + dll;
    if (const auto copied = platform.files().copyFile(source, target, false); copied != winerr::Success) {
        ReportWriteFailure(ctx, source, copied);
        return {};
    }
    if (const auto added = platform.spooler().addMonitor({name, environment, dll});
        added != winerr::Success) {
        PrintMessageColor(msglog::kRed, ctx.app.tr(L"安装监视器失败. 错误码: %d. 错误描述: %s."),
                          static_cast<int>(added), ctx.app.errorText(added));
        return {};
    }
    return name;
}

int RemoveLanguageMonitor(const InstallContext& ctx, std::wstring_view monitorName) {
    auto& spooler = ctx.platform().spooler();
    // Monitors run in the native spooler, so the drivers that can name one are those of the native
    // environment (a 32-bit process asking for "its" environment would see only the x86 drivers).
    const std::wstring environment = app::printEnvironment(ctx.platform().system());
    std::vector<ports::DriverInfo> drivers;
    if (spooler.enumDrivers(environment, 3, drivers) == winerr::Success) {
        for (const auto& driver : drivers) {
            if (driver.monitorName && *driver.monitorName == monitorName)
                return kMonitorInUse;
        }
    }
    const auto deleted = spooler.deleteMonitor(environment, monitorName);
    if (deleted == winerr::Success || deleted == winerr::UnknownPrintMonitor)
        return kMonitorRemoved;

    // The spooler may still hold the DLL: once restarted it lets the monitor go.
    // Without the manager the restart fails at its first step and says so.
    SpoolerControl control;
    (void)OpenSpoolerManager(ctx.app, control);
    (void)RestartSpooler(ctx.app, control);
    return spooler.deleteMonitor(environment, monitorName) == winerr::Success ? kMonitorRemoved
                                                                              : kMonitorNotRemoved;
}

} // namespace engine
