// The Configuration Manager half of the device port.
#include "platform/win32/Win32DeviceTree.h"

#include "platform/win32/GuidConvert.h"

#include <string>

namespace win32 {
namespace {
using ports::ConfigRet;
namespace cr = ports::cr;

std::vector<std::wstring> listOf(const std::vector<wchar_t>& buf) {
    std::vector<std::wstring> out;
    std::size_t at = 0;
    while (at < buf.size() && buf[at]) {
        std::wstring item(buf.data() + at);
        at += item.size() + 1;
        out.push_back(std::move(item));
    }
    return out;
}

// A CM_* call in the size-query convention: `call(buffer, length)` with the length in bytes
// (registry and unified properties) answers CR_BUFFER_SMALL and the length it needs.
template <typename Call> ConfigRet sizedBytes(std::vector<std::uint8_t>& data, Call call) {
    data.clear();
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG length = static_cast<ULONG>(data.size());
        const ConfigRet r = call(data.empty() ? nullptr : data.data(), &length);
        if (r == cr::Success) {
            data.resize(std::min<std::size_t>(length, data.size()));
            return r;
        }
        if (r != cr::BufferSmall)
            return r;
        data.assign(length > data.size() ? length : data.size() * 2 + 16, 0);
    }
    return cr::BufferSmall;
}

} // namespace

ConfigRet Win32DeviceTree::reenumerateDevNode(ports::DevInst node, std::uint32_t flags) noexcept {
    return CM_Reenumerate_DevNode(node, flags);
}

ConfigRet Win32DeviceTree::locateDevNode(std::wstring_view instanceId, std::uint32_t flags,
                                         ports::DevInst& out) noexcept {
    std::wstring id(instanceId);
    DEVINST node = 0;
    const ConfigRet r = CM_Locate_DevNodeW(&node, id.empty() ? nullptr : id.data(), flags);
    if (r == cr::Success)
        out = node;
    return r;
}

ConfigRet Win32DeviceTree::getParent(ports::DevInst node, ports::DevInst& out) noexcept {
    DEVINST n = 0;
    const ConfigRet r = CM_Get_Parent(&n, node, 0);
    if (r == cr::Success)
        out = n;
    return r;
}

ConfigRet Win32DeviceTree::getChild(ports::DevInst node, ports::DevInst& out) noexcept {
    DEVINST n = 0;
    const ConfigRet r = CM_Get_Child(&n, node, 0);
    if (r == cr::Success)
        out = n;
    return r;
}

ConfigRet Win32DeviceTree::getSibling(ports::DevInst node, ports::DevInst& out) noexcept {
    DEVINST n = 0;
    const ConfigRet r = CM_Get_Sibling(&n, node, 0);
    if (r == cr::Success)
        out = n;
    return r;
}

ConfigRet Win32DeviceTree::getDeviceId(ports::DevInst node, std::wstring& out) noexcept {
    out.clear();
    ULONG length = 0;
    if (ConfigRet r = CM_Get_Device_ID_Size(&length, node, 0))
        return r;
    std::vector<wchar_t> id(length + 1, L'\0');
    if (ConfigRet r = CM_Get_Device_IDW(node, id.data(), static_cast<ULONG>(id.size()), 0))
        return r;
    out.assign(id.data());
    return cr::Success;
}

ConfigRet Win32DeviceTree::getDevNodeStatus(ports::DevInst node, std::uint32_t& status,
                                            std::uint32_t& problem) noexcept {
    ULONG s = 0, p = 0;
    const ConfigRet r = CM_Get_DevNode_Status(&s, &p, node, 0);
    if (r == cr::Success) {
        status = s;
        problem = p;
    }
    return r;
}

ConfigRet Win32DeviceTree::getDevNodeRegistryProperty(ports::DevInst node, std::uint32_t cmDrpCode,
                                                      ports::RegValue& out) noexcept {
    ULONG type = 0;
    std::vector<std::uint8_t> data;
    const ConfigRet r = sizedBytes(data, [&](std::uint8_t* b, ULONG* length) {
        return CM_Get_DevNode_Registry_PropertyW(node, cmDrpCode, &type, b, length, 0);
    });
    if (r == cr::Success)
        out = {type, std::move(data)};
    return r;
}

ConfigRet Win32DeviceTree::getClassRegistryProperty(const ports::Guid& classGuid, std::uint32_t cmCrpCode,
                                                    ports::RegValue& out) noexcept {
    GUID guid = toGuid(classGuid);
    ULONG type = 0;
    std::vector<std::uint8_t> data;
    const ConfigRet r = sizedBytes(data, [&](std::uint8_t* b, ULONG* length) {
        return CM_Get_Class_Registry_PropertyW(&guid, cmCrpCode, &type, b, length, 0, nullptr);
    });
    if (r == cr::Success)
        out = {type, std::move(data)};
    return r;
}

ConfigRet Win32DeviceTree::getDeviceIdList(std::wstring_view filter, std::uint32_t flags,
                                           std::vector<std::wstring>& out) noexcept {
    out.clear();
    const std::wstring f(filter);
    const wchar_t* filterOrNull = f.empty() ? nullptr : f.c_str();
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG length = 0;
        if (ConfigRet r = CM_Get_Device_ID_List_SizeW(&length, filterOrNull, flags))
            return r;
        std::vector<wchar_t> list(length + 1, L'\0');
        const ConfigRet r =
            CM_Get_Device_ID_ListW(filterOrNull, list.data(), static_cast<ULONG>(list.size()), flags);
        if (r == cr::BufferSmall)
            continue; // a device arrived between the two calls
        if (r == cr::Success)
            out = listOf(list);
        return r;
    }
    return cr::BufferSmall;
}

