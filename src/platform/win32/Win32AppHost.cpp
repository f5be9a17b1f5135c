#include "platform/win32/Win32AppHost.h"

#include "platform/win32/EntryPoints.h"
#include "platform/win32/UniqueHandle.h"

#include <winsock2.h>
#include <windows.h>

#include <string>

namespace win32 {
using ports::Status;

namespace {

class Win32SingleInstance final : public ports::SingleInstance {
public:
    Win32SingleInstance(UniqueKernelHandle mutex, UINT message, bool first)
        : mutex_(std::move(mutex)), message_(message), first_(first) {}

    bool first() const noexcept override { return first_; }
    std::uint32_t activationMessage() const noexcept override { return message_; }
    int takeActivationRequests() noexcept override { return 0; } // they arrive as the window message

private:
    UniqueKernelHandle mutex_;
    UINT message_;
    bool first_;
};

class Win32Module final : public ports::Module {
public:
    explicit Win32Module(HMODULE module) : module_(module) {}
    bool hasEntryPoint(const char* name) const noexcept override {
        return win32::hasEntryPoint(module_.get(), name); // a Wine placeholder counts as missing
    }
    HMODULE handle() const { return module_.get(); }

private:
    UniqueModule module_;
};

} // namespace

std::unique_ptr<ports::SingleInstance> Win32AppHost::claimSingleInstance(std::wstring_view id) noexcept {
    const std::wstring name(id);
    const UINT message = RegisterWindowMessageW(name.c_str());
    UniqueKernelHandle mutex(CreateMutexW(nullptr, FALSE, name.c_str()));
    const bool existed = mutex && GetLastError() == ERROR_ALREADY_EXISTS;
    if (existed && message) {
        // Posted, so that a running copy that does not answer cannot hold this one up.
        DWORD recipients = BSM_APPLICATIONS;
        BroadcastSystemMessageW(BSF_POSTMESSAGE, &recipients, message, 0, 0);
    }
    return std::make_unique<Win32SingleInstance>(std::move(mutex), message, !existed);
}

Status Win32AppHost::startWinsock(std::uint16_t requested, std::uint16_t& reported) noexcept {
    WSADATA data{};
    const int rc = WSAStartup(requested, &data);
    reported = data.wVersion;
    return static_cast<Status>(rc);
}

Status Win32AppHost::cleanupWinsock() noexcept {
    return WSACleanup() == 0 ? ports::winerr::Success : static_cast<Status>(WSAGetLastError());
}

Status Win32AppHost::enablePrivilege(std::wstring_view name) noexcept {
    UniqueKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.out()))
        return GetLastError();
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    const std::wstring n(name);
    if (!LookupPrivilegeValueW(nullptr, n.c_str(), &privileges.Privileges[0].Luid))
        return GetLastError();
    if (!AdjustTokenPrivileges(token.get(), FALSE, &privileges, sizeof privileges, nullptr, nullptr))
        return GetLastError();
    // Success with ERROR_NOT_ALL_ASSIGNED means the token does not hold the privilege at all.
    return GetLastError();
}

std::unique_ptr<ports::Module> Win32AppHost::loadLibrary(std::wstring_view name, Status& status) noexcept {
    const std::wstring n(name);
    HMODULE module = LoadLibraryW(n.c_str());
    if (!module) {
        status = GetLastError();
        return nullptr;
    }
    status = ports::winerr::Success;
    return std::make_unique<Win32Module>(module);
}

HMODULE moduleHandle(const ports::Module& module) {
    auto* m = dynamic_cast<const Win32Module*>(&module);
    return m ? m->handle() : nullptr;
}

} // namespace win32
