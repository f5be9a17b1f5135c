// The host files of Windows: LockFileEx, MoveFileExW, CopyFileW, CreateFileW with CREATE_NEW.
#include "platform/host/HostFile.h"

#include <fstream>

#include <windows.h>

namespace host {

FileLock::FileLock(const std::filesystem::path& lockFile, Wait wait) {
    HANDLE h = CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    handle_ = reinterpret_cast<std::intptr_t>(h);
    OVERLAPPED ov{};
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait == Wait::No ? LOCKFILE_FAIL_IMMEDIATELY : 0);
    locked_ = LockFileEx(h, flags, 0, 1, 0, &ov) != FALSE;
}

FileLock::~FileLock() {
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

ports::Status createNewFile(const std::filesystem::path& path, std::span<const std::uint8_t> data) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD written = 0;
    const BOOL ok =
        data.empty() || WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    const ports::Status st = ok ? ports::winerr::Success : GetLastError();
    CloseHandle(h);
    return st;
}

} // namespace host
