#include "platform/sim/SimNamedMutex.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace sim {

#ifdef _WIN32
SimNamedMutex::SimNamedMutex(const std::filesystem::path& lockFile) {
    HANDLE h = CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    handle_ = reinterpret_cast<std::intptr_t>(h);
    OVERLAPPED ov{};
    owned_ = LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &ov) != FALSE;
}

SimNamedMutex::~SimNamedMutex() {
    if (handle_ == -1)
        return;
    HANDLE h = reinterpret_cast<HANDLE>(handle_);
    if (owned_) {
        OVERLAPPED ov{};
        UnlockFileEx(h, 0, 1, 0, &ov);
    }
    CloseHandle(h);
}
#else
SimNamedMutex::SimNamedMutex(const std::filesystem::path& lockFile) {
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    handle_ = fd;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    owned_ = rc == 0;
}

SimNamedMutex::~SimNamedMutex() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_)); // closing releases the lock
}
#endif

} // namespace sim
