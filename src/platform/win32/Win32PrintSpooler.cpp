// Printers, printer data, the default printer, DEVMODE, device capabilities and forms. Drivers and
// the driver store are in Win32SpoolerDrivers.cpp, ports, monitors and the shell calls in
// Win32SpoolerPorts.cpp.
#include "platform/win32/Win32PrintSpooler.h"

#include "platform/ports/PrinterName.h"

#include "platform/win32/Win32Ports.h"

#include "platform/win32/EntryPoints.h"
#include "platform/win32/SizedBuffer.h"
#include "platform/win32/SpoolerRecords.h"

#include <string>

namespace win32 {
namespace {
using ports::Status;
namespace winerr = ports::winerr;

// "" stands for NULL (the local machine, the current environment, no port).
const wchar_t* orNull(const std::wstring& s) {
    return s.empty() ? nullptr : s.c_str();
}

// Checked here too, so that a lax spooler (Wine's) answers as Windows does.
Status checkPrinterName(std::wstring_view name) {
    return ports::validPrinterName(name) ? winerr::Success : winerr::InvalidPrinterName;
}

} // namespace

Win32PrintSpooler::Win32PrintSpooler()
    : winspool_(LoadLibraryW(L"WinSpool.drv")), shell_(LoadLibraryW(L"shell32.dll")) {
    upload_ = entryPoint<UploadFn>(winspool_.get(), "UploadPrinterDriverPackageW");
    install_ = entryPoint<InstallFn>(winspool_.get(), "InstallPrinterDriverFromPackageW");
    deletePackage_ = entryPoint<DeletePackageFn>(winspool_.get(), "DeletePrinterDriverPackageW");
    packagePath_ = entryPoint<PackagePathFn>(winspool_.get(), "GetPrinterDriverPackagePathW");
    setDefault_ = entryPointByOrdinal<SetDefaultFn>(winspool_.get(), 204);
    invokeCommand_ = entryPoint<InvokeCommandFn>(shell_.get(), "SHInvokePrinterCommandW");
}

HeldHandle<UniquePrinter> Win32PrintSpooler::handleOf(const ports::SpoolerHandle& h) const noexcept {
    return HeldHandle<UniquePrinter>(printers_.find(h, this));
}

ports::SpoolerHandle Win32PrintSpooler::adopt(HANDLE h) {
    return ports::SpoolerHandle(*this, printers_.add(UniquePrinter(h)));
}

Status Win32PrintSpooler::openPrinter(std::wstring_view name, std::uint32_t access,
                                      ports::SpoolerHandle& out) noexcept {
    out.reset();
    std::wstring n(name);
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
    HANDLE h = nullptr;
    if (!OpenPrinterW(n.empty() ? nullptr : n.data(), &h, &defaults))
        return lastError();
    out = adopt(h);
    return winerr::Success;
}

Status Win32PrintSpooler::addPrinter(const ports::PrinterInfo2& info, ports::SpoolerHandle& out) noexcept {
    out.reset();
    if (Status s = checkPrinterName(info.printerName))
        return s;
    PrinterInfo2Writer record(info);
    HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(record.get()));
    if (!h)
        return lastError();
    out = adopt(h);
    return winerr::Success;
}

Status Win32PrintSpooler::deletePrinter(ports::SpoolerHandle& printer) noexcept {
    const auto h = handleOf(printer);
    if (!h)
        return ERROR_INVALID_HANDLE;
    return DeletePrinter(h) ? winerr::Success : lastError();
}

Status Win32PrintSpooler::enumPrinters2(std::uint32_t flags, std::vector<ports::PrinterInfo2>& out) noexcept {
    out.clear();
    RecordBuffer buf;
    DWORD count = 0;
    Status s = fillRecordBuffer(buf, [&](BYTE* b, DWORD size, DWORD* needed) {
        return EnumPrintersW(flags, nullptr, 2, b, size, needed, &count);
    });
    if (s)
        return s;
    const auto* records = reinterpret_cast<const PRINTER_INFO_2W*>(bytes(buf));
    for (DWORD i = 0; i < count; ++i)
        out.push_back(printerInfo2Of(records[i]));
    return winerr::Success;
}

