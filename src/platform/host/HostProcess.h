#pragma once
// What the simulated Processes port needs from the real system: child processes, anonymous pipes
// and the standard output of this process (pipe(2), posix_spawn and waitpid on Linux; CreatePipe,
// CreateProcessW and SetStdHandle on Windows). Results are Windows error codes.
#include "platform/ports/Status.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace host {

// One end of an anonymous pipe; the end closes when the last holder lets it go.
class PipeEnd {
public:
    ~PipeEnd();
    PipeEnd(const PipeEnd&) = delete;
    PipeEnd& operator=(const PipeEnd&) = delete;

    // One read of at most `maxBytes`: blocks until data comes; winerr::BrokenPipe once every write
    // end is closed and the pipe is drained; winerr::OperationAborted after cancel().
    ports::Status read(std::size_t maxBytes, std::vector<std::uint8_t>& out);
    ports::Status write(const std::vector<std::uint8_t>& data);
    // Ends a read blocked on this end from another thread and any later one (the handle was closed).
    // The end itself stays open until its last holder lets it go, so a read never meets a closed or
    // reused handle.
    void cancel();
    std::intptr_t native() const { return handle_; }
    // How many reads are waiting for data now (for tests: a read is known to block before the test
    // cancels it).
    int waitingReaders() const { return waitingReaders_; }

private:
    friend ports::Status createPipe(bool, std::shared_ptr<PipeEnd>&, std::shared_ptr<PipeEnd>&);
    explicit PipeEnd(std::intptr_t handle, std::intptr_t wakeRead, std::intptr_t wakeWrite)
        : handle_(handle), wakeRead_(wakeRead), wakeWrite_(wakeWrite) {}
    std::intptr_t handle_;
    // What wakes a blocked read: a self-pipe on Linux; on Windows wakeRead_ is an event (the read
    // end is overlapped) and wakeWrite_ unused.
    std::intptr_t wakeRead_, wakeWrite_;
    std::atomic<bool> cancelled_{false};
    std::atomic<int> waitingReaders_{0};
};

ports::Status createPipe(bool inheritable, std::shared_ptr<PipeEnd>& readEnd,
                         std::shared_ptr<PipeEnd>& writeEnd);

// A started child process.
class Child {
public:
    virtual ~Child() = default;
    // Success once it ended, winerr::WaitTimeout when it still runs after `timeoutMs`
    // (0xFFFFFFFF waits for ever).
    virtual ports::Status wait(std::uint32_t timeoutMs) = 0;
    // 259 (STILL_ACTIVE) while it runs.
    virtual ports::Status exitCode(std::uint32_t& out) = 0;
    virtual ports::Status terminate(std::uint32_t exitCode) = 0;
};

struct SpawnInfo {
    std::filesystem::path program;
    std::vector<std::wstring> arguments;    // after the program name
    std::filesystem::path workingDirectory; // empty: this process's
    const PipeEnd* output = nullptr;        // standard output and error; none: inherit or discard
    bool inheritStdHandles = false;         // without `output`: keep this process's standard handles
};
ports::Status spawn(const SpawnInfo& info, std::unique_ptr<Child>& out);

// Points this process's standard output at `writeEnd`, keeping the previous one for restore.
ports::Status redirectStdOutput(const PipeEnd& writeEnd);
ports::Status restoreStdOutput();

// The running executable's own path.
std::filesystem::path executablePath();

} // namespace host
