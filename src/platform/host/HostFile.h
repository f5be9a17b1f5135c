#pragma once
// The host-file operations the simulated machine needs from the real system: a lock shared by every
// process that opens the same file, creating a file only when it does not exist, and replacing a
// file in one step. One source file per host system (HostFilePosix.cpp, HostFileWin32.cpp).
#include "platform/ports/Status.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <system_error>

namespace host {

// Holds an exclusive lock on a lock file (created when missing) for its lifetime: flock on Linux,
// LockFileEx on Windows. The host releases it when its holder ends, however it ends.
class FileLock {
public:
    enum class Wait { UntilLocked, No };
    explicit FileLock(const std::filesystem::path& lockFile, Wait wait = Wait::UntilLocked);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // False when the lock file could not be opened at all.
    bool opened() const { return handle_ != -1; }
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

// Creates `path` with `data` only when it does not exist, in one step (CREATE_NEW, O_EXCL), so that
// two writers never both believe they made the file. ERROR_FILE_EXISTS when it existed.
ports::Status createNewFile(const std::filesystem::path& path, std::span<const std::uint8_t> data);

} // namespace host
