#include "platform/win32/Win32SystemInfo.h"

#include "platform/win32/EntryPoints.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <memory>
#include <vector>

namespace win32 {
using ports::Architecture;

namespace {

// Absent before Windows 10 1709 and in older Wine: looked up at every call, never imported.
using IsWow64Process2Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);

std::wstring fromBuffer(const std::vector<wchar_t>& buf, UINT n) {
    return std::wstring(buf.data(), n);
}

// Calls `get(buffer, size)` with a growing buffer until the whole text fits.
template <typename F> std::wstring growing(F get) {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        const UINT n = get(buf.data(), static_cast<UINT>(buf.size()));
        if (n == 0)
            return {};
        if (n < buf.size())
            return fromBuffer(buf, n);
        buf.resize(n + 1 > buf.size() * 2 ? n + 1 : buf.size() * 2);
    }
}

} // namespace

Architecture Win32SystemInfo::nativeArchitecture() noexcept {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto isWow64Process2 = entryPoint<IsWow64Process2Fn>(kernel, "IsWow64Process2");
    if (!isWow64Process2)
        return ports::architectureFromWow64(std::nullopt, isWow64Process());
    USHORT process = 0, native = 0;
    if (!isWow64Process2(GetCurrentProcess(), &process, &native))
        native = 0; // a failed query names no machine
    return ports::architectureFromWow64(native, false);
}

bool Win32SystemInfo::isWow64Process() noexcept {
    BOOL wow = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow) && wow;
}

ports::WindowsVersion Win32SystemInfo::windowsVersion() noexcept {
    // GetVersionEx reports what the manifest admits; RtlGetVersion tells the truth.
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto rtlGetVersion = entryPoint<RtlGetVersionFn>(ntdll, "RtlGetVersion");
    if (!rtlGetVersion || rtlGetVersion(&info) != 0)
        return {};
    return {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

std::uint16_t Win32SystemInfo::userDefaultUiLanguage() noexcept {
    return GetUserDefaultUILanguage();
}

void Win32SystemInfo::setThreadUiLanguage(std::uint16_t langId) noexcept {
    SetThreadUILanguage(langId);
}

std::wstring Win32SystemInfo::modulePath() noexcept {
    return modulePathOf(nullptr);
}

std::wstring Win32SystemInfo::computerName() noexcept {
    // The size first (ERROR_BUFFER_OVERFLOW with the length and its NUL), then the name.
    DWORD size = 0;
    GetComputerNameW(nullptr, &size);
    if (size == 0)
        return {};
    std::wstring name(size, L'\0');
    if (!GetComputerNameW(name.data(), &size))
        return {};
    name.resize(size);
    return name;
}

std::wstring modulePathOf(HMODULE module) {
    // GetModuleFileNameW truncates silently at the buffer's size: grow until it no longer fills it.
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(module, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return {};
        if (n < buf.size() - 1)
            return std::wstring(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

std::wstring Win32SystemInfo::knownFolder(ports::KnownFolder folder) noexcept {
    switch (folder) {
    case ports::KnownFolder::Windows:
        return growing([](wchar_t* b, UINT n) { return GetWindowsDirectoryW(b, n); });
    case ports::KnownFolder::System:
        return growing([](wchar_t* b, UINT n) { return GetSystemDirectoryW(b, n); });
    case ports::KnownFolder::ProgramFiles: {
        // A 32-bit process is shown "Program Files (x86)"; the native folder is in ProgramW6432.
        std::wstring native = growing([](wchar_t* b, UINT n) {
            return static_cast<UINT>(GetEnvironmentVariableW(L"ProgramW6432", b, n));
        });
        if (!native.empty())
            return native;
        [[fallthrough]];
    }
    case ports::KnownFolder::ProgramFilesX86: {
        wchar_t path[MAX_PATH] = {};
        if (SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
            return {};
        return path;
    }
    case ports::KnownFolder::Temp: {
        std::wstring t = growing([](wchar_t* b, UINT n) { return static_cast<UINT>(GetTempPathW(n, b)); });
        while (!t.empty() && t.back() == L'\\')
            t.pop_back();
        return t;
    }
    }
    return {};
}

std::uint32_t Win32SystemInfo::ansiCodePage() noexcept {
    return GetACP();
}

ports::Status Win32SystemInfo::ansiToWide(std::string_view in, std::wstring& out) noexcept {
    out.clear();
    if (in.empty())
        return ports::winerr::Success;
    const int n = MultiByteToWideChar(CP_ACP, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
    if (n <= 0)
        return GetLastError();
    out.resize(static_cast<size_t>(n));
    MultiByteToWideChar(CP_ACP, 0, in.data(), static_cast<int>(in.size()), out.data(), n);
    return ports::winerr::Success;
}

ports::Status Win32SystemInfo::wideToAnsi(std::wstring_view in, std::string& out) noexcept {
    out.clear();
    if (in.empty())
        return ports::winerr::Success;
    const int n =
        WideCharToMultiByte(CP_ACP, 0, in.data(), static_cast<int>(in.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return GetLastError();
    out.resize(static_cast<size_t>(n));
    WideCharToMultiByte(CP_ACP, 0, in.data(), static_cast<int>(in.size()), out.data(), n, nullptr, nullptr);
    return ports::winerr::Success;
}

std::wstring Win32SystemInfo::systemMessage(std::uint32_t code) noexcept {
    struct LocalFreeDeleter {
        void operator()(wchar_t* p) const noexcept { LocalFree(p); }
    };
    wchar_t* raw = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&raw), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreeDeleter> buffer(raw);
    return n && buffer ? std::wstring(buffer.get(), n) : std::wstring();
}

std::uint32_t Win32SystemInfo::lastError() noexcept {
    return GetLastError();
}

ports::Status Win32SystemInfo::initializeCom() noexcept {
    const HRESULT hr = CoInitialize(nullptr);
    return SUCCEEDED(hr) ? ports::winerr::Success : static_cast<ports::Status>(hr);
}

void Win32SystemInfo::uninitializeCom() noexcept {
    CoUninitialize();
}

void Win32SystemInfo::debugOutput(std::wstring_view text) noexcept {
    const std::wstring line(text);
    OutputDebugStringW(line.c_str());
}

} // namespace win32
