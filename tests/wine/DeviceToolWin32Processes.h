#pragma once
// A small Processes port straight on CreateProcessW and CreatePipe, so that the engine's tool runner
// and pipe reader meet real Windows processes and pipe buffers in these tests whatever state the
// program's own Win32 port is in. Standard output redirection is only recorded: the test
// executable's own output stays where it is.
#include "platform/ports/Processes.h"

#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace engine_test {

class Win32TestProcesses final : public ports::Processes, public ports::HandleCloser {
public:
    ~Win32TestProcesses() {
        for (auto& [id, h] : handles_)
            CloseHandle(h);
    }

    ports::Status start(const ports::ProcessStartInfo& info, ports::ProcessHandle& out) noexcept override {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (info.hidden) {
            si.dwFlags |= STARTF_USESHOWWINDOW;
            si.wShowWindow = SW_HIDE;
        }
        if (info.output) {
            si.dwFlags |= STARTF_USESTDHANDLES;
            si.hStdOutput = si.hStdError = get(info.output->id());
        }
        std::wstring commandLine = info.commandLine;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, info.inheritHandles, 0, nullptr,
                            info.workingDirectory.empty() ? nullptr : info.workingDirectory.c_str(), &si,
                            &pi))
            return GetLastError();
        CloseHandle(pi.hThread);
        out = ports::ProcessHandle(*this, add(pi.hProcess));
        return ports::winerr::Success;
    }
    ports::Status wait(ports::ProcessHandle& process, std::uint32_t timeoutMs) noexcept override {
        const DWORD r = WaitForSingleObject(get(process.id()), timeoutMs);
        return r == WAIT_OBJECT_0  ? ports::winerr::Success
               : r == WAIT_TIMEOUT ? ports::winerr::WaitTimeout
                                   : static_cast<ports::Status>(GetLastError());
    }
    ports::Status exitCode(ports::ProcessHandle& process, std::uint32_t& out) noexcept override {
        DWORD code = 0;
        if (!GetExitCodeProcess(get(process.id()), &code))
            return GetLastError();
        out = code;
        return ports::winerr::Success;
    }
    ports::Status terminate(ports::ProcessHandle&, std::uint32_t) noexcept override {
        return ports::winerr::CallNotImplemented;
    }
    ports::Status createPipe(bool inheritable, ports::PipeHandle& readEnd,
                             ports::PipeHandle& writeEnd) noexcept override {
        SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, inheritable ? TRUE : FALSE};
        HANDLE r = nullptr, w = nullptr;
        if (!CreatePipe(&r, &w, &sa, 0))
            return GetLastError();
        readEnd = ports::PipeHandle(*this, add(r));
        writeEnd = ports::PipeHandle(*this, add(w));
        return ports::winerr::Success;
    }
    ports::Status readPipe(ports::PipeHandle& readEnd, std::size_t maxBytes,
                           std::vector<std::uint8_t>& out) noexcept override {
        out.resize(maxBytes);
        DWORD got = 0;
        if (!ReadFile(get(readEnd.id()), out.data(), static_cast<DWORD>(maxBytes), &got, nullptr)) {
            out.clear();
            return GetLastError();
        }
        out.resize(got);
        return got ? ports::winerr::Success : ports::winerr::BrokenPipe;
    }
    ports::Status writePipe(ports::PipeHandle& writeEnd,
                            const std::vector<std::uint8_t>& data) noexcept override {
        DWORD written = 0;
        if (!WriteFile(get(writeEnd.id()), data.data(), static_cast<DWORD>(data.size()), &written, nullptr))
            return GetLastError();
        return ports::winerr::Success;
    }
    ports::Status redirectStdOutput(const ports::PipeHandle&) noexcept override {
        return ports::winerr::Success;
    }
    ports::Status restoreStdOutput() noexcept override { return ports::winerr::Success; }

    void closeHandle(std::uint64_t id) noexcept override {
        HANDLE h = nullptr;
        {
            std::lock_guard lock(mutex_);
            auto it = handles_.find(id);
            if (it == handles_.end())
                return;
            h = it->second;
            handles_.erase(it);
        }
        CloseHandle(h);
    }

private:
    std::uint64_t add(HANDLE h) {
        std::lock_guard lock(mutex_);
        handles_[next_] = h;
        return next_++;
    }
    HANDLE get(std::uint64_t id) {
        std::lock_guard lock(mutex_);
        auto it = handles_.find(id);
        return it == handles_.end() ? nullptr : it->second;
    }

    std::mutex mutex_;
    std::map<std::uint64_t, HANDLE> handles_;
    std::uint64_t next_ = 1;
};

} // namespace engine_test
