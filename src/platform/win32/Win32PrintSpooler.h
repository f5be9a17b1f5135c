#pragma once
// The print spooler of this Windows machine: winspool.drv and the two shell calls about printers.
// Entry points that older systems or Wine lack (the driver-store functions, the set-default
// function by ordinal 204, SHInvokePrinterCommandW) are looked up at run time, never imported.
#include "platform/ports/PrintSpooler.h"
#include "platform/common/HandleTable.h"
#include "platform/win32/HeldHandle.h"
#include "platform/win32/UniqueHandle.h"

#include <windows.h>
#include <winspool.h>

namespace win32 {

struct PrinterHandleTraits {
    using Type = HANDLE;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type h) noexcept { ::ClosePrinter(h); }
};
using UniquePrinter = UniqueHandle<PrinterHandleTraits>;

class Win32PrintSpooler final : public ports::PrintSpooler, public ports::HandleCloser {
public:
    Win32PrintSpooler();

    ports::Status openPrinter(std::wstring_view name, std::uint32_t access,
                              ports::SpoolerHandle& out) noexcept override;
    ports::Status addPrinter(const ports::PrinterInfo2& info, ports::SpoolerHandle& out) noexcept override;
    ports::Status deletePrinter(ports::SpoolerHandle& printer) noexcept override;
    ports::Status enumPrinters2(std::uint32_t flags, std::vector<ports::PrinterInfo2>& out) noexcept override;
    ports::Status enumPrinters4(std::uint32_t flags, std::vector<ports::PrinterInfo4>& out) noexcept override;
    ports::Status getPrinter2(ports::SpoolerHandle& printer, ports::PrinterInfo2& out) noexcept override;
    ports::Status getPrinterAtLevel(ports::SpoolerHandle& printer, std::uint32_t level,
                                    ports::PrinterInfoAtLevel& out) noexcept override;
    ports::Status setPrinter2(ports::SpoolerHandle& printer,
                              const ports::PrinterInfo2& info) noexcept override;
    ports::Status setPrinter7(ports::SpoolerHandle& printer, std::uint32_t action) noexcept override;
    ports::Status setPrinterCommand(ports::SpoolerHandle& printer, std::uint32_t command) noexcept override;

    ports::Status getPrinterData(ports::SpoolerHandle& printer, std::wstring_view key,
                                 std::wstring_view valueName, ports::RegValue& out) noexcept override;
    ports::Status setPrinterData(ports::SpoolerHandle& printer, std::wstring_view key,
                                 std::wstring_view valueName, const ports::RegValue& value) noexcept override;

    ports::Status getDefaultPrinter(std::wstring& out) noexcept override;
    ports::Status setDefaultPrinter(std::wstring_view printerName) noexcept override;

    ports::Status getDefaultDevMode(ports::SpoolerHandle& printer, std::wstring_view printerName,
                                    ports::DevMode& out) noexcept override;
    ports::Status editDevMode(ports::WindowId owner, ports::SpoolerHandle& printer,
                              std::wstring_view printerName, std::uint32_t mode, ports::DevMode& inOut,
                              std::int32_t& answer) noexcept override;
    ports::Status paperNames(std::wstring_view device, std::wstring_view port,
                             std::vector<std::wstring>& out) noexcept override;
    ports::Status papers(std::wstring_view device, std::wstring_view port,
                         std::vector<std::uint16_t>& out) noexcept override;
    ports::Status paperSizes(std::wstring_view device, std::wstring_view port,
                             std::vector<ports::FormSize>& out) noexcept override;

    ports::Status enumForms(ports::SpoolerHandle& printer,
                            std::vector<ports::FormInfo1>& out) noexcept override;
    ports::Status getForm(ports::SpoolerHandle& printer, std::wstring_view formName,
                          ports::FormInfo1& out) noexcept override;
    ports::Status deleteForm(ports::SpoolerHandle& printer, std::wstring_view formName) noexcept override;

