#include "platform/sim/SimServiceState.h"

#include "platform/ports/ServiceControl.h"
#include "platform/sim/SimJson.h"

namespace sim {

namespace {

Json defaultServices() {
    return Json{{"Spooler", {{"state", "running"}, {"startDelayMs", 2000}, {"stopDelayMs", 1000}}}};
}

std::uint32_t stateCode(const std::string& s) {
    if (s == "stopped")
        return ports::svc::Stopped;
    if (s == "paused")
        return ports::svc::Paused;
    return ports::svc::Running;
}

} // namespace

const Json* findService(const Json& state, std::wstring_view name) {
    static const Json defaults = defaultServices();
    const Json& services = memberOf(state, "services");
    return findMember(services.is_object() ? services : defaults, name);
}

Json* findService(Json& state, std::wstring_view name) {
    if (!state.contains("services") || !state["services"].is_object())
        state["services"] = defaultServices();
    return findMember(state["services"], name);
}

ServiceView viewService(const Json& service, std::uint64_t nowMs) {
    ServiceView v;
    const std::string target =
        memberOf(service, "state").is_string() ? service["state"].get<std::string>() : "running";
    const std::string pending =
        memberOf(service, "pending").is_string() ? service["pending"].get<std::string>() : "";
    const std::uint64_t until = numberOf(service, "pendingUntilMs");
    if (!pending.empty() && nowMs < until) {
        v.state = pending == "start" ? ports::svc::StartPending : ports::svc::StopPending;
        v.waitHint = static_cast<std::uint32_t>(until - nowMs);
        v.checkPoint = 1;
        return v;
    }
    v.state = stateCode(target);
    v.exitCode = static_cast<std::uint32_t>(numberOf(service, "exitCode"));
    return v;
}

bool spoolerRunning(const Json& state, std::uint64_t nowMs) {
    const Json* spooler = findService(state, L"Spooler");
    return spooler && viewService(*spooler, nowMs).state == ports::svc::Running;
}

void beginStart(Json& service, std::uint64_t nowMs) {
    const auto failure = static_cast<std::uint32_t>(numberOf(service, "startExitCode"));
    service["state"] = failure ? "stopped" : "running";
    service["exitCode"] = failure;
    service["pending"] = "start";
    service["pendingUntilMs"] = nowMs + numberOf(service, "startDelayMs", 2000);
}

void beginStop(Json& service, std::uint64_t nowMs) {
    service["state"] = "stopped";
    service["exitCode"] = 0;
    service["pending"] = "stop";
    service["pendingUntilMs"] = nowMs + numberOf(service, "stopDelayMs", 1000);
}

} // namespace sim
