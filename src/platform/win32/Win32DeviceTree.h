#pragma once
// The Plug and Play tree of this machine through SetupAPI, the Configuration Manager and newdev.
// The unified-property functions and the two Configuration Manager lists that Wine has only as
// placeholders are looked up at run time.
#include "platform/ports/DeviceTree.h"
#include "platform/common/HandleTable.h"
#include "platform/win32/UniqueHandle.h"

#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>

#include <vector>

namespace win32 {

struct DevInfoTraits {
    using Type = HDEVINFO;
    static Type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Type h) noexcept { ::SetupDiDestroyDeviceInfoList(h); }
};
using UniqueDevInfo = UniqueHandle<DevInfoTraits>;

class Win32DeviceTree final : public ports::DeviceTree, public ports::HandleCloser {
public:
    Win32DeviceTree();

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

    ports::Status removeDevice(ports::DeviceInfoSet& set, const ports::DeviceInfoData& device,
                               bool& restartNeeded) noexcept override;
    ports::Status updateDriverForPlugAndPlayDevices(ports::WindowId owner, std::wstring_view hardwareId,
                                                    std::wstring_view infPath, std::uint32_t installFlags,
                                                    bool& rebootRequired) noexcept override;
    ports::ConfigRet reenumerateDevNode(ports::DevInst node, std::uint32_t flags) noexcept override;

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

    bool devNodePropertiesAvailable() noexcept override { return devNodeProperty_ != nullptr; }
    bool classPropertiesAvailable() noexcept override { return classProperty_ != nullptr; }
    bool interfacePropertiesAvailable() noexcept override { return interfaceProperty_ != nullptr; }
    ports::ConfigRet getDevNodeProperty(ports::DevInst node, const ports::DevPropKey& key,
                                        ports::DevProperty& out) noexcept override;
    ports::ConfigRet getClassProperty(const ports::Guid& classGuid, const ports::DevPropKey& key,
                                      ports::DevProperty& out) noexcept override;
    ports::ConfigRet getDeviceInterfaceProperty(std::wstring_view interfacePath, const ports::DevPropKey& key,
                                                ports::DevProperty& out) noexcept override;

    ports::ConfigRet describe(ports::DevInst node, ports::DevNode& out) noexcept override;
    ports::Status queryUsbPrinterName(std::wstring_view devicePath, const ports::UsbNameQuery& query,
                                      std::vector<std::uint8_t>& reply) noexcept override;

    void closeHandle(std::uint64_t id) noexcept override { sets_.remove(id); }

private:
    // A device information set and the interfaces enumerated from it: a DeviceInterfaceData's
    // token is a position in `interfaces`, so a token from another set is refused, not followed.
    struct DevInfoSet {
        UniqueDevInfo set;
        std::vector<SP_DEVICE_INTERFACE_DATA> interfaces;
    };
    std::shared_ptr<DevInfoSet> setOf(const ports::DeviceInfoSet& h) const noexcept {
        return sets_.find(h, this);
    }
    // The SP_DEVINFO_DATA of the member with this DEVINST (the set's own record, which SetupAPI
    // checks); ERROR_NO_SUCH_DEVINST when the set has no such member.
    ports::Status memberOf(HDEVINFO set, const ports::DeviceInfoData& device, SP_DEVINFO_DATA& out);

    using DevNodePropertyFn = CONFIGRET(WINAPI*)(DEVINST, const DEVPROPKEY*, DEVPROPTYPE*, PBYTE, PULONG,
                                                 ULONG);
    using ClassPropertyFn = CONFIGRET(WINAPI*)(LPCGUID, const DEVPROPKEY*, DEVPROPTYPE*, PBYTE, PULONG,
                                               ULONG);
    using InterfacePropertyFn = CONFIGRET(WINAPI*)(LPCWSTR, const DEVPROPKEY*, DEVPROPTYPE*, PBYTE, PULONG,
                                                   ULONG);
    using EnumeratorsFn = CONFIGRET(WINAPI*)(ULONG, PWSTR, PULONG, ULONG);
    using InterfaceListFn = CONFIGRET(WINAPI*)(LPGUID, DEVINSTID_W, PWCHAR, ULONG, ULONG);

    UniqueModule cfgmgr_;
    DevNodePropertyFn devNodeProperty_ = nullptr;
    ClassPropertyFn classProperty_ = nullptr;
    InterfacePropertyFn interfaceProperty_ = nullptr;
    EnumeratorsFn enumerators_ = nullptr;
    InterfaceListFn interfaceList_ = nullptr;
    platform::HandleTable<DevInfoSet> sets_;
};

} // namespace win32
