#pragma once
// The simulated Plug and Play tree (SetupAPI and the Configuration Manager) over the "devices"
// section of the machine's state, with the device-console work: removing a node, installing an
// INF's driver on the present devices of a hardware ID (which, for printers, creates the print queue
// named after the model with its "PnPData", as Windows does) and rescanning. Faults are named after
// the Windows functions ("SetupDiGetClassDevsW", "CM_Locate_DevNodeW", "CreateFileW", ...).
#include "platform/ports/Clock.h"
#include "platform/ports/DeviceTree.h"
#include "platform/common/HandleTable.h"
#include "platform/sim/SimMachine.h"

#include <string>
#include <vector>

namespace sim {

class SimDeviceTree final : public ports::DeviceTree, public ports::HandleCloser {
public:
    SimDeviceTree(SimMachine& machine, ports::Clock& clock) : machine_(machine), clock_(clock) {}

    // SetupAPI (SimDeviceTreeSetup.cpp)
    ports::Status getClassDevs(const std::optional<ports::Guid>& classGuid, std::wstring_view enumerator,
                               std::uint32_t flags, ports::DeviceInfoSet& out) noexcept override;
    ports::Status enumDeviceInfo(ports::DeviceInfoSet& set, std::uint32_t index,
                                 ports::DeviceInfoData& out) noexcept override;
    ports::Status enumDeviceInterfaces(ports::DeviceInfoSet& set, const ports::Guid& interfaceClass,
                                       std::uint32_t index,
                                       ports::DeviceInterfaceData& out) noexcept override;
    ports::Status getDeviceInterfaceDetail(ports::DeviceInfoSet& set, const ports::DeviceInterfaceData& iface,
                                           std::wstring& devicePath,
                                           ports::DeviceInfoData& device) noexcept override;
    ports::Status getDeviceInstanceId(ports::DeviceInfoSet& set, const ports::DeviceInfoData& device,
                                      std::wstring& out) noexcept override;
    ports::Status getDeviceRegistryProperty(ports::DeviceInfoSet& set, const ports::DeviceInfoData& device,
                                            std::uint32_t spdrpCode, ports::RegValue& out) noexcept override;
    ports::Status readDeviceRegistryValue(ports::DeviceInfoSet& set, const ports::DeviceInfoData& device,
                                          std::uint32_t scope, std::uint32_t keyType,
                                          std::wstring_view valueName,
                                          ports::RegValue& out) noexcept override;

    // device-console work (SimDeviceInstall.cpp)
    ports::Status removeDevice(ports::DeviceInfoSet& set, const ports::DeviceInfoData& device,
                               bool& restartNeeded) noexcept override;
    ports::Status updateDriverForPlugAndPlayDevices(ports::WindowId owner, std::wstring_view hardwareId,
                                                    std::wstring_view infPath, std::uint32_t installFlags,
                                                    bool& rebootRequired) noexcept override;
    ports::ConfigRet reenumerateDevNode(ports::DevInst node, std::uint32_t flags) noexcept override;
    ports::Status queryUsbPrinterName(std::wstring_view devicePath, const ports::UsbNameQuery& query,
                                      std::vector<std::uint8_t>& reply) noexcept override;

    // Configuration Manager (SimDeviceTreeCm.cpp)
    ports::ConfigRet locateDevNode(std::wstring_view instanceId, std::uint32_t flags,
                                   ports::DevInst& out) noexcept override;
    ports::ConfigRet getParent(ports::DevInst node, ports::DevInst& out) noexcept override;
    ports::ConfigRet getChild(ports::DevInst node, ports::DevInst& out) noexcept override;
    ports::ConfigRet getSibling(ports::DevInst node, ports::DevInst& out) noexcept override;
    ports::ConfigRet getDeviceId(ports::DevInst node, std::wstring& out) noexcept override;
    ports::ConfigRet getDevNodeStatus(ports::DevInst node, std::uint32_t& status,
                                      std::uint32_t& problem) noexcept override;
    ports::ConfigRet getDevNodeRegistryProperty(ports::DevInst node, std::uint32_t cmDrpCode,
                                                ports::RegValue& out) noexcept override;
    ports::ConfigRet getClassRegistryProperty(const ports::Guid& classGuid, std::uint32_t cmCrpCode,
                                              ports::RegValue& out) noexcept override;
    ports::ConfigRet getDeviceIdList(std::wstring_view filter, std::uint32_t flags,
                                     std::vector<std::wstring>& out) noexcept override;
    ports::ConfigRet getDeviceInterfaceList(const ports::Guid& interfaceClass, std::wstring_view deviceId,
                                            std::uint32_t flags,
                                            std::vector<std::wstring>& out) noexcept override;
    ports::ConfigRet enumerateEnumerators(std::uint32_t index, std::wstring& out) noexcept override;
    ports::ConfigRet enumerateClasses(std::uint32_t index, std::uint32_t flags,
                                      ports::Guid& out) noexcept override;
    bool devNodePropertiesAvailable() noexcept override;
    bool classPropertiesAvailable() noexcept override { return devNodePropertiesAvailable(); }
    bool interfacePropertiesAvailable() noexcept override { return devNodePropertiesAvailable(); }
    ports::ConfigRet getDevNodeProperty(ports::DevInst node, const ports::DevPropKey& key,
                                        ports::DevProperty& out) noexcept override;
    ports::ConfigRet getClassProperty(const ports::Guid& classGuid, const ports::DevPropKey& key,
                                      ports::DevProperty& out) noexcept override;
    ports::ConfigRet getDeviceInterfaceProperty(std::wstring_view interfacePath, const ports::DevPropKey& key,
                                                ports::DevProperty& out) noexcept override;
    ports::ConfigRet describe(ports::DevInst node, ports::DevNode& out) noexcept override;

    void closeHandle(std::uint64_t id) noexcept override { sets_.remove(id); }

private:
    // A device information set: the members found when it was made.
    struct Interface {
        std::wstring instanceId;
        std::wstring interfaceClass; // GUID text
        std::wstring path;
        bool active = true;
    };
    struct Set {
        std::vector<std::wstring> devices;
        std::vector<Interface> interfaces;
    };
    // Takes the fault for `operation` when the state has one (a read otherwise).
    ports::Status fault(const char* operation);
    // The node of a set member, read under the lock; InvalidHandle for a set not ours,
    // NoSuchDevinst for a node that is gone.
    template <typename F>
    ports::Status withMember(ports::DeviceInfoSet& set, const ports::DeviceInfoData& device, F&& fn);
    std::vector<std::wstring> enumerators(const Json& state) const;
    std::vector<std::wstring> classes(const Json& state, bool interfaces) const;

    SimMachine& machine_;
    ports::Clock& clock_;
    platform::HandleTable<Set> sets_;
};

} // namespace sim
