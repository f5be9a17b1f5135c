#include "engine/BackgroundCommands.h"

#include "app/msglog/MessageLog.h"

#include <algorithm>
#include <cstdint>
#include <system_error>
#include <vector>

namespace winerr = ports::winerr;

namespace {
// The exit code of a command ended at the program's end.
constexpr std::uint32_t kTerminatedExitCode = 1;
} // namespace

BackgroundCommands::BackgroundCommands(std::chrono::milliseconds exitWait) : exitWait_(exitWait) {}

BackgroundCommands::~BackgroundCommands() {
    stop();
}

bool BackgroundCommands::start(const app::AppContext& ctx, std::wstring_view commandLine) {
    std::unique_lock lock(mutex_);
    if (stopping_)
        return false;
    reapFinished(lock);
    if (stopping_) // the end came while finished threads were joined
        return false;
    CThreadCommand& command = commands_.emplace_back();
    command.commandLine = commandLine;
    try {
        command.thread = std::thread([this, &ctx, &command] { run(ctx, command); });
    } catch (const std::system_error&) {
        commands_.pop_back(); // like a command that cannot be started: nobody is told
        return false;
    }
    return true;
}

// The thread does not initialise COM: starting a process and waiting for it do not need it.
void BackgroundCommands::run(const app::AppContext& ctx, CThreadCommand& command) {
    ports::Processes& processes = ctx.platform.processes();
    ports::ProcessStartInfo info;
    info.commandLine = command.commandLine;
    info.hidden = true;
    info.inheritHandles = false;
    if (ctx.debug())
        PostLogMessage(info.commandLine, msglog::kBlack);

    ports::ProcessHandle process;
    if (processes.start(info, process) == winerr::Success) {
        {
            std::lock_guard lock(mutex_);
            command.processes = &processes;
            command.process = &process;
            // The end's wait ran out while this child was starting.
            if (graceOver_)
                (void)processes.terminate(process, kTerminatedExitCode);
        }
        (void)processes.wait(process, ports::kInfinite);
        std::uint32_t ignored = 0;
        (void)processes.exitCode(process, ignored);
    }
    // The handle is closed only once the owner can no longer reach it.
    {
        std::lock_guard lock(mutex_);
        command.process = nullptr;
        command.finished = true;
    }
    changed_.notify_all();
    process.reset();
}

void BackgroundCommands::reapFinished(std::unique_lock<std::mutex>& lock) {
    std::list<CThreadCommand> done;
    for (auto it = commands_.begin(); it != commands_.end();) {
        auto next = std::next(it);
        if (it->finished)
            done.splice(done.end(), commands_, it);
        it = next;
    }
    lock.unlock();
    for (auto& command : done)
        if (command.thread.joinable())
            command.thread.join(); // finished: the thread is at its end
    lock.lock();
}

void BackgroundCommands::stop() {
    std::unique_lock lock(mutex_);
    stopping_ = true;
    const bool allEnded = changed_.wait_for(lock, exitWait_, [&] {
        return std::all_of(commands_.begin(), commands_.end(), [](const auto& c) { return c.finished; });
    });
    if (!allEnded) {
        graceOver_ = true;
        // A thread waiting on its child cannot close the handle while the lock is held.
        for (auto& command : commands_)
            if (command.process)
                (void)command.processes->terminate(*command.process, kTerminatedExitCode);
    }
    std::vector<std::thread> threads;
    for (auto& command : commands_)
        threads.push_back(std::move(command.thread));
    lock.unlock();
    for (auto& thread : threads)
        if (thread.joinable())
            thread.join();
    lock.lock();
    commands_.clear();
}

std::size_t BackgroundCommands::running() const {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(
        std::count_if(commands_.begin(), commands_.end(), [](const auto& c) { return !c.finished; }));
}

void StartBackgroundCommand(const app::AppContext& ctx, std::wstring_view commandLine) {
    if (ctx.backgroundCommands)
        (void)ctx.backgroundCommands->start(ctx, commandLine);
}
