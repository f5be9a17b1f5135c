#pragma once
// Files on the real disk, through the wide Win32 file functions with long-path prefixes.
#include "platform/ports/FileSystem.h"

namespace win32 {

class Win32FileSystem final : public ports::FileSystem {
public:
    ports::Status readFile(std::wstring_view path, std::vector<std::uint8_t>& out) noexcept override;
    ports::Status writeFile(std::wstring_view path, std::span<const std::uint8_t> data) noexcept override;
    ports::Status createNewFile(std::wstring_view path, std::span<const std::uint8_t> data) noexcept override;
    ports::Status appendFile(std::wstring_view path, std::span<const std::uint8_t> data) noexcept override;
    ports::Status copyFile(std::wstring_view from, std::wstring_view to, bool failIfExists) noexcept override;
    ports::Status deleteFile(std::wstring_view path) noexcept override;
    ports::Status createDirectories(std::wstring_view path) noexcept override;
    ports::Status removeDirectory(std::wstring_view path) noexcept override;
    ports::Status listDirectory(std::wstring_view path, std::vector<ports::FileEntry>& out) noexcept override;
    bool fileExists(std::wstring_view path) noexcept override;
    bool directoryExists(std::wstring_view path) noexcept override;
    ports::Status enableWow64FsRedirection(bool enable) noexcept override;
};

} // namespace win32
