#include "engine/bluetooth/BluetoothSerialPort.h"

#include "app/msglog/MessageLog.h"
#include "base/Compare.h"
#include "engine/SpoolerService.h"

#include <algorithm>
#include <vector>

namespace winerr = ports::winerr;

namespace engine {

namespace {

bool hasSerialPort(const std::vector<ports::Guid>& services) {
    return std::find(services.begin(), services.end(), ports::guids::SerialPortServiceClass) !=
           services.end();
}

bool enableSerialPort(const app::AppContext& ctx, const PrinterEntry& entry) {
    const auto status =
        ctx.platform.bluetooth().setServiceState(entry.btInfo, ports::guids::SerialPortServiceClass, true);
    if (status == winerr::Success)
        return true;
    PrintMessageColor(msglog::kRed, ctx.tr(L"启用蓝牙串口服务失败. 错误码: %d. 错误描述: %s."),
                      static_cast<int>(status), ctx.errorText(status));
    return false;
}

} // namespace

bool EnableSerialService(const app::AppContext& ctx, const PrinterEntry& entry) {
    ports::Bluetooth& bt = ctx.platform.bluetooth();
    std::vector<ports::Guid> services;
    auto status = bt.installedServices(entry.btInfo, services);
    if (status == winerr::Success && services.empty() && !enableSerialPort(ctx, entry))
        return false;

    status = bt.installedServices(entry.btInfo, services);
    if (status == winerr::Success && services.empty()) {
        PrintMessageColor(msglog::kRed, ctx.tr(L"枚举蓝牙服务为空. 错误码: %d. 错误描述: %s."),
                          static_cast<int>(status), ctx.errorText(status));
        return false;
    }
    if (status != winerr::Success) {
        PrintMessageColor(msglog::kRed, ctx.tr(L"枚举蓝牙服务失败. 错误码: %d. 错误描述: %s."),
                          static_cast<int>(status), ctx.errorText(status));
        return false;
    }
    return hasSerialPort(services) || enableSerialPort(ctx, entry);
}

bool SpoolerHasPort(const app::AppContext& ctx, std::wstring_view name) {
    std::vector<ports::PortInfo2> ports;
    if (ctx.platform.spooler().enumPorts2(ports) != winerr::Success)
        return false;
    return std::any_of(ports.begin(), ports.end(), [&](const ports::PortInfo2& port) {
        std::wstring bare = port.portName;
        std::erase(bare, L':');
        return bare == name;
    });
}

bool FindBluetoothComPort(const app::AppContext& ctx, PrinterEntry& entry) {
    ports::DeviceTree& tree = ctx.platform.devices();
    ports::DeviceInfoSet set;
    if (tree.getClassDevs(ports::guids::SerialPortServiceClass, L"",
                          ports::digcf::Present | ports::digcf::DeviceInterface, set) != winerr::Success)
        return false;
    const std::wstring address = text::toUpper(entry.btAddress);
    if (address.empty())
        return false;
    for (std::uint32_t index = 0;; ++index) {
        ports::DeviceInterfaceData iface;
        if (tree.enumDeviceInterfaces(set, ports::guids::SerialPortServiceClass, index, iface) !=
            winerr::Success)
            return false;
        std::wstring path;
        ports::DeviceInfoData device;
        if (tree.getDeviceInterfaceDetail(set, iface, path, device) != winerr::Success)
            continue;
        if (text::toUpper(path).find(address) == std::wstring::npos)
            continue;
        ports::RegValue value;
        if (tree.readDeviceRegistryValue(set, device, ports::devreg::ScopeGlobal, ports::devreg::KeyDevice,
                                         L"PortName", value) != winerr::Success)
            return false;
        entry.portName = value.asString();
        if (entry.portName.empty())
            return false;
        if (SpoolerHasPort(ctx, entry.portName))
            return true;
        if (ctx.debug())
            PrintMessage(L"i can't find bluetooth serial port, now i will try again.");
        SpoolerControl control;
        (void)OpenSpoolerManager(ctx, control);
        (void)RestartSpooler(ctx, control);
        return SpoolerHasPort(ctx, entry.portName);
    }
}

} // namespace engine
