#pragma once
// Files of the simulated machine: its drives are folders on the host disk (see SimMachine::hostPath).
// Failures carry the codes Windows gives; the operations named "ReadFile", "WriteFile", "CopyFile",
// "DeleteFile", "CreateDirectory", "RemoveDirectory" can be made to fail by fault injection.
#include "platform/ports/FileSystem.h"
#include "platform/sim/SimMachine.h"

namespace sim {

class SimFileSystem final : public ports::FileSystem {
public:
    explicit SimFileSystem(SimMachine& machine) : machine_(machine) {}

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

private:
    ports::Status fault(const char* operation);
    enum class Mode { Replace, Append, CreateNew };
    ports::Status write(std::wstring_view path, std::span<const std::uint8_t> data, Mode mode);

    SimMachine& machine_;
};

} // namespace sim
