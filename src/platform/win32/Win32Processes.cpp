#include "platform/win32/Win32Processes.h"

#include "platform/win32/Win32Ports.h"

#include "platform/win32/SizedBuffer.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>

namespace win32 {
namespace {
using ports::Status;
namespace winerr = ports::winerr;

// The two ends of a one-way pipe whose read end can do overlapped reads: a named pipe with one
// instance under a name of this process, refusing remote clients, and its client end for writing.
Status createOverlappedPipe(SECURITY_ATTRIBUTES& sa, UniqueKernelHandle& readEnd,
                            UniqueKernelHandle& writeEnd) noexcept {
    static std::atomic<unsigned long> serial{0};
    wchar_t name[96];
    std::swprintf(name, std::size(name), L"\\\\.\\pipe\\orvello-%lu-%lu", GetCurrentProcessId(), ++serial);
    // The buffer CreatePipe gives by default; a writer waits for the reader beyond it, as with CreatePipe.
    constexpr DWORD kBuffer = 4096;
    const HANDLE server =
        CreateNamedPipeW(name, PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                         PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
                         kBuffer, kBuffer, 0, &sa);
    if (server == INVALID_HANDLE_VALUE)
        return lastError();
    UniqueKernelHandle r(server);
    const HANDLE client =
        CreateFileW(name, GENERIC_WRITE, 0, &sa, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (client == INVALID_HANDLE_VALUE)
        return lastError();
    readEnd = std::move(r);
    writeEnd = UniqueKernelHandle(client);
    return winerr::Success;
}
} // namespace

Status Win32Processes::start(const ports::ProcessStartInfo& info, ports::ProcessHandle& out) noexcept {
    out.reset();
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (info.hidden) {
        si.dwFlags |= STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_HIDE;
    }
    if (info.output) {
        const auto output = handleOf(*info.output);
        if (!output)
            return ERROR_INVALID_HANDLE;
        si.dwFlags |= STARTF_USESTDHANDLES;
        si.hStdInput = nullptr;
        si.hStdOutput = output;
        si.hStdError = output;
    }
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::wstring commandLine = info.commandLine;
    const std::wstring folder = info.workingDirectory;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, info.inheritHandles ? TRUE : FALSE, 0,
                        nullptr, folder.empty() ? nullptr : folder.c_str(), &si, &pi))
        return lastError();
    CloseHandle(pi.hThread);
    out = ports::ProcessHandle(*this, handles_.add(KernelObject(UniqueKernelHandle(pi.hProcess))));
    return winerr::Success;
}

Status Win32Processes::wait(ports::ProcessHandle& process, std::uint32_t timeoutMs) noexcept {
    const auto h = handleOf(process);
    if (!h)
        return ERROR_INVALID_HANDLE;
    switch (WaitForSingleObject(h, timeoutMs)) {
    case WAIT_OBJECT_0:
        return winerr::Success;
    case WAIT_TIMEOUT:
        return WAIT_TIMEOUT;
    default:
        return lastError();
    }
}

Status Win32Processes::exitCode(ports::ProcessHandle& process, std::uint32_t& out) noexcept {
    const auto h = handleOf(process);
    if (!h)
        return ERROR_INVALID_HANDLE;
    DWORD code = 0;
    if (!GetExitCodeProcess(h, &code))
        return lastError();
    out = code;
    return winerr::Success;
}

Status Win32Processes::terminate(ports::ProcessHandle& process, std::uint32_t exitCode) noexcept {
    const auto h = handleOf(process);
    if (!h)
        return ERROR_INVALID_HANDLE;
    return TerminateProcess(h, exitCode) ? winerr::Success : lastError();
}

