#pragma once
// The three operations the summary pages run: the package is unpacked first (install and upgrade),
// then the operation thread works while the progress window is shown modally; each returns when that
// window has closed.
#include "app/skin/SkinFiles.h"
#include "engine/install/InstallContext.h"
#include "engine/operation/CThreadOperation.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

namespace engine {

// The modal progress window. runModal calls `start` once it is up, handing it the function that
// closes it (callable from any thread), and returns only after that was called.
class ProgressWindow {
public:
    using Close = std::function<void()>;
    virtual void runModal(const std::function<void(Close)>& start) = 0;

protected:
    ~ProgressWindow() = default;
};

// A progress window with nothing to show: it waits until the operation closes it (runs without a
// desktop, tests).
class WaitingProgressWindow final : public ProgressWindow {
public:
    void runModal(const std::function<void(Close)>& start) override;

private:
    std::mutex mutex_;
    std::condition_variable closed_;
    bool open_ = false;
};

// Unpacks the chosen model's package (into `packageFolder`, the end page's), then installs. True
// when the installation completed; the caller then finishes the printer (name and default).
bool RunInstallOperation(const InstallContext& ctx, const SkinFiles& skin, std::wstring& packageFolder,
                         ProgressWindow& window,
                         const OperationRoutines& routines = OperationRoutines::real());
// Unpacks the current manufacturer's package, then upgrades.
void RunUpgradeOperation(const InstallContext& ctx, const SkinFiles& skin, std::wstring& packageFolder,
                         ProgressWindow& window,
                         const OperationRoutines& routines = OperationRoutines::real());
// Deletes, with the package files an earlier run left (nothing is unpacked).
void RunDeleteOperation(const InstallContext& ctx, ProgressWindow& window,
                        const OperationRoutines& routines = OperationRoutines::real());

} // namespace engine
