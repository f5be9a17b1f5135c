#pragma once
// Placeholders for the ports still being written: every call answers ERROR_CALL_NOT_IMPLEMENTED (or
// its CONFIGRET / HRESULT counterpart), optional features report "not available". Only the
// composition of SimPlatform and Win32Platform uses them; delete this file once both sides have
// their real ports.
#include "platform/ports/Bluetooth.h"
#include "platform/ports/DeviceTree.h"
#include "platform/ports/PrintSpooler.h"
#include "platform/ports/Processes.h"
#include "platform/ports/ServiceControl.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ports::notyet {

inline constexpr Status kNo = winerr::CallNotImplemented;
inline constexpr ConfigRet kNoCr = cr::CallNotImplemented;
// What the optional features answer when they are not available.
inline constexpr HResult kNoHr = winerr::ProcNotFound;
inline constexpr Status kNoProc = winerr::ProcNotFound;

class NotYetSpooler final : public PrintSpooler {
public:
    Status openPrinter(std::wstring_view, std::uint32_t, SpoolerHandle&) override { return kNo; }
    Status addPrinter(const PrinterInfo2&, SpoolerHandle&) override { return kNo; }
    Status deletePrinter(SpoolerHandle&) override { return kNo; }
    Status enumPrinters2(std::uint32_t, std::vector<PrinterInfo2>&) override { return kNo; }
    Status enumPrinters4(std::uint32_t, std::vector<PrinterInfo4>&) override { return kNo; }
    Status getPrinter2(SpoolerHandle&, PrinterInfo2&) override { return kNo; }
    Status getPrinterAtLevel(SpoolerHandle&, std::uint32_t, PrinterInfoAtLevel&) override { return kNo; }
    Status setPrinter2(SpoolerHandle&, const PrinterInfo2&) override { return kNo; }
    Status setPrinter7(SpoolerHandle&, std::uint32_t) override { return kNo; }
    Status setPrinterCommand(SpoolerHandle&, std::uint32_t) override { return kNo; }
    Status getPrinterData(SpoolerHandle&, std::wstring_view, std::wstring_view, RegValue&) override {
        return kNo;
    }
    Status setPrinterData(SpoolerHandle&, std::wstring_view, std::wstring_view, const RegValue&) override {
        return kNo;
    }
    Status getDefaultPrinter(std::wstring&) override { return kNo; }
    Status setDefaultPrinter(std::wstring_view) override { return kNo; }
    Status getDefaultDevMode(SpoolerHandle&, std::wstring_view, DevMode&) override { return kNo; }
    Status editDevMode(WindowId, SpoolerHandle&, std::wstring_view, std::uint32_t, DevMode&,
                       std::int32_t&) override {
        return kNo;
    }
    Status paperNames(std::wstring_view, std::wstring_view, std::vector<std::wstring>&) override {
        return kNo;
    }
    Status papers(std::wstring_view, std::wstring_view, std::vector<std::uint16_t>&) override { return kNo; }
    Status paperSizes(std::wstring_view, std::wstring_view, std::vector<FormSize>&) override { return kNo; }
    Status enumForms(SpoolerHandle&, std::vector<FormInfo1>&) override { return kNo; }
    Status getForm(SpoolerHandle&, std::wstring_view, FormInfo1&) override { return kNo; }
    Status deleteForm(SpoolerHandle&, std::wstring_view) override { return kNo; }
    Status enumDrivers(std::wstring_view, std::uint32_t, std::vector<DriverInfo>&) override { return kNo; }
    Status getPrinterDriver(SpoolerHandle&, std::wstring_view, std::uint32_t, DriverInfo&) override {
        return kNo;
    }
    Status addPrinterDriver(const DriverInfo&) override { return kNo; }
    Status deletePrinterDriver(std::wstring_view, std::wstring_view, std::uint32_t, std::uint32_t) override {
        return kNo;
    }
    Status printerDriverDirectory(std::wstring_view, std::wstring&) override { return kNo; }
    bool driverStoreAvailable() override { return false; }
    HResult uploadPrinterDriverPackage(std::wstring_view, std::wstring_view, std::uint32_t, WindowId,
                                       std::wstring&) override {
        return kNoHr;
    }
    HResult installPrinterDriverFromPackage(std::wstring_view, std::wstring_view, std::wstring_view,
                                            std::uint32_t) override {
        return kNoHr;
    }
    HResult deletePrinterDriverPackage(std::wstring_view, std::wstring_view) override { return kNoHr; }
    HResult getPrinterDriverPackagePath(std::wstring_view, std::wstring_view, std::wstring&) override {
        return kNoHr;
    }
    Status enumPorts1(std::vector<PortInfo1>&) override { return kNo; }
    Status enumPorts2(std::vector<PortInfo2>&) override { return kNo; }
    Status addPortUi(WindowId, std::wstring_view) override { return kNo; }
    Status configurePortUi(WindowId, std::wstring_view) override { return kNo; }
    Status deletePortUi(WindowId, std::wstring_view) override { return kNo; }
    XcvResult xcvAddPort(SpoolerHandle&, const PortData1&) override { return {kNo, 0}; }
    XcvResult xcvDeletePort(SpoolerHandle&, std::wstring_view) override { return {kNo, 0}; }
    Status enumMonitors2(std::vector<MonitorInfo2>&) override { return kNo; }
    Status addMonitor(const MonitorInfo2&) override { return kNo; }
    Status deleteMonitor(std::wstring_view, std::wstring_view) override { return kNo; }
    void announcePrinterChange(std::wstring_view) override {}
    Status invokePrinterCommand(WindowId, std::uint32_t, std::wstring_view) override { return kNo; }
};

