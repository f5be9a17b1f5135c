#pragma once
// A Processes port over the host's own processes (posix_spawn and pipes), for tests that need real
// children, real pipe buffers and real exit codes. The command line is read the Windows way: the
// program is the first token (a quoted one ends at its closing quote), with "\" taken as "/", so
// that a tool path built as "<folder>Drivers\devcon32.exe" names a host file; the arguments are
// split at blanks outside double quotes as the C runtime splits them. The process's own standard output is
// never redirected (the test's output stays where it is); the request is only recorded.
#include "platform/ports/Processes.h"

#include <cerrno>
#include <map>
#include <mutex>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <fcntl.h>
#include <vector>

#include "base/Utf.h"

extern char** environ;

namespace engine_test {

class HostProcesses final : public ports::Processes, public ports::HandleCloser {
public:
    // "NAME=value" entries added to each child's environment.
    std::vector<std::string> extraEnvironment;

    ~HostProcesses() {
        for (auto& [id, h] : handles_)
            release(h);
    }

    ports::Status start(const ports::ProcessStartInfo& info, ports::ProcessHandle& out) noexcept override {
        const std::string line = text::toUtf8(info.commandLine);
        std::vector<std::string> args = split(line);
        if (args.empty())
            return ports::winerr::InvalidParameter;
        // As CreateProcessW: a quoted program name ends at its closing quote. The child's own
        // argument parsing (the C runtime's) still glues what follows that quote up to the next
        // blank to its first argument, so "\"...\devcon32.exe\"/r remove" reaches it as "remove".
        if (line.starts_with('"'))
            args[0] = line.substr(1, line.find('"', 1) - 1);
        for (auto& c : args[0])
            if (c == '\\')
                c = '/';
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> envStrings;
        for (char** e = environ; *e; ++e)
            envStrings.emplace_back(*e);
        envStrings.insert(envStrings.end(), extraEnvironment.begin(), extraEnvironment.end());
        std::vector<char*> envp;
        for (auto& e : envStrings)
            envp.push_back(e.data());
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (info.output) {
            const int fd = fdOf(*info.output);
            if (fd < 0) {
                posix_spawn_file_actions_destroy(&actions);
                return ports::winerr::InvalidHandle;
            }
            posix_spawn_file_actions_adddup2(&actions, fd, 1);
            posix_spawn_file_actions_adddup2(&actions, fd, 2);
        }
        pid_t pid = 0;
        const int err = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (err != 0)
            return err == ENOENT   ? ports::winerr::FileNotFound
                   : err == EACCES ? ports::winerr::AccessDenied
                                   : ports::winerr::GenFailure;
        std::lock_guard lock(mutex_);
        handles_[next_] = {Kind::Process, -1, pid, false, 0};
        out = ports::ProcessHandle(*this, next_++);
        return ports::winerr::Success;
    }

    ports::Status wait(ports::ProcessHandle& process, std::uint32_t) noexcept override {
        pid_t pid = 0;
        {
            std::lock_guard lock(mutex_);
            auto it = handles_.find(process.id());
            if (it == handles_.end() || it->second.kind != Kind::Process)
                return ports::winerr::InvalidHandle;
            if (it->second.exited)
                return ports::winerr::Success;
            pid = it->second.pid;
        }
        int status = 0;
        while (waitpid(pid, &status, 0) < 0)
            if (errno != EINTR)
                return ports::winerr::GenFailure;
        std::lock_guard lock(mutex_);
        auto& h = handles_[process.id()];
        h.exited = true;
        h.code = WIFEXITED(status) ? static_cast<std::uint32_t>(WEXITSTATUS(status)) : 0xC0000005u;
        return ports::winerr::Success;
    }

    ports::Status exitCode(ports::ProcessHandle& process, std::uint32_t& out) noexcept override {
        std::lock_guard lock(mutex_);
        auto it = handles_.find(process.id());
        if (it == handles_.end() || it->second.kind != Kind::Process)
            return ports::winerr::InvalidHandle;
        out = it->second.exited ? it->second.code : 259;
        return ports::winerr::Success;
    }