ConfigRet Win32DeviceTree::getDeviceInterfaceList(const ports::Guid& interfaceClass,
                                                  std::wstring_view deviceId, std::uint32_t flags,
                                                  std::vector<std::wstring>& out) noexcept {
    out.clear();
    if (!interfaceList_)
        return cr::CallNotImplemented;
    GUID guid = toGuid(interfaceClass);
    std::wstring id(deviceId);
    wchar_t* idOrNull = id.empty() ? nullptr : id.data();
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG length = 0;
        if (ConfigRet r = CM_Get_Device_Interface_List_SizeW(&length, &guid, idOrNull, flags))
            return r;
        std::vector<wchar_t> list(length + 1, L'\0');
        const ConfigRet r =
            interfaceList_(&guid, idOrNull, list.data(), static_cast<ULONG>(list.size()), flags);
        if (r == cr::BufferSmall)
            continue;
        if (r == cr::Success)
            out = listOf(list);
        return r;
    }
    return cr::BufferSmall;
}

ConfigRet Win32DeviceTree::enumerateEnumerators(std::uint32_t index, std::wstring& out) noexcept {
    out.clear();
    if (!enumerators_)
        return cr::CallNotImplemented;
    std::vector<wchar_t> name(1024, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        ULONG length = static_cast<ULONG>(name.size());
        const ConfigRet r = enumerators_(index, name.data(), &length, 0);
        if (r == cr::Success) {
            out.assign(name.data());
            return r;
        }
        if (r != cr::BufferSmall)
            return r;
        name.assign(length > name.size() ? length : name.size() * 2, L'\0');
    }
    return cr::BufferSmall;
}

ConfigRet Win32DeviceTree::enumerateClasses(std::uint32_t index, std::uint32_t flags,
                                            ports::Guid& out) noexcept {
    GUID guid{};
    const ConfigRet r = CM_Enumerate_Classes(index, &guid, flags);
    if (r == cr::Success)
        out = fromGuid(guid);
    return r;
}

ConfigRet Win32DeviceTree::getDevNodeProperty(ports::DevInst node, const ports::DevPropKey& key,
                                              ports::DevProperty& out) noexcept {
    if (!devNodeProperty_)
        return cr::CallNotImplemented;
    const DEVPROPKEY k{toGuid(key.fmtid), key.pid};
    DEVPROPTYPE type = 0;
    std::vector<std::uint8_t> data;
    const ConfigRet r = sizedBytes(data, [&](std::uint8_t* b, ULONG* length) {
        return devNodeProperty_(node, &k, &type, b, length, 0);
    });
    if (r == cr::Success)
        out = {type, std::move(data)};
    return r;
}

ConfigRet Win32DeviceTree::getClassProperty(const ports::Guid& classGuid, const ports::DevPropKey& key,
                                            ports::DevProperty& out) noexcept {
    if (!classProperty_)
        return cr::CallNotImplemented;
    const GUID guid = toGuid(classGuid);
    const DEVPROPKEY k{toGuid(key.fmtid), key.pid};
    DEVPROPTYPE type = 0;
    std::vector<std::uint8_t> data;
    const ConfigRet r = sizedBytes(data, [&](std::uint8_t* b, ULONG* length) {
        return classProperty_(&guid, &k, &type, b, length, CM_CLASS_PROPERTY_INSTALLER);
    });
    if (r == cr::Success)
        out = {type, std::move(data)};
    return r;
}

ConfigRet Win32DeviceTree::getDeviceInterfaceProperty(std::wstring_view interfacePath,
                                                      const ports::DevPropKey& key,
                                                      ports::DevProperty& out) noexcept {
    if (!interfaceProperty_)
        return cr::CallNotImplemented;
    const std::wstring path(interfacePath);
    const DEVPROPKEY k{toGuid(key.fmtid), key.pid};
    DEVPROPTYPE type = 0;
    std::vector<std::uint8_t> data;
    const ConfigRet r = sizedBytes(data, [&](std::uint8_t* b, ULONG* length) {
        return interfaceProperty_(path.c_str(), &k, &type, b, length, 0);
    });
    if (r == cr::Success)
        out = {type, std::move(data)};
    return r;
}

ConfigRet Win32DeviceTree::describe(ports::DevInst node, ports::DevNode& out) noexcept {
    out = ports::DevNode{};
    out.devInst = node;
    if (ConfigRet r = getDeviceId(node, out.instanceId))
        return r;
    auto text = [&](std::uint32_t spdrpCode) {
        ports::RegValue v;
        return getDevNodeRegistryProperty(node, ports::cmDrp(spdrpCode), v) == cr::Success ? v.asString()
                                                                                           : std::wstring();
    };
    auto list = [&](std::uint32_t spdrpCode) {
        ports::RegValue v;
        return getDevNodeRegistryProperty(node, ports::cmDrp(spdrpCode), v) == cr::Success
                   ? v.asMultiString()
                   : std::vector<std::wstring>();
    };
    namespace spdrp = ports::spdrp;
    out.hardwareIds = list(spdrp::HardwareId);
    out.compatibleIds = list(spdrp::CompatibleIds);
    out.className = text(spdrp::Class);
    out.classGuid = text(spdrp::ClassGuid);
    out.service = text(spdrp::Service);
    out.friendlyName = text(spdrp::FriendlyName);
    out.description = text(spdrp::DeviceDesc);
    out.enumerator = text(spdrp::EnumeratorName);
    out.location = text(spdrp::LocationInformation);
    std::uint32_t status = 0, problem = 0;
    if (getDevNodeStatus(node, status, problem) == cr::Success) {
        out.present = true;
        out.status = status;
        out.problem = problem;
    }
    return cr::Success;
}

} // namespace win32
