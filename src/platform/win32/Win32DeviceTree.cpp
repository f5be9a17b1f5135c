// The SetupAPI and newdev half of the device port; the Configuration Manager half is in
// Win32ConfigManager.cpp, the USB name query in Win32UsbNameQuery.cpp.
#include "platform/win32/Win32DeviceTree.h"

#include "platform/win32/Win32Ports.h"

#include "platform/win32/EntryPoints.h"
#include "platform/win32/GuidConvert.h"
#include "platform/win32/SizedBuffer.h"
#include "platform/win32/RecordLayouts.h"

#include <newdev.h>

#include <string>

namespace win32 {
namespace {
using ports::Status;
namespace winerr = ports::winerr;

ports::DeviceInfoData deviceOf(const SP_DEVINFO_DATA& d) {
    return {fromGuid(d.ClassGuid), d.DevInst};
}

} // namespace

Win32DeviceTree::Win32DeviceTree() : cfgmgr_(LoadLibraryW(L"cfgmgr32.dll")) {
    devNodeProperty_ = entryPoint<DevNodePropertyFn>(cfgmgr_.get(), "CM_Get_DevNode_PropertyW");
    classProperty_ = entryPoint<ClassPropertyFn>(cfgmgr_.get(), "CM_Get_Class_PropertyW");
    interfaceProperty_ = entryPoint<InterfacePropertyFn>(cfgmgr_.get(), "CM_Get_Device_Interface_PropertyW");
    enumerators_ = entryPoint<EnumeratorsFn>(cfgmgr_.get(), "CM_Enumerate_EnumeratorsW");
    interfaceList_ = entryPoint<InterfaceListFn>(cfgmgr_.get(), "CM_Get_Device_Interface_ListW");
}

Status Win32DeviceTree::memberOf(HDEVINFO set, const ports::DeviceInfoData& device, SP_DEVINFO_DATA& out) {
    for (DWORD i = 0;; ++i) {
        out = SP_DEVINFO_DATA{};
        out.cbSize = sizeof out;
        if (!SetupDiEnumDeviceInfo(set, i, &out)) {
            const Status s = lastError();
            return s == ERROR_NO_MORE_ITEMS ? static_cast<Status>(ERROR_NO_SUCH_DEVINST) : s;
        }
        if (out.DevInst == device.devInst)
            return winerr::Success;
    }
}

Status Win32DeviceTree::getClassDevs(const std::optional<ports::Guid>& classGuid,
                                     std::wstring_view enumerator, std::uint32_t flags,
                                     ports::DeviceInfoSet& out) noexcept {
    out.reset();
    GUID guid{};
    if (classGuid)
        guid = toGuid(*classGuid);
    const std::wstring e(enumerator);
    UniqueDevInfo set(
        SetupDiGetClassDevsW(classGuid ? &guid : nullptr, e.empty() ? nullptr : e.c_str(), nullptr, flags));
    if (!set)
        return lastError();
    out = ports::DeviceInfoSet(*this, sets_.add(DevInfoSet{std::move(set), {}}));
    return winerr::Success;
}

Status Win32DeviceTree::enumDeviceInfo(ports::DeviceInfoSet& set, std::uint32_t index,
                                       ports::DeviceInfoData& out) noexcept {
    const auto s = setOf(set);
    if (!s)
        return ERROR_INVALID_HANDLE;
    SP_DEVINFO_DATA d{};
    d.cbSize = sizeof d;
    if (!SetupDiEnumDeviceInfo(s->set.get(), index, &d))
        return lastError();
    out = deviceOf(d);
    return winerr::Success;
}

Status Win32DeviceTree::enumDeviceInterfaces(ports::DeviceInfoSet& set, const ports::Guid& interfaceClass,
                                             std::uint32_t index, ports::DeviceInterfaceData& out) noexcept {
    const auto s = setOf(set);
    if (!s)
        return ERROR_INVALID_HANDLE;
    const GUID guid = toGuid(interfaceClass);
    SP_DEVICE_INTERFACE_DATA d{};
    d.cbSize = sizeof d;
    if (!SetupDiEnumDeviceInterfaces(s->set.get(), nullptr, &guid, index, &d))
        return lastError();
    s->interfaces.push_back(d);
    out = {fromGuid(d.InterfaceClassGuid), d.Flags, s->interfaces.size()};
    return winerr::Success;
}

Status Win32DeviceTree::getDeviceInterfaceDetail(ports::DeviceInfoSet& set,
                                                 const ports::DeviceInterfaceData& iface,
                                                 std::wstring& devicePath,
                                                 ports::DeviceInfoData& device) noexcept {
    devicePath.clear();
    const auto s = setOf(set);
    if (!s)
        return ERROR_INVALID_HANDLE;
    if (iface.token == 0 || iface.token > s->interfaces.size())
        return ERROR_INVALID_PARAMETER;
    SP_DEVICE_INTERFACE_DATA d = s->interfaces[iface.token - 1];
    SP_DEVINFO_DATA member{};
    member.cbSize = sizeof member;
    RecordBuffer buf;
    if (Status st = fillRecordBuffer(buf, [&](BYTE* b, DWORD size, DWORD* needed) {
            auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(b);
            if (detail)
                detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
            return SetupDiGetDeviceInterfaceDetailW(s->set.get(), &d, detail, size, needed, &member);
        }))
        return st;
    devicePath = reinterpret_cast<const SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(bytes(buf))->DevicePath;
    device = deviceOf(member);
    return winerr::Success;
}

Status Win32DeviceTree::getDeviceInstanceId(ports::DeviceInfoSet& set, const ports::DeviceInfoData& device,
                                            std::wstring& out) noexcept {
    out.clear();
    const auto s = setOf(set);
    if (!s)
        return ERROR_INVALID_HANDLE;
    SP_DEVINFO_DATA d;
    if (Status st = memberOf(s->set.get(), device, d))
        return st;
    std::vector<wchar_t> id;
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD required = 0;
        if (SetupDiGetDeviceInstanceIdW(s->set.get(), &d, id.empty() ? nullptr : id.data(),
                                        static_cast<DWORD>(id.size()), &required)) {
            out.assign(id.data());
            return winerr::Success;
        }
        const Status st = lastError();
        if (st != ERROR_INSUFFICIENT_BUFFER)
            return st;
        id.assign(required > id.size() ? required : id.size() * 2 + 16, L'\0');
    }
    return ERROR_INSUFFICIENT_BUFFER;
}

