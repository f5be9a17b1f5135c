#pragma once
// The Plug and Play tree through SetupAPI and the Configuration Manager, one level up. Results keep
// the family of the call they mirror: SetupDi* methods return the Windows error (winerr, including
// SetupAPI's 0xE000xxxx codes), CM_* methods a CONFIGRET (cr). Size queries stay inside the port.
//
// The unified-property functions (CM_Get_DevNode_PropertyW and friends) are optional: when the
// system lacks them the *Available() query is false and the call answers cr::CallNotImplemented.
// Under Wine the tree is nearly empty and CM_Locate_DevNodeW fails with cr::Failure.
#include "platform/ports/DeviceTypes.h"
#include "platform/ports/Handle.h"
#include "platform/ports/RegValue.h"
#include "platform/ports/Status.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ports {

// A device information set (HDEVINFO); closing it is SetupDiDestroyDeviceInfoList.
using DeviceInfoSet = Handle<struct DeviceInfoSetTag>;

// The four-byte name query of one printer family over its USB printer interface, with its waits.
struct UsbNameQuery {
    std::vector<std::uint8_t> request;
    std::uint32_t writeTimeoutMs = 1000;
    std::uint32_t pauseMs = 100;
    std::uint32_t readTimeoutMs = 1000;
    std::uint32_t maxReply = 255;
};

class DeviceTree {
public:
    virtual ~DeviceTree() = default;

    // --- SetupAPI device information sets
    // SetupDiGetClassDevsW: `classGuid` none for all classes, `enumerator` "" for none (with
    // digcf::DeviceInterface it may be a device instance ID), `flags` digcf::*.
    [[nodiscard]] virtual Status getClassDevs(const std::optional<Guid>& classGuid,
                                              std::wstring_view enumerator, std::uint32_t flags,
                                              DeviceInfoSet& out) noexcept = 0;
    // Member `index`; winerr::NoMoreItems after the last.
    [[nodiscard]] virtual Status enumDeviceInfo(DeviceInfoSet& set, std::uint32_t index,
                                                DeviceInfoData& out) noexcept = 0;
    [[nodiscard]] virtual Status enumDeviceInterfaces(DeviceInfoSet& set, const Guid& interfaceClass,
                                                      std::uint32_t index,
                                                      DeviceInterfaceData& out) noexcept = 0;
    // SetupDiGetDeviceInterfaceDetailW: the interface path and the device behind it.
    [[nodiscard]] virtual Status getDeviceInterfaceDetail(DeviceInfoSet& set,
                                                          const DeviceInterfaceData& iface,
                                                          std::wstring& devicePath,
                                                          DeviceInfoData& device) noexcept = 0;
    [[nodiscard]] virtual Status getDeviceInstanceId(DeviceInfoSet& set, const DeviceInfoData& device,
                                                     std::wstring& out) noexcept = 0;
    // SetupDiGetDeviceRegistryPropertyW by SPDRP code; a missing property is winerr::InvalidData.
    [[nodiscard]] virtual Status getDeviceRegistryProperty(DeviceInfoSet& set, const DeviceInfoData& device,
                                                           std::uint32_t spdrpCode,
                                                           RegValue& out) noexcept = 0;
    // SetupDiOpenDevRegKey (scope, key type, KEY_ALL_ACCESS) then RegQueryValueExW of one value,
    // such as "PortName" of a Bluetooth serial port.
    [[nodiscard]] virtual Status readDeviceRegistryValue(DeviceInfoSet& set, const DeviceInfoData& device,
                                                         std::uint32_t scope, std::uint32_t keyType,
                                                         std::wstring_view valueName,
                                                         RegValue& out) noexcept = 0;

    // --- device-console work (the devcon tool's update, remove and rescan)
    // SetupDiCallClassInstaller(DIF_REMOVE) with DI_REMOVEDEVICE_GLOBAL, present or not.
    [[nodiscard]] virtual Status removeDevice(DeviceInfoSet& set, const DeviceInfoData& device,
                                              bool& restartNeeded) noexcept = 0;
    // UpdateDriverForPlugAndPlayDevicesW on every present device with exactly this hardware ID.
    [[nodiscard]] virtual Status
    updateDriverForPlugAndPlayDevices(WindowId owner, std::wstring_view hardwareId, std::wstring_view infPath,
                                      std::uint32_t installFlags, bool& rebootRequired) noexcept = 0;
    // CM_Reenumerate_DevNode (the rescan runs it on the root from locateDevNode(L"", ...)).
    [[nodiscard]] virtual ConfigRet reenumerateDevNode(DevInst node, std::uint32_t flags) noexcept = 0;

