#pragma once
// The operation thread: every change to the print system (install, upgrade, delete) runs on it while
// the progress window blocks the pages. It picks the routine from the session's setupMode and
// portType, runs it once, then asks the progress window to close: the only way that window closes.
// The thread belongs to this object, which joins it.
#include "engine/install/InstallContext.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace engine {

class CThreadOperation;

// The engine routines the dispatch calls. The defaults are the real ones; a routine that this build
// does not have yet is empty and its branch reports that it is not available.
struct OperationRoutines {
    std::function<bool(const InstallContext&)> installNetwork;
    std::function<bool(const InstallContext&)> installBluetooth;
    std::function<bool(const InstallContext&)> installOnExistingPort;
    std::function<bool(const InstallContext&)> installWithDeviceTool;
    std::function<void(const InstallContext&)> upgradePrinters;
    // Deletes the chosen printers and appends the port of each to the list, in order.
    std::function<void(const InstallContext&, std::vector<std::wstring>&)> deletePrinters;
    std::function<void(const InstallContext&)> deleteDrivers;
    std::function<void(const InstallContext&)> removeStaleUsbDevices;
    std::function<bool(const app::AppContext&, std::wstring_view)> deletePortIfTcpIp;
    std::function<int(const app::AppContext&, std::wstring_view)> runDeviceTool;

    static OperationRoutines real();
};

class CThreadOperation {
public:
    // `close` is called on the operation thread when the work is done (the progress window's
    // WM_CLOSE).
    CThreadOperation(const InstallContext& ctx, OperationRoutines routines, std::function<void()> close);
    // Joins the thread.
    ~CThreadOperation();
    CThreadOperation(const CThreadOperation&) = delete;
    CThreadOperation& operator=(const CThreadOperation&) = delete;

    // Starts the thread at once; false when no thread could be made (then `close` is called here,
    // so the window never waits for an operation that did not start).
    bool start();
    void join();

    // True when an installation completed; written on the thread before it asks to close.
    bool succeeded() const { return succeeded_.load(); }

private:
    void run();
    void dispatch();

    const InstallContext& ctx_;
    OperationRoutines routines_;
    std::function<void()> close_;
    std::atomic<bool> succeeded_{false};
    std::vector<std::wstring> collectedPorts_;
    std::thread thread_;
};

} // namespace engine
