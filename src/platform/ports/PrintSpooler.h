#pragma once
// The print spooler (winspool.drv and the two shell calls about printers), one level above the
// Win32 calls: records in and out, the Windows error code (GetLastError) as the result. The port
// owns the size-query-then-buffer dance, so "ERROR_INSUFFICIENT_BUFFER then retry" never reaches a
// caller. An environment argument of "" means NULL: the environment of the running system.
//
// The driver-store functions are optional: when WinSpool.drv lacks them (older Windows, Wine),
// driverStoreAvailable() is false and each answers winerr::ProcNotFound (not an HRESULT).
#include "platform/ports/Handle.h"
#include "platform/ports/RegValue.h"
#include "platform/ports/SpoolerTypes.h"
#include "platform/ports/Status.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ports {

// An open printer, print server or Xcv channel (",XcvMonitor Standard TCP/IP Port"); closing it is
// ClosePrinter.
using SpoolerHandle = Handle<struct SpoolerHandleTag>;

// XcvDataW has two outcomes: `call` is the error of the call itself (0 when it reached the monitor),
// `monitor` the status the monitor wrote (ERROR_ALREADY_EXISTS for an existing port, ...).
struct [[nodiscard]] XcvResult {
    Status call = winerr::Success;
    Status monitor = winerr::Success;
};

class PrintSpooler {
public:
    virtual ~PrintSpooler() = default;

    // --- printers
    // OpenPrinterW with no data type and no DEVMODE; `access` is spool::PrinterAllAccess,
    // spool::PrinterAccessUse or spool::ServerAccessAdminister.
    [[nodiscard]] virtual Status openPrinter(std::wstring_view name, std::uint32_t access,
                                             SpoolerHandle& out) noexcept = 0;
    // AddPrinterW level 2; the new printer's handle is returned open.
    [[nodiscard]] virtual Status addPrinter(const PrinterInfo2& info, SpoolerHandle& out) noexcept = 0;
    [[nodiscard]] virtual Status deletePrinter(SpoolerHandle& printer) noexcept = 0;
    // EnumPrintersW on the local machine; `flags` are spool::EnumLocal / spool::EnumConnections.
    [[nodiscard]] virtual Status enumPrinters2(std::uint32_t flags,
                                               std::vector<PrinterInfo2>& out) noexcept = 0;
    [[nodiscard]] virtual Status enumPrinters4(std::uint32_t flags,
                                               std::vector<PrinterInfo4>& out) noexcept = 0;
    [[nodiscard]] virtual Status getPrinter2(SpoolerHandle& printer, PrinterInfo2& out) noexcept = 0;
    // GetPrinterW at any level 1 to 9 (the printer viewer); level 2 fills out.info2.
    [[nodiscard]] virtual Status getPrinterAtLevel(SpoolerHandle& printer, std::uint32_t level,
                                                   PrinterInfoAtLevel& out) noexcept = 0;
    // SetPrinterW level 2, command 0. A DEVMODE is written from its `raw` bytes.
    [[nodiscard]] virtual Status setPrinter2(SpoolerHandle& printer, const PrinterInfo2& info) noexcept = 0;
    // SetPrinterW level 7 (directory publishing): no object GUID, the action (spool::DsPrintUpdate).
    [[nodiscard]] virtual Status setPrinter7(SpoolerHandle& printer, std::uint32_t action) noexcept = 0;
    // SetPrinterW level 0 with no record: a command such as spool::ControlPurge.
    [[nodiscard]] virtual Status setPrinterCommand(SpoolerHandle& printer,
                                                   std::uint32_t command) noexcept = 0;

    // --- printer data (GetPrinterDataExW / SetPrinterDataExW); a missing key or value is
    // winerr::FileNotFound, as Windows reports it.
    [[nodiscard]] virtual Status getPrinterData(SpoolerHandle& printer, std::wstring_view key,
                                                std::wstring_view valueName, RegValue& out) noexcept = 0;
    [[nodiscard]] virtual Status setPrinterData(SpoolerHandle& printer, std::wstring_view key,
                                                std::wstring_view valueName,
                                                const RegValue& value) noexcept = 0;

    // --- default printer. setDefaultPrinter is the function winspool exports as ordinal 204.
    [[nodiscard]] virtual Status getDefaultPrinter(std::wstring& out) noexcept = 0;
    [[nodiscard]] virtual Status setDefaultPrinter(std::wstring_view printerName) noexcept = 0;

    // --- DEVMODE and device capabilities
    // DocumentPropertiesW with DM_OUT_BUFFER and no window: the printer's current default DEVMODE.
    // Anything but IDOK is a failure (the error the call left, or winerr::GenFailure).
    [[nodiscard]] virtual Status getDefaultDevMode(SpoolerHandle& printer, std::wstring_view printerName,
                                                   DevMode& out) noexcept = 0;
    // DocumentPropertiesW owned by a window with `mode` (DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER
    // | ...): the driver's own dialog. `answer` is the call's return (spool::IdOk, spool::IdCancel);
    // on IdOk `inOut` holds the edited DEVMODE.
    [[nodiscard]] virtual Status editDevMode(WindowId owner, SpoolerHandle& printer,
                                             std::wstring_view printerName, std::uint32_t mode,
                                             DevMode& inOut, std::int32_t& answer) noexcept = 0;
    // DeviceCapabilitiesW: DC_PAPERNAMES, DC_PAPERS (paper ids), DC_PAPERSIZE (tenths of a mm).
    [[nodiscard]] virtual Status paperNames(std::wstring_view device, std::wstring_view port,
                                            std::vector<std::wstring>& out) noexcept = 0;
    [[nodiscard]] virtual Status papers(std::wstring_view device, std::wstring_view port,
                                        std::vector<std::uint16_t>& out) noexcept = 0;
    [[nodiscard]] virtual Status paperSizes(std::wstring_view device, std::wstring_view port,
                                            std::vector<FormSize>& out) noexcept = 0;