Status Win32PrintSpooler::enumPrinters4(std::uint32_t flags, std::vector<ports::PrinterInfo4>& out) noexcept {
    out.clear();
    RecordBuffer buf;
    DWORD count = 0;
    Status s = fillRecordBuffer(buf, [&](BYTE* b, DWORD size, DWORD* needed) {
        return EnumPrintersW(flags, nullptr, 4, b, size, needed, &count);
    });
    if (s)
        return s;
    const auto* records = reinterpret_cast<const PRINTER_INFO_4W*>(bytes(buf));
    for (DWORD i = 0; i < count; ++i)
        out.push_back(
            {textOf(records[i].pPrinterName), nullableOf(records[i].pServerName), records[i].Attributes});
    return winerr::Success;
}

Status Win32PrintSpooler::getPrinter2(ports::SpoolerHandle& printer, ports::PrinterInfo2& out) noexcept {
    ports::PrinterInfoAtLevel level;
    if (Status s = getPrinterAtLevel(printer, 2, level))
        return s;
    out = std::move(level.info2);
    return winerr::Success;
}

Status Win32PrintSpooler::getPrinterAtLevel(ports::SpoolerHandle& printer, std::uint32_t level,
                                            ports::PrinterInfoAtLevel& out) noexcept {
    const auto h = handleOf(printer);
    if (!h)
        return ERROR_INVALID_HANDLE;
    if (level < 1 || level > 9)
        return ERROR_INVALID_LEVEL;
    RecordBuffer buf;
    if (Status s = fillRecordBuffer(
            buf, [&](BYTE* b, DWORD size, DWORD* needed) { return GetPrinterW(h, level, b, size, needed); }))
        return s;
    out = printerInfoAtLevelOf(level, bytes(buf));
    return winerr::Success;
}

Status Win32PrintSpooler::setPrinter2(ports::SpoolerHandle& printer,
                                      const ports::PrinterInfo2& info) noexcept {
    const auto h = handleOf(printer);
    if (!h)
        return ERROR_INVALID_HANDLE;
    if (Status s = checkPrinterName(info.printerName))
        return s;
    PrinterInfo2Writer record(info);
    return SetPrinterW(h, 2, reinterpret_cast<BYTE*>(record.get()), 0) ? winerr::Success : lastError();
}

Status Win32PrintSpooler::setPrinter7(ports::SpoolerHandle& printer, std::uint32_t action) noexcept {
    const auto h = handleOf(printer);
    if (!h)
        return ERROR_INVALID_HANDLE;
    PRINTER_INFO_7W record{nullptr, action};
    return SetPrinterW(h, 7, reinterpret_cast<BYTE*>(&record), 0) ? winerr::Success : lastError();
}

Status Win32PrintSpooler::setPrinterCommand(ports::SpoolerHandle& printer, std::uint32_t command) noexcept {
    const auto h = handleOf(printer);
    if (!h)
        return ERROR_INVALID_HANDLE;
    return SetPrinterW(h, 0, nullptr, command) ? winerr::Success : lastError();
}

Status Win32PrintSpooler::getPrinterData(ports::SpoolerHandle& printer, std::wstring_view key,
                                         std::wstring_view valueName, ports::RegValue& out) noexcept {
    const auto h = handleOf(printer);
    if (!h)
        return ERROR_INVALID_HANDLE;
    const std::wstring k(key), v(valueName);
    // These calls return their error instead of setting the last error.
    std::vector<BYTE> data;
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD type = 0, needed = 0;
        const DWORD rc =
            GetPrinterDataExW(h, k.c_str(), v.c_str(), &type, data.empty() ? nullptr : data.data(),
                              static_cast<DWORD>(data.size()), &needed);
        if (rc == ERROR_SUCCESS) {
            data.resize(needed);
            out = {type, std::vector<std::uint8_t>(data.begin(), data.end())};
            return winerr::Success;
        }
        if (rc != ERROR_MORE_DATA && rc != ERROR_INSUFFICIENT_BUFFER)
            return rc;
        data.assign(needed > data.size() ? needed : data.size() * 2 + 64, 0);
    }
    return ERROR_MORE_DATA;
}

