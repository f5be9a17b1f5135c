#include "engine/DeviceTool.h"

#include "app/msglog/MessageLog.h"
#include "engine/OutputCapture.h"

#include <cstdint>

namespace winerr = ports::winerr;

std::wstring DeviceToolCommandLine(const app::AppContext& ctx, std::wstring_view arguments) {
    std::wstring line = L"\"";
    line += ctx.workingFolder;
    line += L"Drivers\\";
    line += ctx.deviceConsoleTool;
    line += L"\"";
    line += arguments;
    return line;
}

int RunDeviceTool(const app::AppContext& ctx, std::wstring_view arguments) {
    ports::ProcessStartInfo info;
    info.commandLine = DeviceToolCommandLine(ctx, arguments);
    info.hidden = true;
    info.inheritHandles = true;
    if (ctx.outputPipe && ctx.outputPipe->writeEnd)
        info.output = &ctx.outputPipe->writeEnd;

    if (ctx.debug())
        PostLogMessage(info.commandLine, msglog::kBlack);

    auto& processes = ctx.platform.processes();
    ports::ProcessHandle process;
    if (processes.start(info, process) != winerr::Success)
        return kDeviceToolNotStarted;

    // The wait's own result does not matter: the exit code read afterwards tells.
    (void)processes.wait(process, ports::kInfinite);
    std::uint32_t code = 0;
    const int exitCode =
        processes.exitCode(process, code) == winerr::Success ? static_cast<int>(code) : kDeviceToolNoExitCode;
    process.reset();

    if (ctx.debug())
        PrintMessage(L"return dwCode = %d", exitCode);
    return exitCode;
}
