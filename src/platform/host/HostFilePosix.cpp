// The host files of Linux: flock, rename(2), O_EXCL.
#include "platform/host/HostFile.h"

#include <cerrno>
#include <fstream>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace host {

FileLock::FileLock(const std::filesystem::path& lockFile, Wait wait) {
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    handle_ = fd;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | (wait == Wait::No ? LOCK_NB : 0));
    } while (rc != 0 && errno == EINTR);
    locked_ = rc == 0;
}

FileLock::~FileLock() {
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

ports::Status createNewFile(const std::filesystem::path& path, std::span<const std::uint8_t> data) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno == EEXIST ? ports::winerr::FileExists : ports::winerr::AccessDenied;
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return done == data.size() ? ports::winerr::Success : ports::winerr::AccessDenied;
}

} // namespace host