Status Win32PrintSpooler::setPrinterData(ports::SpoolerHandle& printer, std::wstring_view key,
                                         std::wstring_view valueName, const ports::RegValue& value) noexcept {
    const auto h = handleOf(printer);
    if (!h)
        return ERROR_INVALID_HANDLE;
    const std::wstring k(key), v(valueName);
    return SetPrinterDataExW(h, k.c_str(), v.c_str(), value.type, const_cast<BYTE*>(value.bytes.data()),
                             static_cast<DWORD>(value.bytes.size()));
}

Status Win32PrintSpooler::getDefaultPrinter(std::wstring& out) noexcept {
    out.clear();
    std::vector<wchar_t> buf;
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD chars = static_cast<DWORD>(buf.size());
        if (GetDefaultPrinterW(buf.empty() ? nullptr : buf.data(), &chars)) {
            out.assign(buf.data());
            return winerr::Success;
        }
        const Status s = lastError();
        if (s != ERROR_INSUFFICIENT_BUFFER)
            return s;
        buf.assign(chars > buf.size() ? chars : buf.size() * 2 + 16, L'\0');
    }
    return ERROR_INSUFFICIENT_BUFFER;
}

Status Win32PrintSpooler::setDefaultPrinter(std::wstring_view printerName) noexcept {
    if (!setDefault_)
        return ERROR_PROC_NOT_FOUND;
    const std::wstring n(printerName);
    return setDefault_(n.c_str()) ? winerr::Success : lastError();
}

Status Win32PrintSpooler::getDefaultDevMode(ports::SpoolerHandle& printer, std::wstring_view printerName,
                                            ports::DevMode& out) noexcept {
    const auto h = handleOf(printer);
    if (!h)
        return ERROR_INVALID_HANDLE;
    std::wstring n(printerName);
    const LONG size = DocumentPropertiesW(nullptr, h, n.data(), nullptr, nullptr, 0);
    if (size <= 0)
        return lastError();
    RecordBuffer buf;
    resizeBytes(buf, static_cast<std::size_t>(size));
    auto* devMode = reinterpret_cast<DEVMODEW*>(bytes(buf));
    const LONG answer = DocumentPropertiesW(nullptr, h, n.data(), devMode, nullptr, DM_OUT_BUFFER);
    if (answer != IDOK)
        return answer < 0 ? lastError() : ERROR_GEN_FAILURE;
    out = devModeOf(*devMode);
    return winerr::Success;
}

Status Win32PrintSpooler::editDevMode(ports::WindowId owner, ports::SpoolerHandle& printer,
                                      std::wstring_view printerName, std::uint32_t mode,
                                      ports::DevMode& inOut, std::int32_t& answer) noexcept {
    answer = 0;
    const auto h = handleOf(printer);
    if (!h)
        return ERROR_INVALID_HANDLE;
    std::wstring n(printerName);
    const LONG size = DocumentPropertiesW(nullptr, h, n.data(), nullptr, nullptr, 0);
    if (size <= 0)
        return lastError();
    // The driver reads at most the size it reported; a longer input record is its own business.
    std::vector<std::uint8_t> inBytes = devModeBytes(inOut);
    RecordBuffer in, outBuf;
    resizeBytes(in, std::max<std::size_t>(inBytes.size(), static_cast<std::size_t>(size)));
    std::copy(inBytes.begin(), inBytes.end(), bytes(in));
    resizeBytes(outBuf, static_cast<std::size_t>(size));
    auto* outDevMode = reinterpret_cast<DEVMODEW*>(bytes(outBuf));
    answer =
        DocumentPropertiesW(reinterpret_cast<HWND>(owner), h, n.data(), outDevMode,
                            (mode & DM_IN_BUFFER) ? reinterpret_cast<DEVMODEW*>(bytes(in)) : nullptr, mode);
    if (answer < 0)
        return lastError();
    if (answer == IDOK && (mode & DM_OUT_BUFFER))
        inOut = devModeOf(*outDevMode);
    return winerr::Success;
}

