#pragma once
// Background commands: a command line run hidden on a thread of its own that nobody waits for (the
// test page, the shell's icon refresh). The thread frees its CThreadCommand when it ends.
#include "engine/EngineContext.h"
#include "platform/ports/Processes.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class CThreadCommand {
public:
    CThreadCommand(ports::Processes& processes, std::function<bool()> debugMode);

    // Starts the thread, which owns the command from then on. A command whose thread cannot be
    // created is dropped.
    static void start(std::unique_ptr<CThreadCommand> command);

    // The thread's work: in debug mode logs the command line in black, starts it hidden without
    // handle inheritance or standard handles and waits for it. Its result is not used; a command
    // that cannot be started ends the work silently.
    void run();

    std::wstring commandLine;

private:
    ports::Processes& processes_;
    std::function<bool()> debugMode_;
};

// Runs `commandLine` on a CThreadCommand and returns at once.
void StartBackgroundCommand(const EngineContext& ctx, std::wstring_view commandLine);
