#pragma once
// Child processes and anonymous pipes (CreateProcessW, CreatePipe, SetStdHandle...), one level up.
// A child's standard output and error can go into a pipe; this process's own standard output can be
// redirected into a pipe as well, so that a reader thread sees what children inheriting it write.
#include "platform/ports/Handle.h"
#include "platform/ports/Status.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ports {

// A started child (its process handle; the thread handle is closed by the port at once).
using ProcessHandle = Handle<struct ProcessHandleTag>;
// One end of an anonymous pipe.
using PipeHandle = Handle<struct PipeHandleTag>;

inline constexpr std::uint32_t kInfinite = 0xFFFFFFFF;

struct ProcessStartInfo {
    std::wstring commandLine;      // passed as is: quoting is the caller's
    std::wstring workingDirectory; // "" for the current folder
    bool hidden = true;            // STARTF_USESHOWWINDOW with SW_HIDE
    bool inheritHandles = false;
    // When set (STARTF_USESTDHANDLES): the write end a child writes its standard output and error
    // to, with no standard input. The pipe must have been created inheritable.
    const PipeHandle* output = nullptr;
};

class Processes {
public:
    virtual ~Processes() = default;

    // CreateProcessW with no application name, no creation flags and this environment.
    [[nodiscard]] virtual Status start(const ProcessStartInfo& info, ProcessHandle& out) noexcept = 0;
    // WaitForSingleObject: success when it ended, winerr::WaitTimeout when the wait ran out.
    [[nodiscard]] virtual Status wait(ProcessHandle& process, std::uint32_t timeoutMs) noexcept = 0;
    // GetExitCodeProcess; STILL_ACTIVE (259) while it runs.
    [[nodiscard]] virtual Status exitCode(ProcessHandle& process, std::uint32_t& out) noexcept = 0;
    [[nodiscard]] virtual Status terminate(ProcessHandle& process, std::uint32_t exitCode) noexcept = 0;

    // CreatePipe; `inheritable` marks both ends inheritable (SECURITY_ATTRIBUTES bInheritHandle).
    [[nodiscard]] virtual Status createPipe(bool inheritable, PipeHandle& readEnd,
                                            PipeHandle& writeEnd) noexcept = 0;
    // One ReadFile of at most maxBytes: blocks until data comes; winerr::BrokenPipe once every write
    // end is closed and the pipe is drained; a read end closed from another thread ends it too.
    [[nodiscard]] virtual Status readPipe(PipeHandle& readEnd, std::size_t maxBytes,
                                          std::vector<std::uint8_t>& out) noexcept = 0;
    [[nodiscard]] virtual Status writePipe(PipeHandle& writeEnd,
                                           const std::vector<std::uint8_t>& data) noexcept = 0;

    // SetStdHandle(STD_OUTPUT_HANDLE, writeEnd), remembering the previous handle; restore puts it
    // back. The pipe handle must outlive the redirection.
    [[nodiscard]] virtual Status redirectStdOutput(const PipeHandle& writeEnd) noexcept = 0;
    [[nodiscard]] virtual Status restoreStdOutput() noexcept = 0;
};

} // namespace ports
