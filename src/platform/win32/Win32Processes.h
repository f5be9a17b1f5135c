#pragma once
// Child processes and anonymous pipes of this machine.
#include "platform/ports/Processes.h"
#include "platform/win32/HandleTable.h"
#include "platform/win32/UniqueHandle.h"

#include <windows.h>

#include <mutex>

namespace win32 {

class Win32Processes final : public ports::Processes, public ports::HandleCloser {
public:
    ports::Status start(const ports::ProcessStartInfo& info, ports::ProcessHandle& out) noexcept override;
    ports::Status wait(ports::ProcessHandle& process, std::uint32_t timeoutMs) noexcept override;
    ports::Status exitCode(ports::ProcessHandle& process, std::uint32_t& out) noexcept override;
    ports::Status terminate(ports::ProcessHandle& process, std::uint32_t exitCode) noexcept override;
    ports::Status createPipe(bool inheritable, ports::PipeHandle& readEnd,
                             ports::PipeHandle& writeEnd) noexcept override;
    ports::Status readPipe(ports::PipeHandle& readEnd, std::size_t maxBytes,
                           std::vector<std::uint8_t>& out) noexcept override;
    ports::Status writePipe(ports::PipeHandle& writeEnd,
                            const std::vector<std::uint8_t>& data) noexcept override;
    ports::Status redirectStdOutput(const ports::PipeHandle& writeEnd) noexcept override;
    ports::Status restoreStdOutput() noexcept override;

    void closeHandle(std::uint64_t id) noexcept override { handles_.close(id); }

private:
    // Processes and pipe ends are both kernel handles closed by CloseHandle.
    template <typename Tag> HANDLE handleOf(const ports::Handle<Tag>& h) {
        UniqueKernelHandle* k = handles_.find(*this, h);
        return k ? k->get() : nullptr;
    }
    HandleTable<UniqueKernelHandle> handles_;

    std::mutex stdMutex_;
    bool redirected_ = false;
    HANDLE savedStdOutput_ = nullptr; // not owned: the process's own standard output
};

} // namespace win32
