// The simulated tree's SetupAPI side: device information sets and what they tell about members.
#include "platform/sim/SimDeviceTree.h"

#include "base/Compare.h"
#include "platform/sim/SimDevNodes.h"
#include "platform/sim/SimJson.h"
#include "platform/sim/SimPrintSystem.h"

namespace sim {
namespace winerr = ports::winerr;
namespace digcf = ports::digcf;
using ports::Status;

Status SimDeviceTree::fault(const char* operation) {
    return machine_.fault(operation);
}

template <typename F>
Status SimDeviceTree::withMember(ports::DeviceInfoSet& set, const ports::DeviceInfoData& device, F&& fn) {
    if (!sets_.find(set, this))
        return winerr::InvalidHandle;
    return machine_.read([&](const Json& s) -> Status {
        bool root = false;
        const Json* node = nodeByDevInst(s, device.devInst, root);
        if (!node)
            return winerr::NoSuchDevinst;
        return fn(s, *node);
    });
}

Status SimDeviceTree::getClassDevs(const std::optional<ports::Guid>& classGuid, std::wstring_view enumerator,
                                   std::uint32_t flags, ports::DeviceInfoSet& out) noexcept {
    out.reset();
    if (Status f = fault("SetupDiGetClassDevsW"))
        return f;
    const bool interfaces = flags & digcf::DeviceInterface;
    const bool allClasses = flags & digcf::AllClasses;
    if (!classGuid && !allClasses)
        return winerr::InvalidParameter;
    const std::wstring guid = classGuid ? guidText(*classGuid) : std::wstring();
    Set set;
    const Status result = machine_.read([&](const Json& s) -> Status {
        // The enumerator names a bus, or (for interface sets) one device instance.
        bool byInstance = false;
        if (!enumerator.empty()) {
            bool known = false;
            for (const auto& e : enumerators(s))
                known = known || text::equalsNoCase(e, enumerator);
            byInstance = interfaces && findNode(s, enumerator);
            if (!known && !byInstance)
                return winerr::InvalidData;
        }
        const Json& nodes = nodesOf(s);
        if (!nodes.is_array())
            return winerr::Success;
        for (const auto& n : nodes) {
            const std::wstring id = instanceIdOf(n);
            if ((flags & digcf::Present) && !presentOf(n))
                continue;
            if (!enumerator.empty() && !(byInstance ? text::equalsNoCase(id, enumerator)
                                                    : text::equalsNoCase(enumeratorOf(id), enumerator)))
                continue;
            if (!interfaces) {
                if (allClasses || text::equalsNoCase(classGuidOf(n), guid))
                    set.devices.push_back(id);
                continue;
            }
            bool any = false;
            for (const auto& ic : interfacesOf(n)) {
                if (allClasses || text::equalsNoCase(ic, guid)) {
                    set.interfaces.push_back({id, ic, interfacePath(id, ic), presentOf(n)});
                    any = true;
                }
            }
            if (any)
                set.devices.push_back(id);
        }
        return winerr::Success;
    });
    if (result == winerr::Success)
        out = ports::DeviceInfoSet(*this, sets_.add(std::move(set)));
    return result;
}

Status SimDeviceTree::enumDeviceInfo(ports::DeviceInfoSet& set, std::uint32_t index,
                                     ports::DeviceInfoData& out) noexcept {
    out = {};
    auto s = sets_.find(set, this);
    if (!s)
        return winerr::InvalidHandle;
    if (index >= s->devices.size())
        return winerr::NoMoreItems;
    const std::wstring& id = s->devices[index];
    out.devInst = devInstOf(id);
    const std::wstring guid = machine_.read([&](const Json& st) {
        const Json* n = findNode(st, id);
        return n ? classGuidOf(*n) : std::wstring();
    });
    if (auto g = ports::parseGuid(guid))
        out.classGuid = *g;
    return winerr::Success;
}

Status SimDeviceTree::enumDeviceInterfaces(ports::DeviceInfoSet& set, const ports::Guid& interfaceClass,
                                           std::uint32_t index, ports::DeviceInterfaceData& out) noexcept {
    out = {};
    auto s = sets_.find(set, this);
    if (!s)
        return winerr::InvalidHandle;
    if (Status f = fault("SetupDiEnumDeviceInterfaces"))
        return f;
    const std::wstring guid = guidText(interfaceClass);
    std::uint32_t seen = 0;
    for (std::size_t i = 0; i < s->interfaces.size(); ++i) {
        if (!text::equalsNoCase(s->interfaces[i].interfaceClass, guid))
            continue;
        if (seen++ == index) {
            out.interfaceClassGuid = interfaceClass;
            out.flags = s->interfaces[i].active ? 1u : 0u; // SPINT_ACTIVE
            out.token = i;
            return winerr::Success;
        }
    }
    return winerr::NoMoreItems;
}

Status SimDeviceTree::getDeviceInterfaceDetail(ports::DeviceInfoSet& set,
                                               const ports::DeviceInterfaceData& iface,
                                               std::wstring& devicePath,
                                               ports::DeviceInfoData& device) noexcept {
    devicePath.clear();
    device = {};
    auto s = sets_.find(set, this);
    if (!s)
        return winerr::InvalidHandle;
    if (Status f = fault("SetupDiGetDeviceInterfaceDetailW"))
        return f;
    if (iface.token >= s->interfaces.size())
        return winerr::NoSuchDeviceInterface;
    const Interface& i = s->interfaces[static_cast<std::size_t>(iface.token)];
    devicePath = i.path;
    device.devInst = devInstOf(i.instanceId);
    const std::wstring guid = machine_.read([&](const Json& st) {
        const Json* n = findNode(st, i.instanceId);
        return n ? classGuidOf(*n) : std::wstring();
    });
    if (auto g = ports::parseGuid(guid))
        device.classGuid = *g;
    return winerr::Success;
}

Status SimDeviceTree::getDeviceInstanceId(ports::DeviceInfoSet& set, const ports::DeviceInfoData& device,
                                          std::wstring& out) noexcept {
    out.clear();
    if (Status f = fault("SetupDiGetDeviceInstanceIdW"))
        return f;
    return withMember(set, device, [&](const Json&, const Json& node) {
        out = instanceIdOf(node);
        return winerr::Success;
    });
}

Status SimDeviceTree::getDeviceRegistryProperty(ports::DeviceInfoSet& set,
                                                const ports::DeviceInfoData& device, std::uint32_t spdrpCode,
                                                ports::RegValue& out) noexcept {
    out = {};
    if (Status f = fault("SetupDiGetDeviceRegistryPropertyW"))
        return f;
    if (!knownRegistryProperty(spdrpCode))
        return winerr::InvalidRegProperty;
    return withMember(set, device, [&](const Json&, const Json& node) {
        auto v = registryProperty(node, spdrpCode);
        if (!v)
            return winerr::InvalidData;
        out = std::move(*v);
        return winerr::Success;
    });
}

Status SimDeviceTree::readDeviceRegistryValue(ports::DeviceInfoSet& set, const ports::DeviceInfoData& device,
                                              std::uint32_t, std::uint32_t keyType,
                                              std::wstring_view valueName, ports::RegValue& out) noexcept {
    out = {};
    if (Status f = fault("SetupDiOpenDevRegKey"))
        return f;
    if (Status f = fault("RegQueryValueExW"))
        return f;
    return withMember(set, device, [&](const Json&, const Json& node) -> Status {
        const Json& key = memberOf(node, keyType == ports::devreg::KeyDriver ? "driverKey" : "deviceKey");
        if (!key.is_object())
            return ports::winerr::KeyDoesNotExist;
        const Json* v = findMember(key, valueName);
        if (!v)
            return winerr::FileNotFound;
        out = regFromJson(*v);
        return winerr::Success;
    });
}

} // namespace sim
