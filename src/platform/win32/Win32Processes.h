#pragma once
// Child processes and anonymous pipes of this machine.
#include "platform/ports/Processes.h"
#include "platform/common/HandleTable.h"
#include "platform/win32/HeldHandle.h"
#include "platform/win32/UniqueHandle.h"

#include <windows.h>

#include <atomic>
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

    // Closing a pipe's read end wakes a read blocked on it (it answers ERROR_OPERATION_ABORTED).
    void closeHandle(std::uint64_t id) noexcept override;

    // Whether a read on this end is waiting in the system for data: lets a test know that a reader
    // is really blocked before it closes the end under it.
    [[nodiscard]] bool readPending(const ports::PipeHandle& readEnd) const noexcept;

private:
    // A process or a pipe end, all kernel handles closed by CloseHandle. A read end is the server
    // end of a named pipe opened for overlapped reads (an anonymous pipe cannot do them), so a read
    // waits on both its data and `closed`, the event that closing the port handle sets.
    struct KernelObject {
        using Type = HANDLE;
        UniqueKernelHandle handle;
        UniqueKernelHandle closed; // manual-reset event; read ends only
        std::atomic<int> pendingReads{0};

        explicit KernelObject(UniqueKernelHandle h, UniqueKernelHandle c = {}) noexcept
            : handle(std::move(h)), closed(std::move(c)) {}
        KernelObject(KernelObject&& o) noexcept : handle(std::move(o.handle)), closed(std::move(o.closed)) {}
        HANDLE get() const noexcept { return handle.get(); }
    };
    template <typename Tag> HeldHandle<KernelObject> handleOf(const ports::Handle<Tag>& h) const noexcept {
        return HeldHandle<KernelObject>(handles_.find(h, this));
    }
    platform::HandleTable<KernelObject> handles_;

    std::mutex stdMutex_;
    bool redirected_ = false;
    HANDLE savedStdOutput_ = nullptr; // not owned: the process's own standard output
};

} // namespace win32