Status Win32DeviceTree::getDeviceRegistryProperty(ports::DeviceInfoSet& set,
                                                  const ports::DeviceInfoData& device,
                                                  std::uint32_t spdrpCode, ports::RegValue& out) noexcept {
    const auto s = setOf(set);
    if (!s)
        return ERROR_INVALID_HANDLE;
    SP_DEVINFO_DATA d;
    if (Status st = memberOf(s->set.get(), device, d))
        return st;
    RecordBuffer buf;
    DWORD type = 0, length = 0;
    if (Status st = fillRecordBuffer(buf, [&](BYTE* b, DWORD size, DWORD* needed) {
            const BOOL ok =
                SetupDiGetDeviceRegistryPropertyW(s->set.get(), &d, spdrpCode, &type, b, size, needed);
            length = *needed;
            return ok;
        }))
        return st;
    const BYTE* p = bytes(buf);
    out = {type, p ? std::vector<std::uint8_t>(p, p + length) : std::vector<std::uint8_t>{}};
    return winerr::Success;
}

Status Win32DeviceTree::readDeviceRegistryValue(ports::DeviceInfoSet& set,
                                                const ports::DeviceInfoData& device, std::uint32_t scope,
                                                std::uint32_t keyType, std::wstring_view valueName,
                                                ports::RegValue& out) noexcept {
    const auto s = setOf(set);
    if (!s)
        return ERROR_INVALID_HANDLE;
    SP_DEVINFO_DATA d;
    if (Status st = memberOf(s->set.get(), device, d))
        return st;
    HKEY opened = SetupDiOpenDevRegKey(s->set.get(), &d, scope, 0, keyType, KEY_ALL_ACCESS);
    if (opened == INVALID_HANDLE_VALUE)
        return lastError();
    UniqueRegKey key(opened);
    const std::wstring name(valueName);
    std::vector<std::uint8_t> data;
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD type = 0, size = static_cast<DWORD>(data.size());
        const LSTATUS rc = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                                            data.empty() ? nullptr : data.data(), &size);
        if (rc == ERROR_SUCCESS && (!data.empty() || size == 0)) {
            data.resize(size);
            out = {type, std::move(data)};
            return winerr::Success;
        }
        if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA)
            return static_cast<Status>(rc);
        data.assign(size > data.size() ? size : data.size() * 2 + 16, 0);
    }
    return ERROR_MORE_DATA;
}

Status Win32DeviceTree::removeDevice(ports::DeviceInfoSet& set, const ports::DeviceInfoData& device,
                                     bool& restartNeeded) noexcept {
    restartNeeded = false;
    const auto s = setOf(set);
    if (!s)
        return ERROR_INVALID_HANDLE;
    SP_DEVINFO_DATA d;
    if (Status st = memberOf(s->set.get(), device, d))
        return st;
    SP_REMOVEDEVICE_PARAMS params{};
    params.ClassInstallHeader.cbSize = sizeof(SP_CLASSINSTALL_HEADER);
    params.ClassInstallHeader.InstallFunction = DIF_REMOVE;
    params.Scope = DI_REMOVEDEVICE_GLOBAL;
    params.HwProfile = 0;
    // Wine refuses the parameters; global removal is also what DIF_REMOVE does without them, so the
    // class installer is called either way and its own result counts.
    (void)SetupDiSetClassInstallParamsW(s->set.get(), &d, &params.ClassInstallHeader, sizeof params);
    if (!SetupDiCallClassInstaller(DIF_REMOVE, s->set.get(), &d))
        return lastError();
    SP_DEVINSTALL_PARAMS_W install{};
    install.cbSize = sizeof install;
    if (SetupDiGetDeviceInstallParamsW(s->set.get(), &d, &install))
        restartNeeded = (install.Flags & (DI_NEEDRESTART | DI_NEEDREBOOT)) != 0;
    return winerr::Success;
}

Status Win32DeviceTree::updateDriverForPlugAndPlayDevices(ports::WindowId owner, std::wstring_view hardwareId,
                                                          std::wstring_view infPath,
                                                          std::uint32_t installFlags,
                                                          bool& rebootRequired) noexcept {
    rebootRequired = false;
    const std::wstring id(hardwareId), inf(infPath);
    BOOL reboot = FALSE;
    if (!UpdateDriverForPlugAndPlayDevicesW(reinterpret_cast<HWND>(owner), id.c_str(), inf.c_str(),
                                            installFlags, &reboot))
        return lastError();
    rebootRequired = reboot != FALSE;
    return winerr::Success;
}

std::unique_ptr<ports::DeviceTree> makeWin32DeviceTree() {
    return std::make_unique<Win32DeviceTree>();
}

} // namespace win32
