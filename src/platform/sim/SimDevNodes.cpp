#include "platform/sim/SimDevNodes.h"

#include "base/Compare.h"
#include "platform/sim/SimJson.h"

#include <cwchar>

namespace sim {

ports::DevInst devInstOf(std::wstring_view instanceId) {
    const std::uint32_t h = hashNoCase(instanceId);
    return h ? h : 1;
}

const Json& nodesOf(const Json& state) {
    return memberOf(memberOf(state, "devices"), "nodes");
}

Json& nodesOf(Json& state) {
    return arrayAt(objectAt(state, "devices"), "nodes");
}

const Json* findNode(const Json& state, std::wstring_view instanceId) {
    return findNamed(nodesOf(state), "instanceId", instanceId);
}

Json* findNode(Json& state, std::wstring_view instanceId) {
    return findNamed(nodesOf(state), "instanceId", instanceId);
}

const Json* nodeByDevInst(const Json& state, ports::DevInst devInst, bool& isRoot) {
    isRoot = devInst == devInstOf(kRootId);
    if (isRoot)
        return nullptr;
    const Json& nodes = nodesOf(state);
    if (!nodes.is_array())
        return nullptr;
    for (const auto& n : nodes) {
        if (devInstOf(instanceIdOf(n)) == devInst)
            return &n;
    }
    return nullptr;
}

std::wstring instanceIdOf(const Json& node) {
    return textOf(node, "instanceId");
}

std::wstring parentIdOf(const Json& node) {
    std::wstring p = textOf(node, "parent");
    return p.empty() ? std::wstring(kRootId) : p;
}

bool presentOf(const Json& node) {
    return flagOf(node, "present", true);
}

std::wstring enumeratorOf(std::wstring_view instanceId) {
    return std::wstring(instanceId.substr(0, instanceId.find(L'\\')));
}

const std::vector<ClassInfo>& knownClasses() {
    static const std::vector<ClassInfo> classes = {
        {L"{36FC9E60-C465-11CF-8056-444553540000}", L"USB", L"Universal Serial Bus controllers"},
        {L"{4D36E979-E325-11CE-BFC1-08002BE10318}", L"Printer", L"Printers"},
        {L"{1ED2BBF9-11F0-4084-B21F-AD83A8E6DCDC}", L"PrintQueue", L"Print queues"},
        {L"{4D36E978-E325-11CE-BFC1-08002BE10318}", L"Ports", L"Ports (COM & LPT)"},
        {L"{E0CBF06C-CD8B-4647-BB8A-263B43F0F974}", L"Bluetooth", L"Bluetooth"},
        {L"{62F9C741-B25A-46CE-B54C-9BCCCE08B6F2}", L"SoftwareDevice", L"Software devices"},
        {L"{4D36E97D-E325-11CE-BFC1-08002BE10318}", L"System", L"System devices"},
    };
    return classes;
}

std::wstring classGuidOfName(std::wstring_view className) {
    for (const auto& c : knownClasses()) {
        if (text::equalsNoCase(c.name, className))
            return c.guid;
    }
    return {};
}

std::wstring classGuidOf(const Json& node) {
    const std::wstring g = textOf(node, "classGuid");
    return g.empty() ? classGuidOfName(textOf(node, "class")) : text::toUpper(g);
}

void statusOf(const Json& node, std::uint32_t& status, std::uint32_t& problem) {
    problem = static_cast<std::uint32_t>(numberOf(node, "problem"));
    // DN_DRIVER_LOADED | DN_STARTED | DN_DISABLEABLE | DN_NT_ENUMERATOR | DN_NT_DRIVER, or with a
    // problem DN_HAS_PROBLEM in place of the first two.
    const std::uint32_t def = problem ? 0x01802400u : 0x0180200Au;
    status = static_cast<std::uint32_t>(numberOf(node, "status", def));
}

std::wstring interfacePath(std::wstring_view instanceId, std::wstring_view interfaceClass) {
    std::wstring path = L"\\\\?\\";
    for (wchar_t c : instanceId)
        path += c == L'\\' ? L'#' : c;
    return path + L"#" + text::toLower(interfaceClass);
}

std::vector<std::wstring> interfacesOf(const Json& node) {
    std::vector<std::wstring> out;
    for (auto& g : textsOf(node, "interfaces"))
        out.push_back(text::toUpper(g));
    return out;
}

namespace {

struct PropertyField {
    std::uint32_t code;
    const char* key;
    bool multi;
};
constexpr PropertyField kFields[] = {
    {ports::spdrp::DeviceDesc, "description", false},
    {ports::spdrp::HardwareId, "hardwareIds", true},
    {ports::spdrp::CompatibleIds, "compatibleIds", true},
    {ports::spdrp::Service, "service", false},
    {ports::spdrp::Class, "class", false},
    {ports::spdrp::ClassGuid, "classGuid", false},
    {ports::spdrp::Driver, "driver", false},
    {ports::spdrp::Mfg, "manufacturer", false},
    {ports::spdrp::FriendlyName, "friendlyName", false},
    {ports::spdrp::LocationInformation, "location", false},
    {ports::spdrp::EnumeratorName, "", false},
    {ports::spdrp::BaseContainerId, "containerId", false},
    {ports::spdrp::Capabilities, "capabilities", false},
    {ports::spdrp::DevicePowerData, "powerData", false},
};

} // namespace

bool knownRegistryProperty(std::uint32_t spdrpCode) {
    for (const auto& f : kFields) {
        if (f.code == spdrpCode)
            return true;
    }
    return spdrpCode <= 0x25;
}

std::optional<ports::RegValue> registryProperty(const Json& node, std::uint32_t code) {
    if (code == ports::spdrp::EnumeratorName)
        return ports::RegValue::fromString(enumeratorOf(instanceIdOf(node)), true);
    if (code == ports::spdrp::ClassGuid) {
        const std::wstring g = classGuidOf(node);
        if (g.empty())
            return std::nullopt;
        return ports::RegValue::fromString(text::toLower(g), true);
    }
    if (code == ports::spdrp::Capabilities) {
        if (!node.contains("capabilities"))
            return std::nullopt;
        return ports::RegValue::fromDword(static_cast<std::uint32_t>(numberOf(node, "capabilities")));
    }
    if (code == ports::spdrp::DevicePowerData) {
        if (!memberOf(node, "powerData").is_string())
            return std::nullopt;
        return ports::RegValue{ports::regtype::Binary, bytesOfHex(node["powerData"].get<std::string>())};
    }
    for (const auto& f : kFields) {
        if (f.code != code)
            continue;
        if (f.multi) {
            const auto list = textsOf(node, f.key);
            if (list.empty())
                return std::nullopt;
            return ports::RegValue::fromMultiString(list);
        }
        const std::wstring t = textOf(node, f.key);
        if (t.empty())
            return std::nullopt;
        return ports::RegValue::fromString(t, true);
    }
    return std::nullopt;
}

std::wstring guidText(const ports::Guid& g) {
    wchar_t buf[40];
    std::swprintf(buf, 40, L"{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.data1, g.data2, g.data3,
                  g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5], g.data4[6],
                  g.data4[7]);
    return buf;
}

} // namespace sim
