#pragma once
// The two host-file operations the simulated machine needs from the real system: a lock shared by
// every process that opens the same state file, and replacing a file in one step.
#include <filesystem>
#include <cstdint>
#include <string>
#include <system_error>

namespace sim {

// Holds an exclusive lock on a lock file for its lifetime (flock on Linux, LockFileEx on Windows).
class HostFileLock {
public:
    explicit HostFileLock(const std::filesystem::path& lockFile);
    ~HostFileLock();
    HostFileLock(const HostFileLock&) = delete;
    HostFileLock& operator=(const HostFileLock&) = delete;
    bool locked() const { return locked_; }

private:
    std::intptr_t handle_ = -1;
    bool locked_ = false;
};

// Writes `content` to a temporary file beside `target`, then renames it over `target`, so that a
// reader sees either the old or the new state, never half a file. False on any failure.
bool replaceFileAtomically(const std::filesystem::path& target, const std::string& content);

// Copies a file over an existing one (CopyFileW on Windows, where the C++ library's copy_file with
// overwrite_existing fails on an existing target). False on failure, with `ec` set.
bool copyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                       std::error_code& ec);

} // namespace sim
