// Printer drivers and the driver store of the spooler port.
#include "platform/win32/Win32PrintSpooler.h"

#include "platform/win32/SizedBuffer.h"
#include "platform/win32/SpoolerRecords.h"

#include <string>

namespace win32 {
namespace {
using ports::HResult;
using ports::Status;
namespace winerr = ports::winerr;

const wchar_t* orNull(const std::wstring& s) {
    return s.empty() ? nullptr : s.c_str();
}

constexpr HResult kInsufficientBuffer = ports::hresult::fromWin32(ERROR_INSUFFICIENT_BUFFER);

} // namespace

Status Win32PrintSpooler::enumDrivers(std::wstring_view environment, std::uint32_t level,
                                      std::vector<ports::DriverInfo>& out) noexcept {
    out.clear();
    const std::size_t size = driverInfoSize(level);
    if (size == 0)
        return ERROR_INVALID_LEVEL;
    std::wstring env(environment);
    RecordBuffer buf;
    DWORD count = 0;
    if (Status s = fillRecordBuffer(buf, [&](BYTE* b, DWORD bufSize, DWORD* needed) {
            return EnumPrinterDriversW(nullptr, env.empty() ? nullptr : env.data(), level, b, bufSize, needed,
                                       &count);
        }))
        return s;
    for (DWORD i = 0; i < count; ++i)
        out.push_back(driverInfoOf(level, bytes(buf) + i * size));
    return winerr::Success;
}

Status Win32PrintSpooler::getPrinterDriver(ports::SpoolerHandle& printer, std::wstring_view environment,
                                           std::uint32_t level, ports::DriverInfo& out) noexcept {
    const auto h = handleOf(printer);
    if (!h)
        return ERROR_INVALID_HANDLE;
    if (driverInfoSize(level) == 0)
        return ERROR_INVALID_LEVEL;
    std::wstring env(environment);
    RecordBuffer buf;
    if (Status s = fillRecordBuffer(buf, [&](BYTE* b, DWORD bufSize, DWORD* needed) {
            return GetPrinterDriverW(h, env.empty() ? nullptr : env.data(), level, b, bufSize, needed);
        }))
        return s;
    out = driverInfoOf(level, bytes(buf));
    return winerr::Success;
}

Status Win32PrintSpooler::addPrinterDriver(const ports::DriverInfo& info) noexcept {
    if (!DriverInfoWriter::writableLevel(info.level))
        return ERROR_INVALID_LEVEL;
    DriverInfoWriter record(info);
    return AddPrinterDriverW(nullptr, info.level, record.get()) ? winerr::Success : lastError();
}

Status Win32PrintSpooler::deletePrinterDriver(std::wstring_view environment, std::wstring_view name,
                                              std::uint32_t deleteFlags, std::uint32_t version) noexcept {
    std::wstring env(environment), n(name);
    return DeletePrinterDriverExW(nullptr, env.empty() ? nullptr : env.data(), n.data(), deleteFlags, version)
               ? winerr::Success
               : lastError();
}

Status Win32PrintSpooler::printerDriverDirectory(std::wstring_view environment, std::wstring& out) noexcept {
    out.clear();
    std::wstring env(environment);
    RecordBuffer buf;
    if (Status s = fillRecordBuffer(buf, [&](BYTE* b, DWORD size, DWORD* needed) {
            return GetPrinterDriverDirectoryW(nullptr, env.empty() ? nullptr : env.data(), 1, b, size,
                                              needed);
        }))
        return s;
    out = reinterpret_cast<const wchar_t*>(bytes(buf));
    return winerr::Success;
}

bool Win32PrintSpooler::driverStoreAvailable() noexcept {
    return upload_ && install_ && deletePackage_;
}

HResult Win32PrintSpooler::uploadPrinterDriverPackage(std::wstring_view infPath,
                                                      std::wstring_view environment, std::uint32_t flags,
                                                      ports::WindowId owner,
                                                      std::wstring& destInfPath) noexcept {
    destInfPath.clear();
    if (!driverStoreAvailable())
        return ERROR_PROC_NOT_FOUND;
    const std::wstring inf(infPath), env(environment);
    std::vector<wchar_t> dest(1024, L'\0');
    HResult hr = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        ULONG chars = static_cast<ULONG>(dest.size());
        hr = static_cast<HResult>(upload_(nullptr, inf.c_str(), orNull(env), flags,
                                          reinterpret_cast<HWND>(owner), dest.data(), &chars));
        if (hr != kInsufficientBuffer)
            break;
        dest.assign(chars > dest.size() ? chars : dest.size() * 2, L'\0');
    }
    if (!ports::hresult::failed(hr))
        destInfPath.assign(dest.data());
    return hr;
}

HResult Win32PrintSpooler::installPrinterDriverFromPackage(std::wstring_view infPath,
                                                           std::wstring_view driverName,
                                                           std::wstring_view environment,
                                                           std::uint32_t flags) noexcept {
    if (!driverStoreAvailable())
        return ERROR_PROC_NOT_FOUND;
    const std::wstring inf(infPath), name(driverName), env(environment);
    return static_cast<HResult>(install_(nullptr, orNull(inf), name.c_str(), orNull(env), flags));
}

HResult Win32PrintSpooler::deletePrinterDriverPackage(std::wstring_view infPath,
                                                      std::wstring_view environment) noexcept {
    if (!driverStoreAvailable())
        return ERROR_PROC_NOT_FOUND;
    const std::wstring inf(infPath), env(environment);
    return static_cast<HResult>(deletePackage_(nullptr, inf.c_str(), orNull(env)));
}

HResult Win32PrintSpooler::getPrinterDriverPackagePath(std::wstring_view packageId,
                                                       std::wstring_view environment,
                                                       std::wstring& out) noexcept {
    out.clear();
    if (!driverStoreAvailable() || !packagePath_)
        return ERROR_PROC_NOT_FOUND;
    const std::wstring id(packageId), env(environment);
    std::vector<wchar_t> path;
    HResult hr = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD required = 0;
        hr = static_cast<HResult>(packagePath_(nullptr, orNull(env), nullptr, id.c_str(),
                                               path.empty() ? nullptr : path.data(),
                                               static_cast<DWORD>(path.size()), &required));
        if (hr != kInsufficientBuffer)
            break;
        path.assign(required > path.size() ? required : path.size() * 2 + 64, L'\0');
    }
    if (!ports::hresult::failed(hr) && !path.empty())
        out.assign(path.data());
    return hr;
}

} // namespace win32