class NotYetDeviceTree final : public DeviceTree {
public:
    Status getClassDevs(const std::optional<Guid>&, std::wstring_view, std::uint32_t,
                        DeviceInfoSet&) override {
        return kNo;
    }
    Status enumDeviceInfo(DeviceInfoSet&, std::uint32_t, DeviceInfoData&) override { return kNo; }
    Status enumDeviceInterfaces(DeviceInfoSet&, const Guid&, std::uint32_t, DeviceInterfaceData&) override {
        return kNo;
    }
    Status getDeviceInterfaceDetail(DeviceInfoSet&, const DeviceInterfaceData&, std::wstring&,
                                    DeviceInfoData&) override {
        return kNo;
    }
    Status getDeviceInstanceId(DeviceInfoSet&, const DeviceInfoData&, std::wstring&) override { return kNo; }
    Status getDeviceRegistryProperty(DeviceInfoSet&, const DeviceInfoData&, std::uint32_t,
                                     RegValue&) override {
        return kNo;
    }
    Status readDeviceRegistryValue(DeviceInfoSet&, const DeviceInfoData&, std::uint32_t, std::uint32_t,
                                   std::wstring_view, RegValue&) override {
        return kNo;
    }
    Status removeDevice(DeviceInfoSet&, const DeviceInfoData&, bool&) override { return kNo; }
    Status updateDriverForPlugAndPlayDevices(WindowId, std::wstring_view, std::wstring_view, std::uint32_t,
                                             bool&) override {
        return kNo;
    }
    ConfigRet reenumerateDevNode(DevInst, std::uint32_t) override { return kNoCr; }
    ConfigRet locateDevNode(std::wstring_view, std::uint32_t, DevInst&) override { return kNoCr; }
    ConfigRet getParent(DevInst, DevInst&) override { return kNoCr; }
    ConfigRet getChild(DevInst, DevInst&) override { return kNoCr; }
    ConfigRet getSibling(DevInst, DevInst&) override { return kNoCr; }
    ConfigRet getDeviceId(DevInst, std::wstring&) override { return kNoCr; }
    ConfigRet getDevNodeStatus(DevInst, std::uint32_t&, std::uint32_t&) override { return kNoCr; }
    ConfigRet getDevNodeRegistryProperty(DevInst, std::uint32_t, RegValue&) override { return kNoCr; }
    ConfigRet getClassRegistryProperty(const Guid&, std::uint32_t, RegValue&) override { return kNoCr; }
    ConfigRet getDeviceIdList(std::wstring_view, std::uint32_t, std::vector<std::wstring>&) override {
        return kNoCr;
    }
    ConfigRet getDeviceInterfaceList(const Guid&, std::wstring_view, std::uint32_t,
                                     std::vector<std::wstring>&) override {
        return kNoCr;
    }
    ConfigRet enumerateEnumerators(std::uint32_t, std::wstring&) override { return kNoCr; }
    ConfigRet enumerateClasses(std::uint32_t, std::uint32_t, Guid&) override { return kNoCr; }
    bool devNodePropertiesAvailable() override { return false; }
    bool classPropertiesAvailable() override { return false; }
    bool interfacePropertiesAvailable() override { return false; }
    ConfigRet getDevNodeProperty(DevInst, const DevPropKey&, DevProperty&) override { return kNoCr; }
    ConfigRet getClassProperty(const Guid&, const DevPropKey&, DevProperty&) override { return kNoCr; }
    ConfigRet getDeviceInterfaceProperty(std::wstring_view, const DevPropKey&, DevProperty&) override {
        return kNoCr;
    }
    ConfigRet describe(DevInst, DevNode&) override { return kNoCr; }
    Status queryUsbPrinterName(std::wstring_view, const UsbNameQuery&, std::vector<std::uint8_t>&) override {
        return kNo;
    }
};