    ports::Status enumDrivers(std::wstring_view environment, std::uint32_t level,
                              std::vector<ports::DriverInfo>& out) noexcept override;
    ports::Status getPrinterDriver(ports::SpoolerHandle& printer, std::wstring_view environment,
                                   std::uint32_t level, ports::DriverInfo& out) noexcept override;
    ports::Status addPrinterDriver(const ports::DriverInfo& info) noexcept override;
    ports::Status deletePrinterDriver(std::wstring_view environment, std::wstring_view name,
                                      std::uint32_t deleteFlags, std::uint32_t version) noexcept override;
    ports::Status printerDriverDirectory(std::wstring_view environment, std::wstring& out) noexcept override;

    bool driverStoreAvailable() noexcept override;
    ports::HResult uploadPrinterDriverPackage(std::wstring_view infPath, std::wstring_view environment,
                                              std::uint32_t flags, ports::WindowId owner,
                                              std::wstring& destInfPath) noexcept override;
    ports::HResult installPrinterDriverFromPackage(std::wstring_view infPath, std::wstring_view driverName,
                                                   std::wstring_view environment,
                                                   std::uint32_t flags) noexcept override;
    ports::HResult deletePrinterDriverPackage(std::wstring_view infPath,
                                              std::wstring_view environment) noexcept override;
    ports::HResult getPrinterDriverPackagePath(std::wstring_view packageId, std::wstring_view environment,
                                               std::wstring& out) noexcept override;

    ports::Status enumPorts1(std::vector<ports::PortInfo1>& out) noexcept override;
    ports::Status enumPorts2(std::vector<ports::PortInfo2>& out) noexcept override;
    ports::Status addPortUi(ports::WindowId owner, std::wstring_view monitorName) noexcept override;
    ports::Status configurePortUi(ports::WindowId owner, std::wstring_view portName) noexcept override;
    ports::Status deletePortUi(ports::WindowId owner, std::wstring_view portName) noexcept override;
    ports::XcvResult xcvAddPort(ports::SpoolerHandle& xcv, const ports::PortData1& data) noexcept override;
    ports::XcvResult xcvDeletePort(ports::SpoolerHandle& xcv, std::wstring_view portName) noexcept override;

    ports::Status enumMonitors2(std::vector<ports::MonitorInfo2>& out) noexcept override;
    ports::Status addMonitor(const ports::MonitorInfo2& info) noexcept override;
    ports::Status deleteMonitor(std::wstring_view environment, std::wstring_view name) noexcept override;

    void announcePrinterChange(std::wstring_view printerName) noexcept override;
    ports::Status invokePrinterCommand(ports::WindowId owner, std::uint32_t action,
                                       std::wstring_view printerPath) noexcept override;

    void closeHandle(std::uint64_t id) noexcept override { printers_.remove(id); }

private:
    // The system handle behind `h`, held for the call; null when `h` is not an open handle of this port.
    HeldHandle<UniquePrinter> handleOf(const ports::SpoolerHandle& h) const noexcept;
    ports::SpoolerHandle adopt(HANDLE h);

    using UploadFn = HRESULT(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, HWND, LPWSTR, PULONG);
    using InstallFn = HRESULT(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, DWORD);
    using DeletePackageFn = HRESULT(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR);
    using PackagePathFn = HRESULT(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPWSTR, DWORD, LPDWORD);
    using SetDefaultFn = BOOL(WINAPI*)(LPCWSTR);
    using InvokeCommandFn = BOOL(WINAPI*)(HWND, UINT, LPCWSTR);

    UniqueModule winspool_;
    UniqueModule shell_;
    UploadFn upload_ = nullptr;
    InstallFn install_ = nullptr;
    DeletePackageFn deletePackage_ = nullptr;
    PackagePathFn packagePath_ = nullptr;
    SetDefaultFn setDefault_ = nullptr;
    InvokeCommandFn invokeCommand_ = nullptr;
    platform::HandleTable<UniquePrinter> printers_;
};

} // namespace win32
