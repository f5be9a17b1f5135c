#include "engine/operation/CThreadOperation.h"

#include "app/msglog/MessageLog.h"
#include "engine/DeviceTool.h"
#include "engine/bluetooth/BluetoothInstall.h"
#include "engine/install/DriverInstall.h"
#include "engine/install/NetworkInstall.h"
#include "engine/install/TcpIpPorts.h"

#include <system_error>

namespace engine {

namespace {

// What a branch without its routine in this build says, so the user is never told nothing.
void notAvailable(std::wstring_view what) {
    PrintMessageColor(msglog::kRed, L"%s: not available in this version.", what);
}

} // namespace

OperationRoutines OperationRoutines::real() {
    OperationRoutines r;
    r.installNetwork = InstallNetworkPrinter;
    r.installOnExistingPort = InstallOnExistingPort;
    r.installBluetooth = InstallBluetoothPrinter;
    r.installWithDeviceTool = InstallWithDeviceTool;
    r.deletePortIfTcpIp = [](const app::AppContext& ctx, std::wstring_view port) {
        return DeletePortIfTcpIp(ctx, port);
    };
    r.runDeviceTool = [](const app::AppContext& ctx, std::wstring_view arguments) {
        return RunDeviceTool(ctx, arguments);
    };
    return r;
}

CThreadOperation::CThreadOperation(const InstallContext& ctx, OperationRoutines routines,
                                   std::function<void()> close)
    : ctx_(ctx), routines_(std::move(routines)), close_(std::move(close)) {}

CThreadOperation::~CThreadOperation() {
    join();
}

bool CThreadOperation::start() {
    try {
        thread_ = std::thread([this] { run(); });
        return true;
    } catch (const std::system_error&) {
        if (close_)
            close_();
        return false;
    }
}

void CThreadOperation::join() {
    if (thread_.joinable())
        thread_.join();
}

void CThreadOperation::run() {
    // The routines may reach COM (the driver store, a driver's own setup); its result is not needed.
    ports::SystemInfo& system = ctx_.platform().system();
    const bool com = system.initializeCom() == ports::winerr::Success;
    dispatch();
    if (close_)
        close_();
    if (com)
        system.uninitializeCom();
}

void CThreadOperation::dispatch() {
    const auto& session = ctx_.session;
    auto install = [&](const std::function<bool(const InstallContext&)>& routine, std::wstring_view what) {
        if (!routine) {
            notAvailable(what);
            return;
        }
        if (routine(ctx_))
            succeeded_ = true;
    };
    switch (session.setupMode) {
    case 0:
        switch (session.portType) {
        case 1:
            install(routines_.installNetwork, L"Network installation");
            break;
        case 2:
            install(routines_.installBluetooth, L"Bluetooth installation");
            break;
        case 4:
        case 5:
        case 6:
            install(routines_.installOnExistingPort, L"Installation on a port");
            break;
        default: // USB, the Bluetooth adapter on USB, and any value without a branch of its own
            install(routines_.installWithDeviceTool, L"USB installation");
            break;
        }
        break;
    case 1:
        if (routines_.upgradePrinters)
            routines_.upgradePrinters(ctx_);
        else
            notAvailable(L"Driver upgrade");
        break;
    case 2:
        if (routines_.deletePrinters)
            routines_.deletePrinters(ctx_, collectedPorts_);
        else
            notAvailable(L"Printer removal");
        if (routines_.deleteDrivers)
            routines_.deleteDrivers(ctx_);
        else
            notAvailable(L"Driver removal");
        if (routines_.removeStaleUsbDevices)
            routines_.removeStaleUsbDevices(ctx_);
        for (const auto& port : collectedPorts_)
            if (routines_.deletePortIfTcpIp)
                (void)routines_.deletePortIfTcpIp(ctx_.app, port);
        collectedPorts_.clear();
        if (routines_.runDeviceTool)
            (void)routines_.runDeviceTool(ctx_.app, L" rescan");
        break;
    default:
        break;
    }
}

} // namespace engine
