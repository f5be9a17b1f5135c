#include "engine/ThreadCommand.h"

#include "app/msglog/MessageLog.h"

#include <cstdint>
#include <system_error>
#include <thread>
#include <utility>

namespace winerr = ports::winerr;

CThreadCommand::CThreadCommand(ports::Processes& processes, std::function<bool()> debugMode)
    : processes_(processes), debugMode_(std::move(debugMode)) {}

void CThreadCommand::start(std::unique_ptr<CThreadCommand> command) {
    try {
        std::thread([self = std::move(command)] { self->run(); }).detach();
    } catch (const std::system_error&) {
        // Like a command that cannot be started: nobody is told.
    }
}

// The thread does not initialise COM: starting a process and waiting for it do not need it.
void CThreadCommand::run() {
    ports::ProcessStartInfo info;
    info.commandLine = commandLine;
    info.hidden = true;
    info.inheritHandles = false;
    if (debugMode_ && debugMode_())
        PostLogMessage(info.commandLine, msglog::kBlack);

    ports::ProcessHandle process;
    if (processes_.start(info, process) != winerr::Success)
        return;
    (void)processes_.wait(process, ports::kInfinite);
    std::uint32_t ignored = 0;
    (void)processes_.exitCode(process, ignored);
}

void StartBackgroundCommand(const EngineContext& ctx, std::wstring_view commandLine) {
    auto command = std::make_unique<CThreadCommand>(ctx.platform.processes(), ctx.debugMode);
    command->commandLine = commandLine;
    CThreadCommand::start(std::move(command));
}