    // --- Configuration Manager
    // CM_Locate_DevNodeW; an empty ID is the root. cmflag::LocatePhantom finds absent nodes too.
    [[nodiscard]] virtual ConfigRet locateDevNode(std::wstring_view instanceId, std::uint32_t flags,
                                                  DevInst& out) noexcept = 0;
    [[nodiscard]] virtual ConfigRet getParent(DevInst node, DevInst& out) noexcept = 0;
    [[nodiscard]] virtual ConfigRet getChild(DevInst node, DevInst& out) noexcept = 0;
    [[nodiscard]] virtual ConfigRet getSibling(DevInst node, DevInst& out) noexcept = 0;
    [[nodiscard]] virtual ConfigRet getDeviceId(DevInst node, std::wstring& out) noexcept = 0;
    // CM_Get_DevNode_Status: cr::NoSuchDevNode for a node that is not present.
    [[nodiscard]] virtual ConfigRet getDevNodeStatus(DevInst node, std::uint32_t& status,
                                                     std::uint32_t& problem) noexcept = 0;
    // CM_Get_DevNode_Registry_PropertyW by CM_DRP code; missing is cr::NoSuchValue.
    [[nodiscard]] virtual ConfigRet getDevNodeRegistryProperty(DevInst node, std::uint32_t cmDrpCode,
                                                               RegValue& out) noexcept = 0;
    // CM_Get_Class_Registry_PropertyW (CM_CRP codes) for a setup class.
    [[nodiscard]] virtual ConfigRet getClassRegistryProperty(const Guid& classGuid, std::uint32_t cmCrpCode,
                                                             RegValue& out) noexcept = 0;
    // CM_Get_Device_ID_ListW, with cmflag::IdListFilterEnumerator and an enumerator, or unfiltered.
    [[nodiscard]] virtual ConfigRet getDeviceIdList(std::wstring_view filter, std::uint32_t flags,
                                                    std::vector<std::wstring>& out) noexcept = 0;
    // CM_Get_Device_Interface_ListW for an interface class (and optionally one device).
    [[nodiscard]] virtual ConfigRet getDeviceInterfaceList(const Guid& interfaceClass,
                                                           std::wstring_view deviceId, std::uint32_t flags,
                                                           std::vector<std::wstring>& out) noexcept = 0;
    // CM_Enumerate_EnumeratorsW / CM_Enumerate_Classes by index; cr::NoSuchValue after the last.
    [[nodiscard]] virtual ConfigRet enumerateEnumerators(std::uint32_t index, std::wstring& out) noexcept = 0;
    [[nodiscard]] virtual ConfigRet enumerateClasses(std::uint32_t index, std::uint32_t flags,
                                                     Guid& out) noexcept = 0;

    // --- optional unified properties
    [[nodiscard]] virtual bool devNodePropertiesAvailable() noexcept = 0;
    [[nodiscard]] virtual bool classPropertiesAvailable() noexcept = 0;
    [[nodiscard]] virtual bool interfacePropertiesAvailable() noexcept = 0;
    [[nodiscard]] virtual ConfigRet getDevNodeProperty(DevInst node, const DevPropKey& key,
                                                       DevProperty& out) noexcept = 0;
    [[nodiscard]] virtual ConfigRet getClassProperty(const Guid& classGuid, const DevPropKey& key,
                                                     DevProperty& out) noexcept = 0;
    [[nodiscard]] virtual ConfigRet getDeviceInterfaceProperty(std::wstring_view interfacePath,
                                                               const DevPropKey& key,
                                                               DevProperty& out) noexcept = 0;

    // --- conveniences over the calls above
    // The DevNode record of one node (CM calls); fails only when the ID cannot be read.
    [[nodiscard]] virtual ConfigRet describe(DevInst node, DevNode& out) noexcept = 0;

    // Opens the interface path (read/write, shared, overlapped), writes the request, waits, pauses,
    // reads at most maxReply bytes, cancelling an I/O that outlives its wait. The Windows error of the
    // first failing step: the open's error, or winerr::WaitTimeout when a wait ran out.
    [[nodiscard]] virtual Status queryUsbPrinterName(std::wstring_view devicePath, const UsbNameQuery& query,
                                                     std::vector<std::uint8_t>& reply) noexcept = 0;
};

} // namespace ports