Status Win32Processes::createPipe(bool inheritable, ports::PipeHandle& readEnd,
                                  ports::PipeHandle& writeEnd) noexcept {
    readEnd.reset();
    writeEnd.reset();
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, inheritable ? TRUE : FALSE};
    UniqueKernelHandle closed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!closed)
        return lastError();
    UniqueKernelHandle r, w;
    if (Status e = createOverlappedPipe(sa, r, w))
        return e;
    readEnd = ports::PipeHandle(*this, handles_.add(KernelObject(std::move(r), std::move(closed))));
    writeEnd = ports::PipeHandle(*this, handles_.add(KernelObject(std::move(w))));
    return winerr::Success;
}

Status Win32Processes::readPipe(ports::PipeHandle& readEnd, std::size_t maxBytes,
                                std::vector<std::uint8_t>& out) noexcept {
    out.clear();
    const auto held = handleOf(readEnd);
    KernelObject* end = held.entry();
    if (!end || !end->closed)
        return ERROR_INVALID_HANDLE; // not an open read end of this port
    const HANDLE h = end->get();
    UniqueKernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done)
        return lastError();
    out.resize(std::min<std::size_t>(maxBytes, 0x7FFFFFFF));
    OVERLAPPED ov{};
    ov.hEvent = done.get();
    if (!ReadFile(h, out.data(), static_cast<DWORD>(out.size()), nullptr, &ov)) {
        if (const DWORD e = GetLastError(); e != ERROR_IO_PENDING) {
            out.clear();
            return e;
        }
        ++end->pendingReads;
        const HANDLE events[] = {done.get(), end->closed.get()};
        const DWORD woke = WaitForMultipleObjects(2, events, FALSE, INFINITE);
        --end->pendingReads;
        // Data first: a read that completed as the end was closed still delivers what it read.
        if (woke != WAIT_OBJECT_0)
            CancelIo(h);
    }
    DWORD got = 0;
    // Waits for the read to finish (or for the cancel to land) before `ov` and the buffer go.
    if (!GetOverlappedResult(h, &ov, &got, TRUE)) {
        out.clear();
        return lastError();
    }
    out.resize(got);
    return winerr::Success;
}

Status Win32Processes::writePipe(ports::PipeHandle& writeEnd,
                                 const std::vector<std::uint8_t>& data) noexcept {
    const auto h = handleOf(writeEnd);
    if (!h)
        return ERROR_INVALID_HANDLE;
    std::size_t done = 0;
    while (done < data.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 20));
        if (!WriteFile(h, data.data() + done, chunk, &written, nullptr))
            return lastError();
        done += written;
    }
    return winerr::Success;
}

Status Win32Processes::redirectStdOutput(const ports::PipeHandle& writeEnd) noexcept {
    const auto h = handleOf(writeEnd);
    if (!h)
        return ERROR_INVALID_HANDLE;
    std::lock_guard lock(stdMutex_);
    // A second redirection keeps the handle saved by the first, so restore returns to the original.
    const HANDLE previous = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!SetStdHandle(STD_OUTPUT_HANDLE, h))
        return lastError();
    if (!redirected_) {
        savedStdOutput_ = previous;
        redirected_ = true;
    }
    return winerr::Success;
}

Status Win32Processes::restoreStdOutput() noexcept {
    std::lock_guard lock(stdMutex_);
    if (!redirected_)
        return winerr::Success;
    if (!SetStdHandle(STD_OUTPUT_HANDLE, savedStdOutput_))
        return lastError();
    redirected_ = false;
    savedStdOutput_ = nullptr;
    return winerr::Success;
}

void Win32Processes::closeHandle(std::uint64_t id) noexcept {
    // The handle itself closes when no call holds it any more; a read waiting on it stops now.
    if (const auto gone = handles_.remove(id); gone && gone->closed)
        SetEvent(gone->closed.get());
}

bool Win32Processes::readPending(const ports::PipeHandle& readEnd) const noexcept {
    const auto held = handleOf(readEnd);
    return held.entry() && held.entry()->pendingReads > 0;
}

std::unique_ptr<ports::Processes> makeWin32Processes() {
    return std::make_unique<Win32Processes>();
}

} // namespace win32
