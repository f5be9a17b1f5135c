// The host processes and pipes of Windows: CreatePipe, CreateProcessW and SetStdHandle.
#include "platform/host/HostProcess.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>

#include <windows.h>

#include "base/Utf.h"
#include "base/CommandLine.h"

namespace host {
namespace winerr = ports::winerr;
using ports::Status;

namespace {
constexpr std::uint32_t kForever = 0xFFFFFFFF;
} // namespace

PipeEnd::~PipeEnd() {
    for (auto h : {handle_, wakeRead_}) {
        if (h != -1 && h != 0)
            CloseHandle(reinterpret_cast<HANDLE>(h));
    }
}

// The read end is overlapped, so a read waits on its own completion and on the cancel event: a close
// from another thread ends it without closing the handle under it.
Status PipeEnd::read(std::size_t maxBytes, std::vector<std::uint8_t>& out) {
    out.clear();
    if (cancelled_)
        return winerr::OperationAborted;
    HANDLE h = reinterpret_cast<HANDLE>(handle_);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!done)
        return static_cast<Status>(GetLastError());
    out.resize(maxBytes);
    OVERLAPPED ov{};
    ov.hEvent = done;
    DWORD n = 0;
    Status result = winerr::Success;
    if (!ReadFile(h, out.data(), static_cast<DWORD>(maxBytes), &n, &ov)) {
        result = static_cast<Status>(GetLastError());
        if (result == ERROR_IO_PENDING) {
            HANDLE both[2] = {done, reinterpret_cast<HANDLE>(wakeRead_)};
            ++waitingReaders_;
            const DWORD woke = WaitForMultipleObjects(2, both, FALSE, INFINITE);
            --waitingReaders_;
            if (woke != WAIT_OBJECT_0)
                CancelIoEx(h, &ov);
            // The read must be over before `ov` and `out` go.
            result =
                GetOverlappedResult(h, &ov, &n, TRUE) ? winerr::Success : static_cast<Status>(GetLastError());
            if (woke != WAIT_OBJECT_0 && result == ERROR_OPERATION_ABORTED)
                result = winerr::OperationAborted;
        }
    }
    CloseHandle(done);
    if (result != winerr::Success) {
        out.clear();
        return cancelled_ ? winerr::OperationAborted : result;
    }
    out.resize(n);
    return winerr::Success;
}

Status PipeEnd::write(const std::vector<std::uint8_t>& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        DWORD n = 0;
        if (!WriteFile(reinterpret_cast<HANDLE>(handle_), data.data() + done,
                       static_cast<DWORD>(data.size() - done), &n, nullptr))
            return static_cast<Status>(GetLastError());
        done += n;
    }
    return winerr::Success;
}

void PipeEnd::cancel() {
    if (cancelled_.exchange(true) || wakeRead_ == -1)
        return;
    SetEvent(reinterpret_cast<HANDLE>(wakeRead_));
}

// An anonymous pipe cannot be read overlapped, so the pipe is a named one of this process with a
// unique name; the write end stays synchronous, as a child's standard output expects.
Status createPipe(bool inheritable, std::shared_ptr<PipeEnd>& readEnd, std::shared_ptr<PipeEnd>& writeEnd) {
    static std::atomic<unsigned> counter{0};
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, inheritable ? TRUE : FALSE};
    const std::wstring name = L"\\\\.\\pipe\\orvello-sim-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(counter++);
    HANDLE r = CreateNamedPipeW(name.c_str(),
                                PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, &sa);
    if (r == INVALID_HANDLE_VALUE)
        return static_cast<Status>(GetLastError());
    HANDLE w =
        CreateFileW(name.c_str(), GENERIC_WRITE, 0, &sa, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (w == INVALID_HANDLE_VALUE) {
        const Status e = static_cast<Status>(GetLastError());
        CloseHandle(r);
        return e;
    }
    HANDLE wake = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!wake) {
        const Status e = static_cast<Status>(GetLastError());
        CloseHandle(r);
        CloseHandle(w);
        return e;
    }
    readEnd.reset(new PipeEnd(reinterpret_cast<std::intptr_t>(r), reinterpret_cast<std::intptr_t>(wake), -1));
    writeEnd.reset(new PipeEnd(reinterpret_cast<std::intptr_t>(w), -1, -1));
    return winerr::Success;
}

namespace {

class WinChild final : public Child {
public:
    explicit WinChild(HANDLE process) : process_(process) {}
    ~WinChild() override { CloseHandle(process_); }
    Status wait(std::uint32_t timeoutMs) noexcept override {
        const DWORD r = WaitForSingleObject(process_, timeoutMs);
        if (r == WAIT_OBJECT_0)
            return winerr::Success;
        return r == WAIT_TIMEOUT ? winerr::WaitTimeout : static_cast<Status>(GetLastError());
    }
    Status exitCode(std::uint32_t& out) noexcept override {
        DWORD code = 0;
        if (!GetExitCodeProcess(process_, &code))
            return static_cast<Status>(GetLastError());
        out = code;
        return winerr::Success;
    }
    Status terminate(std::uint32_t code) noexcept override {
        return TerminateProcess(process_, code) ? winerr::Success : static_cast<Status>(GetLastError());
    }

private:
    HANDLE process_;
};

struct SavedOutput {
    std::mutex mutex;
    HANDLE saved = nullptr;
    bool redirected = false;
};
SavedOutput& savedOutput() {
    static SavedOutput s;
    return s;
}

} // namespace

Status spawn(const SpawnInfo& info, std::unique_ptr<Child>& out) {
    std::wstring line = text::quoteArgument(info.program.wstring());
    for (const auto& a : info.arguments)
        line += L" " + text::quoteArgument(a);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    if (info.output) {
        si.dwFlags |= STARTF_USESTDHANDLES;
        si.hStdInput = nullptr;
        si.hStdOutput = si.hStdError = reinterpret_cast<HANDLE>(info.output->native());
    } else if (info.inheritStdHandles) {
        // Without a console of its own (CREATE_NO_WINDOW) the child sees only the handles named
        // here: give it our standard output as it stands, redirected or not.
        si.dwFlags |= STARTF_USESTDHANDLES;
        si.hStdInput = nullptr;
        si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    PROCESS_INFORMATION pi{};
    const std::wstring cwd = info.workingDirectory.wstring();
    if (!CreateProcessW(info.program.wstring().c_str(), line.data(), nullptr, nullptr,
                        info.output || info.inheritStdHandles, CREATE_NO_WINDOW, nullptr,
                        cwd.empty() ? nullptr : cwd.c_str(), &si, &pi))
        return static_cast<Status>(GetLastError());
    CloseHandle(pi.hThread);
    out = std::make_unique<WinChild>(pi.hProcess);
    return winerr::Success;
}

Status redirectStdOutput(const PipeEnd& writeEnd) {
    auto& s = savedOutput();
    std::lock_guard lock(s.mutex);
    if (!s.redirected) {
        s.saved = GetStdHandle(STD_OUTPUT_HANDLE);
        s.redirected = true;
    }
    return SetStdHandle(STD_OUTPUT_HANDLE, reinterpret_cast<HANDLE>(writeEnd.native()))
               ? winerr::Success
               : static_cast<Status>(GetLastError());
}

Status restoreStdOutput() {
    auto& s = savedOutput();
    std::lock_guard lock(s.mutex);
    if (!s.redirected)
        return winerr::Success;
    s.redirected = false;
    return SetStdHandle(STD_OUTPUT_HANDLE, s.saved) ? winerr::Success : static_cast<Status>(GetLastError());
}

std::filesystem::path executablePath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

} // namespace host
