#pragma once
// The simulated print spooler: the "spooler" section of the machine's state with the semantics and
// error codes of winspool. Every call fails with RPC_S_SERVER_UNAVAILABLE (1722) while the
// "Spooler" service is not running, and with an injected fault named after its Windows function
// ("AddPrinterW", "XcvDataW", ...). Split over SimSpooler*.cpp by subject.
#include "platform/ports/Clock.h"
#include "platform/ports/PrintSpooler.h"
#include "platform/common/HandleTable.h"
#include "platform/sim/SimMachine.h"

#include <functional>
#include <string>

namespace sim {

class SimSpooler final : public ports::PrintSpooler, public ports::HandleCloser {
public:
    SimSpooler(SimMachine& machine, ports::Clock& clock) : machine_(machine), clock_(clock) {}

    // printers (SimSpoolerPrinters.cpp)
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
    void announcePrinterChange(std::wstring_view printerName) noexcept override;
    ports::Status invokePrinterCommand(ports::WindowId owner, std::uint32_t action,
                                       std::wstring_view printerPath) noexcept override;

    // DEVMODE, capabilities and forms (SimSpoolerForms.cpp)
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

    // drivers and the driver store (SimSpoolerDrivers.cpp)
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

    // ports and monitors (SimSpoolerPorts.cpp)
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

    void closeHandle(std::uint64_t id) noexcept override { handles_.remove(id); }

    // What an open handle stands for.
    struct Opened {
        enum class Kind { Server, Printer, Xcv } kind = Kind::Printer;
        std::wstring name; // the printer's current name, or the Xcv channel's monitor
        std::uint32_t access = 0;
    };

private:
    // Runs fn on the record of the printer behind an open printer handle, under the machine's lock
    // (a write saves the state afterwards). The spooler's own failures come first: not running, the
    // injected fault, a handle that is not ours, a printer that is gone.
    using ReadFn = std::function<ports::Status(const Json& state, const Json& printer, const Opened& opened)>;
    using WriteFn = std::function<ports::Status(Json& state, Json& printer, Opened& opened)>;
    ports::Status readPrinter(const ports::SpoolerHandle& h,
                              std::initializer_list<std::string_view> operations, const ReadFn& fn);
    ports::Status writePrinter(const ports::SpoolerHandle& h,
                               std::initializer_list<std::string_view> operations, const WriteFn& fn);
    // The spooler's availability and the fault for `operation`, under the lock of a write.
    ports::Status enter(Json& state, std::initializer_list<std::string_view> operations);
    // The same for calls that only read: the fault is looked for first and only taken when present.
    ports::Status enterRead(std::initializer_list<std::string_view> operations);
    std::shared_ptr<Opened> opened(const ports::SpoolerHandle& h) const { return handles_.find(h, this); }
    ports::SpoolerHandle giveHandle(Opened o) {
        return ports::SpoolerHandle(*this, handles_.add(std::move(o)));
    }

    SimMachine& machine_;
    ports::Clock& clock_;
    platform::HandleTable<Opened> handles_;
};

} // namespace sim
