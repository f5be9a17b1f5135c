#pragma once
// The simulated Plug and Play tree as data: the "devices" section's nodes and the facts the device
// port derives from them (device instance handles, interface paths, status bits, properties).
#include "platform/ports/DeviceTypes.h"
#include "platform/ports/RegValue.h"
#include "platform/sim/SimMachine.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

inline constexpr std::wstring_view kRootId = L"HTREE\\ROOT\\0";

// A node's handle: a hash of its instance ID, so that it is the same in every process sharing the
// state and stays valid for as long as the node exists.
ports::DevInst devInstOf(std::wstring_view instanceId);

// The nodes (the implicit root is not among them).
const Json& nodesOf(const Json& state);
Json& nodesOf(Json& state);
const Json* findNode(const Json& state, std::wstring_view instanceId);
Json* findNode(Json& state, std::wstring_view instanceId);
// By handle; the root gives a null JSON pointer with `isRoot` set.
const Json* nodeByDevInst(const Json& state, ports::DevInst devInst, bool& isRoot);

std::wstring instanceIdOf(const Json& node);
// The node's parent ID; kRootId for a node of the root.
std::wstring parentIdOf(const Json& node);
bool presentOf(const Json& node);
// "USB" of "USB\VID_...".
std::wstring enumeratorOf(std::wstring_view instanceId);
// The class GUID text of a node (its "classGuid", or the known GUID of its "class").
std::wstring classGuidOf(const Json& node);
// DN_* status bits and the problem code of a present node.
void statusOf(const Json& node, std::uint32_t& status, std::uint32_t& problem);
// "\\?\USB#VID_...#serial#{28d78fad-...}": the path of the node's interface of `interfaceClass`.
std::wstring interfacePath(std::wstring_view instanceId, std::wstring_view interfaceClass);
// The interface classes the node exposes, as GUID texts.
std::vector<std::wstring> interfacesOf(const Json& node);

// A device registry property by SPDRP code; nullopt when the node lacks it.
std::optional<ports::RegValue> registryProperty(const Json& node, std::uint32_t spdrpCode);
bool knownRegistryProperty(std::uint32_t spdrpCode);

std::wstring guidText(const ports::Guid& g); // upper case, with braces
// Known setup classes: name and display name of a class GUID; empty when unknown.
struct ClassInfo {
    std::wstring guid;
    std::wstring name;
    std::wstring description;
};
const std::vector<ClassInfo>& knownClasses();
std::wstring classGuidOfName(std::wstring_view className);

} // namespace sim