    // --- forms of a printer
    [[nodiscard]] virtual Status enumForms(SpoolerHandle& printer, std::vector<FormInfo1>& out) noexcept = 0;
    [[nodiscard]] virtual Status getForm(SpoolerHandle& printer, std::wstring_view formName,
                                         FormInfo1& out) noexcept = 0;
    [[nodiscard]] virtual Status deleteForm(SpoolerHandle& printer, std::wstring_view formName) noexcept = 0;

    // --- drivers
    // EnumPrinterDriversW, local machine, at `level` (1-6 or 8).
    [[nodiscard]] virtual Status enumDrivers(std::wstring_view environment, std::uint32_t level,
                                             std::vector<DriverInfo>& out) noexcept = 0;
    // GetPrinterDriverW for an open printer.
    [[nodiscard]] virtual Status getPrinterDriver(SpoolerHandle& printer, std::wstring_view environment,
                                                  std::uint32_t level, DriverInfo& out) noexcept = 0;
    // AddPrinterDriverW at info.level (the wizard adds level 3).
    [[nodiscard]] virtual Status addPrinterDriver(const DriverInfo& info) noexcept = 0;
    // DeletePrinterDriverExW; `deleteFlags` spool::DeleteUnusedFiles / DeleteAllFiles ..., `version`
    // used with spool::DeleteSpecificVersion (0 otherwise).
    [[nodiscard]] virtual Status deletePrinterDriver(std::wstring_view environment, std::wstring_view name,
                                                     std::uint32_t deleteFlags,
                                                     std::uint32_t version) noexcept = 0;
    // GetPrinterDriverDirectoryW level 1, without a trailing backslash added.
    [[nodiscard]] virtual Status printerDriverDirectory(std::wstring_view environment,
                                                        std::wstring& out) noexcept = 0;

    // --- driver store (optional; HRESULT results)
    [[nodiscard]] virtual bool driverStoreAvailable() noexcept = 0;
    // UploadPrinterDriverPackageW: `destInfPath` receives the INF path inside the store.
    [[nodiscard]] virtual HResult uploadPrinterDriverPackage(std::wstring_view infPath,
                                                             std::wstring_view environment,
                                                             std::uint32_t flags, WindowId owner,
                                                             std::wstring& destInfPath) noexcept = 0;
    [[nodiscard]] virtual HResult installPrinterDriverFromPackage(std::wstring_view infPath,
                                                                  std::wstring_view driverName,
                                                                  std::wstring_view environment,
                                                                  std::uint32_t flags) noexcept = 0;
    [[nodiscard]] virtual HResult deletePrinterDriverPackage(std::wstring_view infPath,
                                                             std::wstring_view environment) noexcept = 0;
    [[nodiscard]] virtual HResult getPrinterDriverPackagePath(std::wstring_view packageId,
                                                              std::wstring_view environment,
                                                              std::wstring& out) noexcept = 0;

    // --- ports and monitors
    [[nodiscard]] virtual Status enumPorts1(std::vector<PortInfo1>& out) noexcept = 0;
    [[nodiscard]] virtual Status enumPorts2(std::vector<PortInfo2>& out) noexcept = 0;
    // AddPortW / ConfigurePortW / DeletePortW: the monitor's own dialogs, owned by `owner`.
    [[nodiscard]] virtual Status addPortUi(WindowId owner, std::wstring_view monitorName) noexcept = 0;
    [[nodiscard]] virtual Status configurePortUi(WindowId owner, std::wstring_view portName) noexcept = 0;
    [[nodiscard]] virtual Status deletePortUi(WindowId owner, std::wstring_view portName) noexcept = 0;
    // XcvDataW "AddPort" with PORT_DATA_1 and "DeletePort" with DELETE_PORT_DATA_1 (version 1) on an
    // Xcv channel opened with openPrinter(",XcvMonitor <monitor>", spool::ServerAccessAdminister).
    [[nodiscard]] virtual XcvResult xcvAddPort(SpoolerHandle& xcv, const PortData1& data) noexcept = 0;
    [[nodiscard]] virtual XcvResult xcvDeletePort(SpoolerHandle& xcv,
                                                  std::wstring_view portName) noexcept = 0;

    [[nodiscard]] virtual Status enumMonitors2(std::vector<MonitorInfo2>& out) noexcept = 0;
    [[nodiscard]] virtual Status addMonitor(const MonitorInfo2& info) noexcept = 0;
    [[nodiscard]] virtual Status deleteMonitor(std::wstring_view environment,
                                               std::wstring_view name) noexcept = 0;

    // --- shell calls about printers
    // SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PRINTERW, name): tells Explorer a printer changed.
    virtual void announcePrinterChange(std::wstring_view printerName) noexcept = 0;
    // SHInvokePrinterCommandW(owner, action, printerPath) with a path such as "\\computer\printer".
    [[nodiscard]] virtual Status invokePrinterCommand(WindowId owner, std::uint32_t action,
                                                      std::wstring_view printerPath) noexcept = 0;
};

} // namespace ports
