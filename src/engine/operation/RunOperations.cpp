#include "engine/operation/RunOperations.h"

#include "catalogue/DriverCatalogue.h"
#include "engine/package/PreparePackage.h"

#include <optional>

namespace engine {

namespace {

bool runUnderWindow(const InstallContext& ctx, ProgressWindow& window, const OperationRoutines& routines) {
    std::optional<CThreadOperation> operation;
    window.runModal([&](ProgressWindow::Close close) {
        operation.emplace(ctx, routines, std::move(close));
        (void)operation->start();
    });
    if (!operation)
        return false;
    operation->join();
    return operation->succeeded();
}

} // namespace

void WaitingProgressWindow::runModal(const std::function<void(Close)>& start) {
    {
        std::lock_guard lock(mutex_);
        open_ = true;
    }
    start([this] {
        std::lock_guard lock(mutex_);
        open_ = false;
        closed_.notify_all();
    });
    std::unique_lock lock(mutex_);
    closed_.wait(lock, [this] { return !open_; });
}

bool RunInstallOperation(const InstallContext& ctx, const SkinFiles& skin, std::wstring& packageFolder,
                         ProgressWindow& window, const OperationRoutines& routines) {
    PreparePackage(ctx, skin, catalogue::DriverManufacturerMode(ctx.session.chosen.driverNode),
                   packageFolder);
    return runUnderWindow(ctx, window, routines);
}

void RunUpgradeOperation(const InstallContext& ctx, const SkinFiles& skin, std::wstring& packageFolder,
                         ProgressWindow& window, const OperationRoutines& routines) {
    PreparePackage(ctx, skin, ctx.session.manufacturer.Name, packageFolder);
    (void)runUnderWindow(ctx, window, routines);
}

void RunDeleteOperation(const InstallContext& ctx, ProgressWindow& window,
                        const OperationRoutines& routines) {
    (void)runUnderWindow(ctx, window, routines);
}

} // namespace engine
