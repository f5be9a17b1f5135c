#pragma once
// Files on the machine's disk, addressed by Windows paths ("C:\Program Files\...") above the port.
#include "platform/ports/Status.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ports {

struct FileEntry {
    std::wstring name; // the name only, no folder
    bool directory = false;
    std::uint64_t size = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    [[nodiscard]] virtual Status readFile(std::wstring_view path,
                                          std::vector<std::uint8_t>& out) noexcept = 0;
    // Creates or replaces the file.
    [[nodiscard]] virtual Status writeFile(std::wstring_view path,
                                           std::span<const std::uint8_t> data) noexcept = 0;
    // Creates the file with `data` only when it does not exist yet (CREATE_NEW): an existing file
    // is left alone and gives ERROR_FILE_EXISTS (80).
    [[nodiscard]] virtual Status createNewFile(std::wstring_view path,
                                               std::span<const std::uint8_t> data) noexcept = 0;
    // Creates the file when missing, then appends.
    [[nodiscard]] virtual Status appendFile(std::wstring_view path,
                                            std::span<const std::uint8_t> data) noexcept = 0;
    [[nodiscard]] virtual Status copyFile(std::wstring_view from, std::wstring_view to,
                                          bool failIfExists) noexcept = 0;
    [[nodiscard]] virtual Status deleteFile(std::wstring_view path) noexcept = 0;
    // Creates every missing folder of the path; an existing folder is success.
    [[nodiscard]] virtual Status createDirectories(std::wstring_view path) noexcept = 0;
    [[nodiscard]] virtual Status removeDirectory(std::wstring_view path) noexcept = 0;
    [[nodiscard]] virtual Status listDirectory(std::wstring_view path,
                                               std::vector<FileEntry>& out) noexcept = 0;

    [[nodiscard]] virtual bool fileExists(std::wstring_view path) noexcept = 0;
    [[nodiscard]] virtual bool directoryExists(std::wstring_view path) noexcept = 0;

    // Wow64EnableWow64FsRedirection for the calling thread. A 32-bit program on 64-bit Windows
    // that names C:\Windows\System32\... reaches C:\Windows\SysWOW64\... while redirection is on
    // (the default for every thread), apart from a few exempt folders such as System32\spool;
    // switched off, it reaches the native system folder that 64-bit processes such as the spooler
    // use. Where nothing is redirected (32-bit Windows, a 64-bit process) Windows answers
    // ERROR_INVALID_FUNCTION (1); a system without the function gives winerr::ProcNotFound (not
    // available), and the caller goes on without it.
    [[nodiscard]] virtual Status enableWow64FsRedirection(bool enable) noexcept = 0;
};

} // namespace ports
