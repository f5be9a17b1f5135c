#pragma once
// Background commands: command lines run hidden on threads of their own that nobody waits for (the
// test page, the shell's icon refresh). BackgroundCommands owns those threads: at the end it gives
// the commands still running a bounded time to end, terminates the rest through the Processes port
// and joins every thread, so that no command outlives the ports it uses.
#include "app/AppContext.h"
#include "platform/ports/Processes.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <list>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

// One command and the thread that runs it.
struct CThreadCommand {
    std::wstring commandLine;
    std::thread thread;
    // The running child, while there is one; the owner may terminate it at the end.
    ports::ProcessHandle* process = nullptr;
    ports::Processes* processes = nullptr;
    bool finished = false;
};

class BackgroundCommands {
public:
    static constexpr std::chrono::milliseconds kDefaultExitWait{5000};

    // `exitWait`: how long the end waits for running commands before terminating them.
    explicit BackgroundCommands(std::chrono::milliseconds exitWait = kDefaultExitWait);
    // stop().
    ~BackgroundCommands();
    BackgroundCommands(const BackgroundCommands&) = delete;
    BackgroundCommands& operator=(const BackgroundCommands&) = delete;

    // Runs `commandLine` on a thread of this owner and returns at once: in debug mode the command
    // line is logged in black; the command starts hidden without handle inheritance or standard
    // handles, and its result is not used. False, with nothing reported, when no thread could be
    // made or the owner has stopped. `ctx` must outlive this owner.
    bool start(const app::AppContext& ctx, std::wstring_view commandLine);

    // Waits up to the exit wait for the running commands to end, terminates the children still
    // running (exit code 1), and joins every thread. Later starts are refused.
    void stop();

    // Commands whose thread has not finished yet.
    std::size_t running() const;

private:
    void run(const app::AppContext& ctx, CThreadCommand& command);
    void reapFinished(std::unique_lock<std::mutex>& lock);

    const std::chrono::milliseconds exitWait_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::list<CThreadCommand> commands_;
    bool stopping_ = false;  // no more starts
    bool graceOver_ = false; // children still running are terminated
};

// Runs `commandLine` on ctx.backgroundCommands; dropped silently when the context has none.
void StartBackgroundCommand(const app::AppContext& ctx, std::wstring_view commandLine);
