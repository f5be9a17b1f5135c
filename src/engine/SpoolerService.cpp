#include "engine/SpoolerService.h"

#include "app/msglog/MessageLog.h"

namespace winerr = ports::winerr;
namespace svc = ports::svc;

namespace {

bool failWith(SpoolerControl& control, ports::Status status) {
    control.lastError = status;
    return false;
}

// The pause after the request, then the polls.
bool waitForState(const app::AppContext& ctx, SpoolerControl& control, std::uint32_t wanted) {
    auto& clock = ctx.platform.clock();
    auto& services = ctx.platform.services();
    clock.sleepMs(kSpoolerPauseMs);
    ports::Status lastFailure = winerr::Success;
    for (int poll = 0; poll < kSpoolerPolls; ++poll) {
        ports::ServiceStatus status;
        const auto queried = services.queryStatus(control.service, status);
        if (queried == winerr::Success && status.currentState == wanted)
            return true;
        if (queried != winerr::Success)
            lastFailure = queried;
        clock.sleepMs(kSpoolerPauseMs);
    }
    return failWith(control, lastFailure != winerr::Success ? lastFailure : winerr::ServiceRequestTimeout);
}

void reportFailure(const app::AppContext& ctx, std::wstring_view message, ports::Status code) {
    PrintMessageColor(msglog::kRed, ctx.tr(message), static_cast<int>(code), ctx.errorText(code));
}

} // namespace

bool OpenSpoolerManager(const app::AppContext& ctx, SpoolerControl& control) {
    control.release();
    const auto status = ctx.platform.services().openManager(svc::GenericExecute, control.manager);
    return status == winerr::Success || failWith(control, status);
}

bool OpenSpoolerService(const app::AppContext& ctx, SpoolerControl& control) {
    control.service.reset();
    const auto status = ctx.platform.services().openService(control.manager, kSpoolerServiceName,
                                                            kSpoolerAccess, control.service);
    return status == winerr::Success || failWith(control, status);
}

bool StopSpoolerAndWait(const app::AppContext& ctx, SpoolerControl& control) {
    if (!control.service)
        return failWith(control, winerr::InvalidHandle);
    ports::ServiceStatus reported;
    if (const auto status = ctx.platform.services().control(control.service, svc::ControlStop, reported);
        status != winerr::Success)
        return failWith(control, status);
    return waitForState(ctx, control, svc::Stopped);
}

bool StartSpoolerAndWait(const app::AppContext& ctx, SpoolerControl& control) {
    if (!control.service)
        return failWith(control, winerr::InvalidHandle);
    if (const auto status = ctx.platform.services().start(control.service); status != winerr::Success)
        return failWith(control, status);
    return waitForState(ctx, control, svc::Running);
}

bool RestartSpooler(const app::AppContext& ctx, SpoolerControl& control) {
    if (!OpenSpoolerService(ctx, control)) {
        reportFailure(ctx, L"打开服务: Spooler 失败. 错误码: %d. 错误描述: %s.", control.lastError);
        return false;
    }
    if (!StopSpoolerAndWait(ctx, control)) {
        reportFailure(ctx, L"停止服务: Spooler 失败. 错误码: %d. 错误描述: %s.", control.lastError);
        return false;
    }
    if (!StartSpoolerAndWait(ctx, control)) {
        reportFailure(ctx, L"重启服务: Spooler 失败. 错误码: %d. 错误描述: %s.", control.lastError);
        return false;
    }
    return true;
}
