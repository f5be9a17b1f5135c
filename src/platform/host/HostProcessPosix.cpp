// The host processes and pipes of Linux: pipe(2), posix_spawn, pidfd and waitpid.
#include "platform/host/HostProcess.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/Utf.h"
#include "base/CommandLine.h"

namespace host {
namespace winerr = ports::winerr;
using ports::Status;

namespace {
constexpr std::uint32_t kForever = 0xFFFFFFFF;
} // namespace

namespace {

int fd(std::intptr_t h) {
    return static_cast<int>(h);
}

Status fromErrno(int e) {
    switch (e) {
    case ENOENT:
        return winerr::FileNotFound;
    case ENOTDIR:
        return winerr::PathNotFound;
    case EACCES:
    case EPERM:
        return winerr::AccessDenied;
    case ENOEXEC:
        return ports::winerr::BadExeFormat;
    case EPIPE:
        return winerr::BrokenPipe;
    case EMFILE:
    case ENFILE:
        return 4; // ERROR_TOO_MANY_OPEN_FILES
    default:
        return winerr::GenFailure;
    }
}

} // namespace

PipeEnd::~PipeEnd() {
    for (auto h : {handle_, wakeRead_, wakeWrite_}) {
        if (h >= 0)
            ::close(fd(h));
    }
}

Status PipeEnd::read(std::size_t maxBytes, std::vector<std::uint8_t>& out) {
    out.clear();
    for (;;) {
        if (cancelled_)
            return winerr::OperationAborted;
        pollfd fds[2] = {{fd(handle_), POLLIN, 0}, {fd(wakeRead_), POLLIN, 0}};
        ++waitingReaders_;
        const int n = ::poll(fds, wakeRead_ >= 0 ? 2 : 1, -1);
        --waitingReaders_;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fromErrno(errno);
        }
        if (cancelled_ || (wakeRead_ >= 0 && (fds[1].revents & POLLIN)))
            return winerr::OperationAborted;
        out.resize(maxBytes);
        const ssize_t got = ::read(fd(handle_), out.data(), maxBytes);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            out.clear();
            continue;
        }
        if (got <= 0) {
            out.clear();
            return winerr::BrokenPipe;
        }
        out.resize(static_cast<std::size_t>(got));
        return winerr::Success;
    }
}

Status PipeEnd::write(const std::vector<std::uint8_t>& data) {
    // A pipe without readers would raise SIGPIPE: keep it pending on this thread and drop it, so the
    // write fails with EPIPE, reported as Windows reports it: ERROR_NO_DATA.
    sigset_t pipeSet, old;
    sigemptyset(&pipeSet);
    sigaddset(&pipeSet, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSet, &old);
    Status result = winerr::Success;
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd(handle_), data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            result = fromErrno(errno);
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (result == winerr::BrokenPipe) {
        result = winerr::NoData; // what WriteFile answers when the read end is gone
        const timespec zero{0, 0};
        sigtimedwait(&pipeSet, nullptr, &zero);
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return result;
}

void PipeEnd::cancel() {
    if (cancelled_.exchange(true) || wakeWrite_ < 0)
        return;
    const char one = 1;
    [[maybe_unused]] const ssize_t n = ::write(fd(wakeWrite_), &one, 1);
}

Status createPipe(bool, std::shared_ptr<PipeEnd>& readEnd, std::shared_ptr<PipeEnd>& writeEnd) {
    // Close-on-exec always: a child gets only the end it is given as its output.
    int p[2], wake[2];
    if (::pipe2(p, O_CLOEXEC) != 0)
        return fromErrno(errno);
    if (::pipe2(wake, O_CLOEXEC) != 0) {
        const int e = errno;
        ::close(p[0]);
        ::close(p[1]);
        return fromErrno(e);
    }
    readEnd.reset(new PipeEnd(p[0], wake[0], wake[1]));
    writeEnd.reset(new PipeEnd(p[1], -1, -1));
    return winerr::Success;
}

namespace {

// A child process waited for through a pidfd: a wait with a time-out polls it, and the zombie is
// reaped under the lock, so a wait, the exit code and terminate never race for it, and no thread
// runs in the background. A child still running when its last handle goes is left to run (as closing
// a process handle on Windows does) and is reaped when this process ends.
class LinuxChild final : public Child {
public:
    explicit LinuxChild(pid_t pid) : pid_(pid), pidfd_(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0))) {}
    ~LinuxChild() override {
        std::lock_guard lock(mutex_);
        reapLocked(WNOHANG);
        if (pidfd_ >= 0)
            ::close(pidfd_);
    }
    LinuxChild(const LinuxChild&) = delete;
    LinuxChild& operator=(const LinuxChild&) = delete;

    Status wait(std::uint32_t timeoutMs) noexcept override {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            {
                std::lock_guard lock(mutex_);
                if (reapLocked(WNOHANG))
                    return winerr::Success;
            }
            int waitMs = -1;
            if (timeoutMs != kForever) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now());
                if (left.count() <= 0)
                    return winerr::WaitTimeout;
                waitMs = static_cast<int>(std::min<long long>(left.count(), 1 << 30));
            }
            if (pidfd_ >= 0) {
                pollfd p{pidfd_, POLLIN, 0};
                if (::poll(&p, 1, waitMs) < 0 && errno != EINTR)
                    return fromErrno(errno);
            } else {
                // No pidfd (an old kernel): look again shortly.
                ::poll(nullptr, 0, waitMs < 0 ? 10 : std::min(waitMs, 10));
            }
        }
    }
    Status exitCode(std::uint32_t& out) noexcept override {
        std::lock_guard lock(mutex_);
        out = reapLocked(WNOHANG) ? code_ : ports::winerr::StillActive;
        return winerr::Success;
    }
    Status terminate(std::uint32_t code) noexcept override {
        std::lock_guard lock(mutex_);
        if (reapLocked(WNOHANG))
            return winerr::AccessDenied; // as TerminateProcess on a process that has ended
        terminatedWith_ = code;
        // The whole group: a program run through a shell ends with the commands it started, as
        // one Windows process would, instead of leaving them running without a parent.
        if (::kill(-pid_, SIGKILL) == 0)
            return winerr::Success;
        return ::kill(pid_, SIGKILL) == 0 ? winerr::Success : fromErrno(errno);
    }

