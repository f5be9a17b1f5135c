#pragma once
// Records and constants of the Plug and Play tree as the device port gives them.
#include "platform/ports/Guid.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ports {

// A device instance handle (DEVINST). Valid while the node exists in the tree; 0 is none.
using DevInst = std::uint32_t;

// SP_DEVINFO_DATA of one member of a device information set.
struct DeviceInfoData {
    Guid classGuid;
    DevInst devInst = 0;
};

// SP_DEVICE_INTERFACE_DATA; `token` is the port's own reference to the member.
struct DeviceInterfaceData {
    Guid interfaceClassGuid;
    std::uint32_t flags = 0; // SPINT_ACTIVE 1, SPINT_DEFAULT 2, SPINT_REMOVED 4
    std::uint64_t token = 0;
};

// DEVPROPKEY and a unified property value (DEVPROP_TYPE_* and its bytes).
struct DevPropKey {
    Guid fmtid;
    std::uint32_t pid = 0;
    friend bool operator==(const DevPropKey&, const DevPropKey&) = default;
};
struct DevProperty {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;
};

// The facts about one node the wizard and the browsers look at, read in one go. Texts that the node
// lacks are "".
struct DevNode {
    DevInst devInst = 0;
    std::wstring instanceId;
    std::vector<std::wstring> hardwareIds;
    std::vector<std::wstring> compatibleIds;
    std::wstring className;
    std::wstring classGuid; // the CM_DRP_CLASSGUID text, braces included
    std::wstring service;
    std::wstring friendlyName;
    std::wstring description;
    std::wstring enumerator;
    std::wstring location;
    std::uint32_t status = 0; // DN_* bits; 0 when not present
    std::uint32_t problem = 0;
    bool present = false;
};

namespace digcf { // SetupDiGetClassDevsW flags
inline constexpr std::uint32_t Default = 0x01;
inline constexpr std::uint32_t Present = 0x02;
inline constexpr std::uint32_t AllClasses = 0x04;
inline constexpr std::uint32_t Profile = 0x08;
inline constexpr std::uint32_t DeviceInterface = 0x10;
} // namespace digcf

// SPDRP_* codes; the CM_DRP_* code of the same property is one more (cmDrp()).
namespace spdrp {
inline constexpr std::uint32_t DeviceDesc = 0x00;
inline constexpr std::uint32_t HardwareId = 0x01;
inline constexpr std::uint32_t CompatibleIds = 0x02;
inline constexpr std::uint32_t Service = 0x04;
inline constexpr std::uint32_t Class = 0x07;
inline constexpr std::uint32_t ClassGuid = 0x08;
inline constexpr std::uint32_t Driver = 0x09;
inline constexpr std::uint32_t Mfg = 0x0B;
inline constexpr std::uint32_t FriendlyName = 0x0C;
inline constexpr std::uint32_t LocationInformation = 0x0D;
inline constexpr std::uint32_t Capabilities = 0x0F;
inline constexpr std::uint32_t EnumeratorName = 0x16;
inline constexpr std::uint32_t DevicePowerData = 0x1E;
inline constexpr std::uint32_t BaseContainerId = 0x24;
} // namespace spdrp
constexpr std::uint32_t cmDrp(std::uint32_t spdrpCode) {
    return spdrpCode + 1;
}

namespace cmflag {
inline constexpr std::uint32_t LocateNormal = 0;              // CM_LOCATE_DEVNODE_NORMAL: present only
inline constexpr std::uint32_t LocatePhantom = 1;             // CM_LOCATE_DEVNODE_PHANTOM: also absent
inline constexpr std::uint32_t IdListFilterEnumerator = 1;    // CM_GETIDLIST_FILTER_ENUMERATOR
inline constexpr std::uint32_t InterfaceListPresent = 0;      // CM_GET_DEVICE_INTERFACE_LIST_PRESENT
inline constexpr std::uint32_t InterfaceListAllDevices = 1;   // ..._ALL_DEVICES
inline constexpr std::uint32_t EnumerateClassesInstaller = 0; // CM_ENUMERATE_CLASSES_INSTALLER
inline constexpr std::uint32_t EnumerateClassesInterface = 1; // CM_ENUMERATE_CLASSES_INTERFACE
inline constexpr std::uint32_t ReenumerateNormal = 0;
} // namespace cmflag

namespace devprop { // DEVPROP_TYPE_*
inline constexpr std::uint32_t Empty = 0x00;
inline constexpr std::uint32_t UInt32 = 0x07;
inline constexpr std::uint32_t Guid = 0x0D;
inline constexpr std::uint32_t FileTime = 0x10;
inline constexpr std::uint32_t Boolean = 0x11;
inline constexpr std::uint32_t String = 0x12;
inline constexpr std::uint32_t Binary = 0x1003;
inline constexpr std::uint32_t StringList = 0x2012;
} // namespace devprop

// SetupDiOpenDevRegKey scope and key type.
namespace devreg {
inline constexpr std::uint32_t ScopeGlobal = 1; // DICS_FLAG_GLOBAL
inline constexpr std::uint32_t KeyDevice = 1;   // DIREG_DEV
inline constexpr std::uint32_t KeyDriver = 2;   // DIREG_DRV
} // namespace devreg

inline constexpr std::uint32_t InstallFlagForce = 0x1; // INSTALLFLAG_FORCE

} // namespace ports
