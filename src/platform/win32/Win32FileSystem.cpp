#include "platform/win32/Win32FileSystem.h"

#include "platform/win32/EntryPoints.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/SizedBuffer.h"
#include "platform/win32/UniqueHandle.h"

namespace win32 {
using ports::Status;

namespace {

// Exported by kernel32 since Windows XP x64 and Vista, not by the 32-bit XP systems the wizard also
// runs on: looked up, never imported.
using Wow64EnableWow64FsRedirectionFn = BOOLEAN(WINAPI*)(BOOLEAN);

Status writeAll(HANDLE h, std::span<const std::uint8_t> data) {
    size_t done = 0;
    while (done < data.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(h, data.data() + done, chunk, &written, nullptr))
            return GetLastError();
        done += written;
    }
    return ports::winerr::Success;
}

Status openAndWrite(std::wstring_view path, std::span<const std::uint8_t> data, DWORD access,
                    DWORD creation) {
    UniqueFile f(CreateFileW(extendedPath(path).c_str(), access, FILE_SHARE_READ, nullptr, creation,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f)
        return GetLastError();
    return writeAll(f.get(), data);
}

DWORD attributes(std::wstring_view path) {
    return GetFileAttributesW(extendedPath(path).c_str());
}

} // namespace

Status Win32FileSystem::readFile(std::wstring_view path, std::vector<std::uint8_t>& out) noexcept {
    out.clear();
    UniqueFile f(CreateFileW(extendedPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f)
        return GetLastError();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.get(), &size))
        return GetLastError();
    out.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < out.size()) {
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(out.size() - done, 1u << 20));
        if (!ReadFile(f.get(), out.data() + done, chunk, &got, nullptr))
            return GetLastError();
        if (got == 0)
            break;
        done += got;
    }
    out.resize(done);
    return ports::winerr::Success;
}

Status Win32FileSystem::writeFile(std::wstring_view path, std::span<const std::uint8_t> data) noexcept {
    return openAndWrite(path, data, GENERIC_WRITE, CREATE_ALWAYS);
}

Status Win32FileSystem::createNewFile(std::wstring_view path, std::span<const std::uint8_t> data) noexcept {
    return openAndWrite(path, data, GENERIC_WRITE, CREATE_NEW);
}

Status Win32FileSystem::appendFile(std::wstring_view path, std::span<const std::uint8_t> data) noexcept {
    return openAndWrite(path, data, FILE_APPEND_DATA, OPEN_ALWAYS);
}

Status Win32FileSystem::copyFile(std::wstring_view from, std::wstring_view to, bool failIfExists) noexcept {
    if (!CopyFileW(extendedPath(from).c_str(), extendedPath(to).c_str(), failIfExists ? TRUE : FALSE))
        return GetLastError();
    return ports::winerr::Success;
}

Status Win32FileSystem::deleteFile(std::wstring_view path) noexcept {
    return DeleteFileW(extendedPath(path).c_str()) ? ports::winerr::Success : GetLastError();
}

Status Win32FileSystem::createDirectories(std::wstring_view path) noexcept {
    std::wstring p(path);
    while (p.size() > 3 && (p.back() == L'\\' || p.back() == L'/'))
        p.pop_back();
    const DWORD a = attributes(p);
    if (a != INVALID_FILE_ATTRIBUTES)
        return (a & FILE_ATTRIBUTE_DIRECTORY) ? ports::winerr::Success : ports::winerr::AlreadyExists;
    const size_t cut = p.find_last_of(L"\\/");
    if (cut != std::wstring::npos && cut > 2) {
        if (Status s = createDirectories(std::wstring_view(p).substr(0, cut)))
            return s;
    }
    if (!CreateDirectoryW(extendedPath(p).c_str(), nullptr)) {
        const DWORD e = GetLastError();
        return e == ERROR_ALREADY_EXISTS ? ports::winerr::Success : e;
    }
    return ports::winerr::Success;
}

Status Win32FileSystem::removeDirectory(std::wstring_view path) noexcept {
    return RemoveDirectoryW(extendedPath(path).c_str()) ? ports::winerr::Success : GetLastError();
}

Status Win32FileSystem::listDirectory(std::wstring_view path, std::vector<ports::FileEntry>& out) noexcept {
    out.clear();
    std::wstring pattern(path);
    if (!pattern.empty() && pattern.back() != L'\\')
        pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data{};
    UniqueFind find(FindFirstFileW(extendedPath(pattern).c_str(), &data));
    if (!find)
        return GetLastError();
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        ports::FileEntry e;
        e.name = name;
        e.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        e.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        out.push_back(std::move(e));
    } while (FindNextFileW(find.get(), &data));
    const DWORD e = GetLastError();
    return e == ERROR_NO_MORE_FILES ? ports::winerr::Success : e;
}

bool Win32FileSystem::fileExists(std::wstring_view path) noexcept {
    const DWORD a = attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::directoryExists(std::wstring_view path) noexcept {
    const DWORD a = attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

Status Win32FileSystem::enableWow64FsRedirection(bool enable) noexcept {
    const auto fn = entryPoint<Wow64EnableWow64FsRedirectionFn>(GetModuleHandleW(L"kernel32.dll"),
                                                                "Wow64EnableWow64FsRedirection");
    if (!fn)
        return ports::winerr::ProcNotFound;
    return fn(enable ? TRUE : FALSE) ? ports::winerr::Success : lastError();
}

} // namespace win32
