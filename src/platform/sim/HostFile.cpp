#include "platform/sim/HostFile.h"

#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace sim {

#ifdef _WIN32
HostFileLock::HostFileLock(const std::filesystem::path& lockFile) {
    HANDLE h = CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    OVERLAPPED ov{};
    locked_ = LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &ov) != FALSE;
    handle_ = reinterpret_cast<std::intptr_t>(h);
}

HostFileLock::~HostFileLock() {
    if (handle_ == -1)
        return;
    HANDLE h = reinterpret_cast<HANDLE>(handle_);
    if (locked_) {
        OVERLAPPED ov{};
        UnlockFileEx(h, 0, 1, 0, &ov);
    }
    CloseHandle(h);
}

bool replaceFileAtomically(const std::filesystem::path& target, const std::string& content) {
    std::filesystem::path tmp = target;
    tmp += L".tmp" + std::to_wstring(GetCurrentProcessId());
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!(out << content) || !out.flush())
            return false;
    }
    if (!MoveFileExW(tmp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(tmp.c_str());
        return false;
    }
    return true;
}

bool copyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                       std::error_code& ec) {
    ec.clear();
    if (CopyFileW(from.c_str(), to.c_str(), FALSE))
        return true;
    ec = std::error_code(static_cast<int>(GetLastError()), std::system_category());
    return false;
}
#else
HostFileLock::HostFileLock(const std::filesystem::path& lockFile) {
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    handle_ = fd;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    locked_ = rc == 0;
}

HostFileLock::~HostFileLock() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_)); // closing releases the lock
}

bool replaceFileAtomically(const std::filesystem::path& target, const std::string& content) {
    std::filesystem::path tmp = target;
    tmp += ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!(out << content) || !out.flush())
            return false;
    }
    std::error_code ec;
    std::filesystem::rename(tmp, target, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        return false;
    }
    return true;
}

bool copyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                       std::error_code& ec) {
    return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
}
#endif

} // namespace sim