    ports::Status terminate(ports::ProcessHandle&, std::uint32_t) noexcept override {
        return ports::winerr::CallNotImplemented;
    }

    ports::Status createPipe(bool, ports::PipeHandle& readEnd,
                             ports::PipeHandle& writeEnd) noexcept override {
        int fds[2];
        // Close-on-exec: a child gets the write end only as its standard output and error.
        if (pipe2(fds, O_CLOEXEC) != 0)
            return ports::winerr::GenFailure;
        std::lock_guard lock(mutex_);
        handles_[next_] = {Kind::Pipe, fds[0], 0, false, 0};
        readEnd = ports::PipeHandle(*this, next_++);
        handles_[next_] = {Kind::Pipe, fds[1], 0, false, 0};
        writeEnd = ports::PipeHandle(*this, next_++);
        return ports::winerr::Success;
    }

    ports::Status readPipe(ports::PipeHandle& readEnd, std::size_t maxBytes,
                           std::vector<std::uint8_t>& out) noexcept override {
        const int fd = fdOf(readEnd);
        if (fd < 0)
            return ports::winerr::InvalidHandle;
        out.resize(maxBytes);
        ssize_t n;
        while ((n = read(fd, out.data(), maxBytes)) < 0 && errno == EINTR) {
        }
        out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        return n > 0 ? ports::winerr::Success : ports::winerr::BrokenPipe;
    }

    ports::Status writePipe(ports::PipeHandle& writeEnd,
                            const std::vector<std::uint8_t>& data) noexcept override {
        const int fd = fdOf(writeEnd);
        if (fd < 0)
            return ports::winerr::InvalidHandle;
        std::size_t done = 0;
        while (done < data.size()) {
            const ssize_t n = write(fd, data.data() + done, data.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return ports::winerr::BrokenPipe;
            done += static_cast<std::size_t>(n);
        }
        return ports::winerr::Success;
    }

    ports::Status redirectStdOutput(const ports::PipeHandle&) noexcept override {
        return ports::winerr::Success;
    }
    ports::Status restoreStdOutput() noexcept override { return ports::winerr::Success; }

    void closeHandle(std::uint64_t id) noexcept override {
        Handle h;
        {
            std::lock_guard lock(mutex_);
            auto it = handles_.find(id);
            if (it == handles_.end())
                return;
            h = it->second;
            handles_.erase(it);
        }
        release(h);
    }

private:
    enum class Kind { Process, Pipe };
    struct Handle {
        Kind kind = Kind::Pipe;
        int fd = -1;
        pid_t pid = 0;
        bool exited = false;
        std::uint32_t code = 0;
    };

    static void release(const Handle& h) {
        if (h.fd >= 0)
            close(h.fd);
        if (h.kind == Kind::Process && !h.exited) {
            int status = 0;
            waitpid(h.pid, &status, 0); // no zombies
        }
    }

    template <typename H> int fdOf(const H& handle) {
        std::lock_guard lock(mutex_);
        auto it = handles_.find(handle.id());
        return it == handles_.end() || it->second.kind != Kind::Pipe ? -1 : it->second.fd;
    }

    // Blanks separate arguments except inside double quotes; \" is a literal quote.
    static std::vector<std::string> split(const std::string& line) {
        std::vector<std::string> out;
        std::string current;
        bool quoted = false, any = false;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '\\' && i + 1 < line.size() && line[i + 1] == '"') {
                current += '"';
                ++i;
                any = true;
            } else if (c == '"') {
                quoted = !quoted;
                any = true;
            } else if ((c == ' ' || c == '\t') && !quoted) {
                if (any)
                    out.push_back(current);
                current.clear();
                any = false;
            } else {
                current += c;
                any = true;
            }
        }
        if (any)
            out.push_back(current);
        return out;
    }

    std::mutex mutex_;
    std::map<std::uint64_t, Handle> handles_;
    std::uint64_t next_ = 1;
};

} // namespace engine_test