class NotYetBluetooth final : public Bluetooth {
public:
    Status findFirstRadio(BluetoothRadio&) override { return kNo; }
    Status findFirstDevice(const BluetoothSearchParams&, BluetoothRadio&, BluetoothDeviceSearch&,
                           BluetoothDeviceInfo&) override {
        return kNo;
    }
    Status findNextDevice(BluetoothDeviceSearch&, BluetoothDeviceInfo&) override { return kNo; }
    Status installedServices(const BluetoothDeviceInfo&, std::vector<Guid>&) override { return kNo; }
    Status setServiceState(const BluetoothDeviceInfo&, const Guid&, bool) override { return kNo; }
    Status removeDevice(std::uint64_t) override { return kNo; }
    bool authenticationAvailable() override { return false; }
    Status registerForAuthentication(const BluetoothDeviceInfo&, BluetoothAuthCallback,
                                     BluetoothAuthRegistration&) override {
        return kNoProc;
    }
    Status authenticateDevice(WindowId, BluetoothDeviceInfo&, std::uint32_t) override { return kNoProc; }
    Status sendAuthenticationResponse(const BluetoothAuthResponse&) override { return kNoProc; }
};

class NotYetServices final : public ServiceControl {
public:
    Status openManager(std::uint32_t, ServiceManagerHandle&) override { return kNo; }
    Status openService(ServiceManagerHandle&, std::wstring_view, std::uint32_t, ServiceHandle&) override {
        return kNo;
    }
    Status queryStatus(ServiceHandle&, ServiceStatus&) override { return kNo; }
    Status start(ServiceHandle&) override { return kNo; }
    Status control(ServiceHandle&, std::uint32_t, ServiceStatus&) override { return kNo; }
};

class NotYetProcesses final : public Processes {
public:
    Status start(const ProcessStartInfo&, ProcessHandle&) override { return kNo; }
    Status wait(ProcessHandle&, std::uint32_t) override { return kNo; }
    Status exitCode(ProcessHandle&, std::uint32_t&) override { return kNo; }
    Status terminate(ProcessHandle&, std::uint32_t) override { return kNo; }
    Status createPipe(bool, PipeHandle&, PipeHandle&) override { return kNo; }
    Status readPipe(PipeHandle&, std::size_t, std::vector<std::uint8_t>&) override { return kNo; }
    Status writePipe(PipeHandle&, const std::vector<std::uint8_t>&) override { return kNo; }
    Status redirectStdOutput(const PipeHandle&) override { return kNo; }
    Status restoreStdOutput() override { return kNo; }
};

} // namespace ports::notyet
