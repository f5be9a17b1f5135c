// The simulated tree's Configuration Manager side: walking the tree, node facts, lists and the
// unified properties.
#include "platform/sim/SimDeviceTree.h"

#include "base/Compare.h"
#include "platform/sim/SimDevNodes.h"
#include "platform/sim/SimJson.h"

#include <algorithm>

namespace sim {
namespace cr = ports::cr;
using ports::ConfigRet;
using ports::DevInst;

namespace {

// The tree's walk order: the nodes of a parent in list order; from a present node only present
// nodes are seen, as the live tree holds only those.
const Json* findChild(const Json& state, std::wstring_view parent, bool presentOnly, const Json* after) {
    const Json& nodes = nodesOf(state);
    if (!nodes.is_array())
        return nullptr;
    bool passed = after == nullptr;
    for (const auto& n : nodes) {
        if (!passed) {
            passed = &n == after;
            continue;
        }
        if (text::equalsNoCase(parentIdOf(n), parent) && (!presentOnly || presentOf(n)))
            return &n;
    }
    return nullptr;
}

// DEVPKEY fmtids the simulation answers.
const ports::Guid kDeviceProps = *ports::parseGuid(L"{A45C254E-DF1C-4EFD-8020-67D146A850E0}");
const ports::Guid kInstanceId = *ports::parseGuid(L"{78C34FC8-104A-4ACA-9EA4-524D52996E57}");
const ports::Guid kRelations = *ports::parseGuid(L"{4340A6C5-93FA-4706-972C-7B648008A5A7}");
const ports::Guid kPresence = *ports::parseGuid(L"{540B947E-8B40-45BC-A8A2-6A0B894CBDA2}");
const ports::Guid kClassProps = *ports::parseGuid(L"{259ABFFC-50A7-47CE-AF08-68C9A7D73366}");
const ports::Guid kInterfaceProps = *ports::parseGuid(L"{026E516E-B814-414B-83CD-856D6FEF4822}");

ports::DevProperty stringProp(std::wstring_view text) {
    auto bytes = ports::utf16leBytes(text);
    bytes.insert(bytes.end(), {0, 0});
    return {ports::devprop::String, std::move(bytes)};
}
ports::DevProperty listProp(const std::vector<std::wstring>& list) {
    return {ports::devprop::StringList, ports::RegValue::fromMultiString(list).bytes};
}
ports::DevProperty u32Prop(std::uint32_t v) {
    return {ports::devprop::UInt32, ports::RegValue::fromDword(v).bytes};
}
ports::DevProperty boolProp(bool v) {
    return {ports::devprop::Boolean, {static_cast<std::uint8_t>(v ? 0xFF : 0)}};
}
ports::DevProperty guidProp(std::wstring_view text) {
    const auto g = ports::parseGuid(text).value_or(ports::Guid{});
    std::vector<std::uint8_t> b;
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(g.data1 >> (8 * i)));
    for (int i = 0; i < 2; ++i)
        b.push_back(static_cast<std::uint8_t>(g.data2 >> (8 * i)));
    for (int i = 0; i < 2; ++i)
        b.push_back(static_cast<std::uint8_t>(g.data3 >> (8 * i)));
    b.insert(b.end(), g.data4.begin(), g.data4.end());
    return {ports::devprop::Guid, std::move(b)};
}

std::vector<std::wstring> childrenOf(const Json& state, std::wstring_view id) {
    std::vector<std::wstring> out;
    const Json& nodes = nodesOf(state);
    if (nodes.is_array()) {
        for (const auto& n : nodes) {
            if (text::equalsNoCase(parentIdOf(n), id))
                out.push_back(instanceIdOf(n));
        }
    }
    return out;
}

} // namespace

