#include "wizard/SpoolerCheck.h"

#include "base/Format.h"
#include "engine/SpoolerService.h"

namespace wizard {

bool CheckSpooler(const app::AppContext& context, ui::Window& window) {
    SpoolerControl control;
    if (OpenSpoolerManager(context, control) && OpenSpoolerService(context, control)) {
        ports::ServiceStatus status;
        if (context.platform.services().queryStatus(control.service, status) == ports::winerr::Success &&
            status.currentState == ports::svc::Running)
            return true;
    }
    if (StartSpoolerAndWait(context, control))
        return true;
    window.messageBox(text::format(context.tr(L"打开服务: Spooler 失败. 错误码: %d. 错误描述: %s."),
                                   static_cast<int>(control.lastError), context.errorText(control.lastError)),
                      L"Orvello", ui::mb::Ok);
    return false;
}

} // namespace wizard
