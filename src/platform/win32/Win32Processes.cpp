#include "platform/win32/Win32Processes.h"

#include "platform/win32/Win32Ports.h"

#include "platform/win32/SizedBuffer.h"

#include <algorithm>
#include <string>

namespace win32 {
namespace {
using ports::Status;
namespace winerr = ports::winerr;
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
        HANDLE output = handleOf(*info.output);
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
    out = ports::ProcessHandle(*this, handles_.add(UniqueKernelHandle(pi.hProcess)));
    return winerr::Success;
}

Status Win32Processes::wait(ports::ProcessHandle& process, std::uint32_t timeoutMs) noexcept {
    HANDLE h = handleOf(process);
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
    HANDLE h = handleOf(process);
    if (!h)
        return ERROR_INVALID_HANDLE;
    DWORD code = 0;
    if (!GetExitCodeProcess(h, &code))
        return lastError();
    out = code;
    return winerr::Success;
}

Status Win32Processes::terminate(ports::ProcessHandle& process, std::uint32_t exitCode) noexcept {
    HANDLE h = handleOf(process);
    if (!h)
        return ERROR_INVALID_HANDLE;
    return TerminateProcess(h, exitCode) ? winerr::Success : lastError();
}

Status Win32Processes::createPipe(bool inheritable, ports::PipeHandle& readEnd,
                                  ports::PipeHandle& writeEnd) noexcept {
    readEnd.reset();
    writeEnd.reset();
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, inheritable ? TRUE : FALSE};
    HANDLE r = nullptr, w = nullptr;
    if (!CreatePipe(&r, &w, &sa, 0))
        return lastError();
    readEnd = ports::PipeHandle(*this, handles_.add(UniqueKernelHandle(r)));
    writeEnd = ports::PipeHandle(*this, handles_.add(UniqueKernelHandle(w)));
    return winerr::Success;
}

Status Win32Processes::readPipe(ports::PipeHandle& readEnd, std::size_t maxBytes,
                                std::vector<std::uint8_t>& out) noexcept {
    out.clear();
    HANDLE h = handleOf(readEnd);
    if (!h)
        return ERROR_INVALID_HANDLE;
    out.resize(std::min<std::size_t>(maxBytes, 0x7FFFFFFF));
    DWORD got = 0;
    if (!ReadFile(h, out.data(), static_cast<DWORD>(out.size()), &got, nullptr)) {
        out.clear();
        return lastError();
    }
    out.resize(got);
    return winerr::Success;
}

Status Win32Processes::writePipe(ports::PipeHandle& writeEnd,
                                 const std::vector<std::uint8_t>& data) noexcept {
    HANDLE h = handleOf(writeEnd);
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
    HANDLE h = handleOf(writeEnd);
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

std::unique_ptr<ports::Processes> makeWin32Processes() {
    return std::make_unique<Win32Processes>();
}

} // namespace win32