std::vector<std::wstring> SimDeviceTree::enumerators(const Json& state) const {
    std::vector<std::wstring> out = {L"ACPI", L"BTH", L"BTHENUM", L"HTREE", L"PCI",
                                     L"ROOT", L"SW",  L"SWD",     L"USB",   L"USBPRINT"};
    const Json& nodes = nodesOf(state);
    if (nodes.is_array()) {
        for (const auto& n : nodes) {
            const std::wstring e = text::toUpper(enumeratorOf(instanceIdOf(n)));
            if (std::find(out.begin(), out.end(), e) == out.end())
                out.push_back(e);
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::wstring> SimDeviceTree::classes(const Json& state, bool interfaces) const {
    std::vector<std::wstring> out;
    if (!interfaces) {
        for (const auto& c : knownClasses())
            out.push_back(c.guid);
    }
    const Json& nodes = nodesOf(state);
    if (nodes.is_array()) {
        for (const auto& n : nodes) {
            std::vector<std::wstring> found =
                interfaces ? interfacesOf(n) : std::vector<std::wstring>{classGuidOf(n)};
            for (auto& g : found) {
                if (!g.empty() && std::find(out.begin(), out.end(), g) == out.end())
                    out.push_back(g);
            }
        }
    }
    return out;
}

ConfigRet SimDeviceTree::locateDevNode(std::wstring_view instanceId, std::uint32_t flags,
                                       DevInst& out) noexcept {
    out = 0;
    if (ConfigRet f = machine_.fault("CM_Locate_DevNodeW"))
        return f;
    if (instanceId.empty() || text::equalsNoCase(instanceId, kRootId)) {
        out = devInstOf(kRootId);
        return cr::Success;
    }
    return machine_.read([&](const Json& s) -> ConfigRet {
        const Json* n = findNode(s, instanceId);
        if (!n || (!presentOf(*n) && !(flags & ports::cmflag::LocatePhantom)))
            return cr::NoSuchDevNode;
        out = devInstOf(instanceIdOf(*n));
        return cr::Success;
    });
}

ConfigRet SimDeviceTree::getParent(DevInst node, DevInst& out) noexcept {
    out = 0;
    return machine_.read([&](const Json& s) -> ConfigRet {
        bool root = false;
        const Json* n = nodeByDevInst(s, node, root);
        if (root)
            return cr::NoSuchDevNode;
        if (!n)
            return cr::InvalidDevNode;
        const std::wstring parent = parentIdOf(*n);
        if (!text::equalsNoCase(parent, kRootId) && !findNode(s, parent))
            return cr::NoSuchDevNode;
        out = devInstOf(parent);
        return cr::Success;
    });
}

ConfigRet SimDeviceTree::getChild(DevInst node, DevInst& out) noexcept {
    out = 0;
    return machine_.read([&](const Json& s) -> ConfigRet {
        bool root = false;
        const Json* n = nodeByDevInst(s, node, root);
        if (!n && !root)
            return cr::InvalidDevNode;
        const std::wstring id = root ? std::wstring(kRootId) : instanceIdOf(*n);
        const Json* child = findChild(s, id, root || presentOf(*n), nullptr);
        if (!child)
            return cr::NoSuchDevNode;
        out = devInstOf(instanceIdOf(*child));
        return cr::Success;
    });
}

ConfigRet SimDeviceTree::getSibling(DevInst node, DevInst& out) noexcept {
    out = 0;
    return machine_.read([&](const Json& s) -> ConfigRet {
        bool root = false;
        const Json* n = nodeByDevInst(s, node, root);
        if (root)
            return cr::NoSuchDevNode;
        if (!n)
            return cr::InvalidDevNode;
        const Json* next = findChild(s, parentIdOf(*n), presentOf(*n), n);
        if (!next)
            return cr::NoSuchDevNode;
        out = devInstOf(instanceIdOf(*next));
        return cr::Success;
    });
}

ConfigRet SimDeviceTree::getDeviceId(DevInst node, std::wstring& out) noexcept {
    out.clear();
    return machine_.read([&](const Json& s) -> ConfigRet {
        bool root = false;
        const Json* n = nodeByDevInst(s, node, root);
        if (!n && !root)
            return cr::InvalidDevNode;
        out = root ? std::wstring(kRootId) : instanceIdOf(*n);
        return cr::Success;
    });
}

ConfigRet SimDeviceTree::getDevNodeStatus(DevInst node, std::uint32_t& status,
                                          std::uint32_t& problem) noexcept {
    status = problem = 0;
    if (ConfigRet f = machine_.fault("CM_Get_DevNode_Status"))
        return f;
    return machine_.read([&](const Json& s) -> ConfigRet {
        bool root = false;
        const Json* n = nodeByDevInst(s, node, root);
        if (root) {
            status = 0x0180200A;
            return cr::Success;
        }
        if (!n)
            return cr::InvalidDevNode;
        if (!presentOf(*n))
            return cr::NoSuchDevNode;
        statusOf(*n, status, problem);
        return cr::Success;
    });
}

ConfigRet SimDeviceTree::getDevNodeRegistryProperty(DevInst node, std::uint32_t cmDrpCode,
                                                    ports::RegValue& out) noexcept {
    out = {};
    if (cmDrpCode == 0 || !knownRegistryProperty(cmDrpCode - 1))
        return cr::InvalidProperty;
    if (ConfigRet f = machine_.fault("CM_Get_DevNode_Registry_PropertyW"))
        return f;
    return machine_.read([&](const Json& s) -> ConfigRet {
        bool root = false;
        const Json* n = nodeByDevInst(s, node, root);
        if (root)
            return cr::NoSuchValue;
        if (!n)
            return cr::InvalidDevNode;
        auto v = registryProperty(*n, cmDrpCode - 1);
        if (!v)
            return cr::NoSuchValue;
        out = std::move(*v);
        return cr::Success;
    });
}

ConfigRet SimDeviceTree::getClassRegistryProperty(const ports::Guid& classGuid, std::uint32_t,
                                                  ports::RegValue& out) noexcept {
    out = {};
    const std::wstring g = guidText(classGuid);
    for (const auto& c : knownClasses()) {
        if (c.guid == g)
            return cr::NoSuchValue; // the classes here set none of those values
    }
    return cr::NoSuchRegistryKey;
}

ConfigRet SimDeviceTree::getDeviceIdList(std::wstring_view filter, std::uint32_t flags,
                                         std::vector<std::wstring>& out) noexcept {
    out.clear();
    if (ConfigRet f = machine_.fault("CM_Get_Device_ID_ListW"))
        return f;
    const bool byEnumerator = flags & ports::cmflag::IdListFilterEnumerator;
    if (!byEnumerator)
        out.push_back(std::wstring(kRootId));
    machine_.read([&](const Json& s) {
        const Json& nodes = nodesOf(s);
        if (!nodes.is_array())
            return;
        for (const auto& n : nodes) {
            const std::wstring id = instanceIdOf(n);
            if (!byEnumerator || text::equalsNoCase(enumeratorOf(id), filter))
                out.push_back(id);
        }
    });
    return cr::Success;
}

ConfigRet SimDeviceTree::getDeviceInterfaceList(const ports::Guid& interfaceClass, std::wstring_view deviceId,
                                                std::uint32_t flags,
                                                std::vector<std::wstring>& out) noexcept {
    out.clear();
    if (ConfigRet f = machine_.fault("CM_Get_Device_Interface_ListW"))
        return f;
    const std::wstring guid = guidText(interfaceClass);
    const bool all = flags & ports::cmflag::InterfaceListAllDevices;
    machine_.read([&](const Json& s) {
        const Json& nodes = nodesOf(s);
        if (!nodes.is_array())
            return;
        for (const auto& n : nodes) {
            const std::wstring id = instanceIdOf(n);
            if ((!all && !presentOf(n)) || (!deviceId.empty() && !text::equalsNoCase(id, deviceId)))
                continue;
            for (const auto& ic : interfacesOf(n)) {
                if (ic == guid)
                    out.push_back(interfacePath(id, ic));
            }
        }
    });
    return cr::Success;
}

ConfigRet SimDeviceTree::enumerateEnumerators(std::uint32_t index, std::wstring& out) noexcept {
    out.clear();
    const auto list = machine_.read([&](const Json& s) { return enumerators(s); });
    if (index >= list.size())
        return cr::NoSuchValue;
    out = list[index];
    return cr::Success;
}

ConfigRet SimDeviceTree::enumerateClasses(std::uint32_t index, std::uint32_t flags,
                                          ports::Guid& out) noexcept {
    out = {};
    const auto list = machine_.read(
        [&](const Json& s) { return classes(s, flags & ports::cmflag::EnumerateClassesInterface); });
    if (index >= list.size())
        return cr::NoSuchValue;
    out = ports::parseGuid(list[index]).value_or(ports::Guid{});
    return cr::Success;
}

bool SimDeviceTree::devNodePropertiesAvailable() noexcept {
    return machine_.read(
        [](const Json& s) { return flagOf(memberOf(s, "devices"), "unifiedProperties", true); });
}

ConfigRet SimDeviceTree::getDevNodeProperty(DevInst node, const ports::DevPropKey& key,
                                            ports::DevProperty& out) noexcept {
    out = {};
    if (!devNodePropertiesAvailable())
        return cr::CallNotImplemented;
    return machine_.read([&](const Json& s) -> ConfigRet {
        bool root = false;
        const Json* n = nodeByDevInst(s, node, root);
        if (!n && !root)
            return cr::InvalidDevNode;
        const Json empty = Json::object();
        const Json& nd = n ? *n : empty;
        const std::wstring id = root ? std::wstring(kRootId) : instanceIdOf(nd);
        if (key.fmtid == kInstanceId && key.pid == 256) {
            out = stringProp(id);
            return cr::Success;
        }
        if (key.fmtid == kPresence && key.pid == 5) {
            out = boolProp(root || presentOf(nd));
            return cr::Success;
        }
        if (key.fmtid == kRelations) {
            std::uint32_t status = 0, problem = 0;
            if (key.pid == 2 || key.pid == 3) {
                if (!root && !presentOf(nd))
                    return cr::NoSuchValue;
                if (!root)
                    statusOf(nd, status, problem);
                out = u32Prop(key.pid == 2 ? (root ? 0x0180200Au : status) : problem);
                return cr::Success;
            }
            if (key.pid == 8 && !root) {
                out = stringProp(parentIdOf(nd));
                return cr::Success;
            }
            if (key.pid == 9) {
                const auto children = childrenOf(s, id);
                if (children.empty())
                    return cr::NoSuchValue;
                out = listProp(children);
                return cr::Success;
            }
            return cr::NoSuchValue;
        }
        if (key.fmtid == kDeviceProps && !root) {
            // The registry properties under their unified keys: pid = SPDRP code + 2 for the first
            // ones, as DEVPKEY_Device_DeviceDesc (2) ... DEVPKEY_Device_EnumeratorName (24).
            static const std::pair<std::uint32_t, std::uint32_t> map[] = {
                {2, ports::spdrp::DeviceDesc},     {3, ports::spdrp::HardwareId},
                {4, ports::spdrp::CompatibleIds},  {6, ports::spdrp::Service},
                {9, ports::spdrp::Class},          {10, ports::spdrp::ClassGuid},
                {11, ports::spdrp::Driver},        {13, ports::spdrp::Mfg},
                {14, ports::spdrp::FriendlyName},  {15, ports::spdrp::LocationInformation},
                {24, ports::spdrp::EnumeratorName}};
            for (const auto& [pid, code] : map) {
                if (pid != key.pid)
                    continue;
                auto v = registryProperty(nd, code);
                if (!v)
                    return cr::NoSuchValue;
                if (code == ports::spdrp::HardwareId || code == ports::spdrp::CompatibleIds)
                    out = listProp(v->asMultiString());
                else if (code == ports::spdrp::ClassGuid)
                    out = guidProp(text::toUpper(v->asString()));
                else
                    out = stringProp(v->asString());
                return cr::Success;
            }
        }
        return cr::NoSuchValue;
    });
}

ConfigRet SimDeviceTree::getClassProperty(const ports::Guid& classGuid, const ports::DevPropKey& key,
                                          ports::DevProperty& out) noexcept {
    out = {};
    if (!devNodePropertiesAvailable())
        return cr::CallNotImplemented;
    const std::wstring g = guidText(classGuid);
    for (const auto& c : knownClasses()) {
        if (c.guid != g)
            continue;
        if (key.fmtid == kClassProps && (key.pid == 2 || key.pid == 3)) {
            out = stringProp(key.pid == 2 ? c.description : c.name);
            return cr::Success;
        }
        return cr::NoSuchValue;
    }
    return cr::NoSuchRegistryKey;
}

ConfigRet SimDeviceTree::getDeviceInterfaceProperty(std::wstring_view path, const ports::DevPropKey& key,
                                                    ports::DevProperty& out) noexcept {
    out = {};
    if (!devNodePropertiesAvailable())
        return cr::CallNotImplemented;
    return machine_.read([&](const Json& s) -> ConfigRet {
        const Json& nodes = nodesOf(s);
        if (!nodes.is_array())
            return cr::NoSuchDeviceInterface;
        for (const auto& n : nodes) {
            for (const auto& ic : interfacesOf(n)) {
                if (!text::equalsNoCase(interfacePath(instanceIdOf(n), ic), path))
                    continue;
                if (key.fmtid == kInstanceId && key.pid == 256)
                    out = stringProp(instanceIdOf(n));
                else if (key.fmtid == kInterfaceProps && key.pid == 2)
                    out = stringProp(textOf(n, "friendlyName", textOf(n, "description")));
                else if (key.fmtid == kInterfaceProps && key.pid == 3)
                    out = boolProp(presentOf(n));
                else if (key.fmtid == kInterfaceProps && key.pid == 4)
                    out = guidProp(ic);
                else
                    return cr::NoSuchValue;
                return cr::Success;
            }
        }
        return cr::NoSuchDeviceInterface;
    });
}

ConfigRet SimDeviceTree::describe(DevInst node, ports::DevNode& out) noexcept {
    out = {};
    return machine_.read([&](const Json& s) -> ConfigRet {
        bool root = false;
        const Json* n = nodeByDevInst(s, node, root);
        if (!n && !root)
            return cr::InvalidDevNode;
        out.devInst = node;
        if (root) {
            out.instanceId = kRootId;
            out.enumerator = L"HTREE";
            out.present = true;
            out.status = 0x0180200A;
            return cr::Success;
        }
        out.instanceId = instanceIdOf(*n);
        out.hardwareIds = textsOf(*n, "hardwareIds");
        out.compatibleIds = textsOf(*n, "compatibleIds");
        out.className = textOf(*n, "class");
        out.classGuid = text::toLower(classGuidOf(*n));
        out.service = textOf(*n, "service");
        out.friendlyName = textOf(*n, "friendlyName");
        out.description = textOf(*n, "description");
        out.enumerator = enumeratorOf(out.instanceId);
        out.location = textOf(*n, "location");
        out.present = presentOf(*n);
        if (out.present)
            statusOf(*n, out.status, out.problem);
        return cr::Success;
    });
}

} // namespace sim