namespace {

// DeviceCapabilitiesW: a count query, then the array of `unit`-sized items.
template <typename Item>
Status capabilities(std::wstring_view device, std::wstring_view port, WORD capability, std::size_t unit,
                    std::vector<Item>& out) {
    out.clear();
    const std::wstring d(device), p(port);
    const int count = DeviceCapabilitiesW(d.c_str(), orNull(p), capability, nullptr, nullptr);
    if (count < 0)
        return lastError();
    if (count == 0)
        return winerr::Success;
    out.assign(static_cast<std::size_t>(count) * unit / sizeof(Item) + 1, Item{});
    const int again =
        DeviceCapabilitiesW(d.c_str(), orNull(p), capability, reinterpret_cast<LPWSTR>(out.data()), nullptr);
    if (again < 0)
        return lastError();
    out.resize(static_cast<std::size_t>(std::min(again, count)) * unit / sizeof(Item));
    return winerr::Success;
}

} // namespace

Status Win32PrintSpooler::paperNames(std::wstring_view device, std::wstring_view port,
                                     std::vector<std::wstring>& out) noexcept {
    out.clear();
    constexpr std::size_t kNameChars = 64; // each name is a fixed field, NUL-terminated when shorter
    std::vector<wchar_t> names;
    if (Status s = capabilities(device, port, DC_PAPERNAMES, kNameChars * sizeof(wchar_t), names))
        return s;
    for (std::size_t i = 0; i + kNameChars <= names.size(); i += kNameChars) {
        std::size_t n = 0;
        while (n < kNameChars && names[i + n])
            ++n;
        out.emplace_back(names.data() + i, n);
    }
    return winerr::Success;
}

Status Win32PrintSpooler::papers(std::wstring_view device, std::wstring_view port,
                                 std::vector<std::uint16_t>& out) noexcept {
    return capabilities(device, port, DC_PAPERS, sizeof(WORD), out);
}

Status Win32PrintSpooler::paperSizes(std::wstring_view device, std::wstring_view port,
                                     std::vector<ports::FormSize>& out) noexcept {
    out.clear();
    std::vector<POINT> points;
    if (Status s = capabilities(device, port, DC_PAPERSIZE, sizeof(POINT), points))
        return s;
    for (const POINT& p : points)
        out.push_back({p.x, p.y});
    return winerr::Success;
}

Status Win32PrintSpooler::enumForms(ports::SpoolerHandle& printer,
                                    std::vector<ports::FormInfo1>& out) noexcept {
    out.clear();
    const auto h = handleOf(printer);
    if (!h)
        return ERROR_INVALID_HANDLE;
    RecordBuffer buf;
    DWORD count = 0;
    if (Status s = fillRecordBuffer(buf, [&](BYTE* b, DWORD size, DWORD* needed) {
            return EnumFormsW(h, 1, b, size, needed, &count);
        }))
        return s;
    const auto* records = reinterpret_cast<const FORM_INFO_1W*>(bytes(buf));
    for (DWORD i = 0; i < count; ++i)
        out.push_back(formInfo1Of(records[i]));
    return winerr::Success;
}

Status Win32PrintSpooler::getForm(ports::SpoolerHandle& printer, std::wstring_view formName,
                                  ports::FormInfo1& out) noexcept {
    const auto h = handleOf(printer);
    if (!h)
        return ERROR_INVALID_HANDLE;
    std::wstring n(formName);
    RecordBuffer buf;
    if (Status s = fillRecordBuffer(buf, [&](BYTE* b, DWORD size, DWORD* needed) {
            return GetFormW(h, n.data(), 1, b, size, needed);
        }))
        return s;
    out = formInfo1Of(*reinterpret_cast<const FORM_INFO_1W*>(bytes(buf)));
    return winerr::Success;
}

Status Win32PrintSpooler::deleteForm(ports::SpoolerHandle& printer, std::wstring_view formName) noexcept {
    const auto h = handleOf(printer);
    if (!h)
        return ERROR_INVALID_HANDLE;
    std::wstring n(formName);
    return DeleteFormW(h, n.data()) ? winerr::Success : lastError();
}

std::unique_ptr<ports::PrintSpooler> makeWin32PrintSpooler() {
    return std::make_unique<Win32PrintSpooler>();
}

} // namespace win32
