#pragma once
// Files on the real disk, through the wide Win32 file functions with long-path prefixes.
#include "platform/ports/FileSystem.h"

namespace win32 {

class Win32FileSystem final : public ports::FileSystem {
public:
    ports::Status readFile(std::wstring_view path, std::vector<std::uint8_t>& out) override;
    ports::Status writeFile(std::wstring_view path, std::span<const std::uint8_t> data) override;
    ports::Status createNewFile(std::wstring_view path, std::span<const std::uint8_t> data) override;
    ports::Status appendFile(std::wstring_view path, std::span<const std::uint8_t> data) override;
    ports::Status copyFile(std::wstring_view from, std::wstring_view to, bool failIfExists) override;
    ports::Status deleteFile(std::wstring_view path) override;
    ports::Status createDirectories(std::wstring_view path) override;
    ports::Status removeDirectory(std::wstring_view path) override;
    ports::Status listDirectory(std::wstring_view path, std::vector<ports::FileEntry>& out) override;
    bool fileExists(std::wstring_view path) override;
    bool directoryExists(std::wstring_view path) override;
    ports::Status enableWow64FsRedirection(bool enable) override;
};

} // namespace win32
