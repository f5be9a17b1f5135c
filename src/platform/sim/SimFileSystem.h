#pragma once
// Files of the simulated machine: its drives are folders on the host disk (see SimMachine::hostPath).
// Failures carry the codes Windows gives; the operations named "ReadFile", "WriteFile", "CopyFile",
// "DeleteFile", "CreateDirectory", "RemoveDirectory" and "Wow64EnableWow64FsRedirection" can be
// made to fail by fault injection.
//
// The file calls of a 32-bit program on a 64-bit machine ("system.architecture" other than "x86")
// go through WOW64 redirection (see SimWow64Redirection.h), per thread, as on Windows. The
// redirection function is missing when "system.missingEntryPoints" names it.
#include "platform/ports/FileSystem.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimWow64Redirection.h"

namespace sim {

// The program whose file calls these are. The wizard is a 32-bit x86 program; the simulated
// device-console tool stands for the build that matches the machine, which nothing redirects.
enum class SimProgram { Native, X86 };

class SimFileSystem final : public ports::FileSystem {
public:
    explicit SimFileSystem(SimMachine& machine, SimProgram program = SimProgram::Native)
        : machine_(machine), program_(program) {}

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

private:
    // The host path of `path` as this program, on this thread, reaches it.
    std::filesystem::path hostPath(std::wstring_view path);
    ports::Status fault(const char* operation);
    enum class Mode { Replace, Append, CreateNew };
    ports::Status write(std::wstring_view path, std::span<const std::uint8_t> data, Mode mode);

    SimMachine& machine_;
    SimProgram program_;
    ThreadRedirection redirection_;
};

} // namespace sim