private:
    // True once the child has ended and its exit code is known. Call under the lock.
    bool reapLocked(int options) noexcept {
        if (done_)
            return true;
        int status = 0;
        pid_t r;
        do {
            r = ::waitpid(pid_, &status, options);
        } while (r < 0 && errno == EINTR);
        if (r == 0)
            return false;
        if (r == pid_ && WIFEXITED(status))
            code_ = static_cast<std::uint32_t>(WEXITSTATUS(status));
        else if (r == pid_ && WIFSIGNALED(status))
            code_ = terminatedWith_.value_or(128u + static_cast<std::uint32_t>(WTERMSIG(status)));
        else
            code_ = 1;
        done_ = true;
        return true;
    }

    pid_t pid_;
    int pidfd_;
    std::mutex mutex_;
    bool done_ = false;
    std::uint32_t code_ = ports::winerr::StillActive;
    std::optional<std::uint32_t> terminatedWith_;
};

struct SavedOutput {
    std::mutex mutex;
    int saved = -1;
};
SavedOutput& savedOutput() {
    static SavedOutput s;
    return s;
}

} // namespace

Status spawn(const SpawnInfo& info, std::unique_ptr<Child>& out) {
    const std::string program = info.program.string();
    std::vector<std::string> args = {program};
    for (const auto& a : info.arguments)
        args.push_back(text::toUtf8(a));
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (info.output) {
        posix_spawn_file_actions_adddup2(&actions, fd(info.output->native()), 1);
        posix_spawn_file_actions_adddup2(&actions, fd(info.output->native()), 2);
    } else if (!info.inheritStdHandles) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    const std::string cwd = info.workingDirectory.string();
    if (!cwd.empty())
        posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setpgroup(&attr, 0); // a group of its own, for terminate()
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    pid_t pid = 0;
    const int rc = ::posix_spawn(&pid, program.c_str(), &actions, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return fromErrno(rc);
    out = std::make_unique<LinuxChild>(pid);
    return winerr::Success;
}

Status redirectStdOutput(const PipeEnd& writeEnd) {
    auto& s = savedOutput();
    std::lock_guard lock(s.mutex);
    std::fflush(stdout);
    if (s.saved < 0) {
        s.saved = ::fcntl(1, F_DUPFD_CLOEXEC, 3);
        if (s.saved < 0)
            return fromErrno(errno);
    }
    return ::dup2(fd(writeEnd.native()), 1) < 0 ? fromErrno(errno) : winerr::Success;
}

Status restoreStdOutput() {
    auto& s = savedOutput();
    std::lock_guard lock(s.mutex);
    if (s.saved < 0)
        return winerr::Success;
    std::fflush(stdout);
    const int rc = ::dup2(s.saved, 1);
    ::close(s.saved);
    s.saved = -1;
    return rc < 0 ? fromErrno(errno) : winerr::Success;
}

std::filesystem::path executablePath() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec);
}

} // namespace host
