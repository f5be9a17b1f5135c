// The simulated tree's device-console work (remove, update, rescan) and the USB printer's answer to
// the name query.
#include "platform/sim/SimDeviceTree.h"

#include "base/Compare.h"
#include "platform/sim/SimDevNodes.h"
#include "platform/sim/SimJson.h"
#include "platform/sim/SimPrintSystem.h"

#include <cwchar>

namespace sim {
namespace winerr = ports::winerr;
namespace cr = ports::cr;
using ports::Status;

namespace {

constexpr std::uint32_t kKnownInstallFlags = 0x1 | 0x2 | 0x4; // FORCE | READONLY | NONINTERACTIVE
constexpr std::uint32_t kProblemFailedInstall = 28;           // CM_PROB_FAILED_INSTALL
const std::vector<std::uint8_t> kNameQuery = {0x10, 0xFF, 0x30, 0x11};

bool hasHardwareId(const Json& node, std::wstring_view hardwareId) {
    for (const auto& id : textsOf(node, "hardwareIds")) {
        if (text::equalsNoCase(id, hardwareId))
            return true;
    }
    return false;
}

// A GUID text made from a name, so that the same queue always gets the same software device.
std::wstring guidFromName(std::wstring_view name) {
    const std::uint32_t a = hashNoCase(name), b = hashNoCase(std::wstring(name) + L"#1"),
                        c = hashNoCase(std::wstring(name) + L"#2");
    wchar_t buf[40];
    std::swprintf(buf, 40, L"{%08X-%04X-%04X-%04X-%04X%08X}", a, b & 0xFFFF, ((b >> 16) & 0x0FFF) | 0x4000,
                  (c & 0x3FFF) | 0x8000, c >> 16, a ^ b);
    return buf;
}

// What Windows does once a printer device has its driver: the spooler makes the print queue named
// after the model on the device's USB port, with the Plug and Play data that ties it to the device,
// and a software device of class PrintQueue under the printer device.
void createPnpQueue(Json& state, const Json& node, const InfFile::Model& model) {
    const std::wstring id = instanceIdOf(node);
    // A device keeps the queue it has.
    for (const auto& p : arrayAt(objectAt(state, "spooler"), "printers")) {
        if (const Json* pnp = findMember(memberOf(p, "data"), L"PnPData")) {
            if (const Json* v = findMember(*pnp, L"DeviceInstanceId");
                v && text::equalsNoCase(regFromJson(*v).asString(), id))
                return;
        }
    }
    const std::wstring port = id.substr(id.find_last_of(L'&') + 1);
    ensurePort(state, port, L"USB Monitor");
    const std::wstring name = uniquePrinterName(state, model.description);
    const std::wstring hwid =
        textsOf(node, "hardwareIds").empty() ? std::wstring() : textsOf(node, "hardwareIds")[0];
    std::wstring enumHwid = hwid;
    if (text::startsWithNoCase(enumHwid, L"USBPRINT\\"))
        enumHwid = L"PRINTENUM\\" + enumHwid.substr(9);
    const std::wstring queueId = L"SWD\\PRINTENUM\\" + guidFromName(name + L"|" + id);
    Json printer{{"name", u8(name)},
                 {"port", u8(port)},
                 {"driver", u8(model.description)},
                 {"printProcessor", "winprint"},
                 {"datatype", "RAW"},
                 {"attributes", 0x0A40}, // LOCAL | DO_COMPLETE_FIRST | ENABLE_BIDI
                 {"priority", 1},
                 {"status", 0},
                 {"jobs", 0},
                 {"queueDevice", u8(queueId)},
                 {"data",
                  {{"PnPData",
                    {{"DeviceInstanceId", regText(id)},
                     {"HardwareID", regText(enumHwid)},
                     {"Manufacturer", regText(model.manufacturer)}}}}}};
    refreshDsSpooler(printer);
    Json& spooler = objectAt(state, "spooler");
    arrayAt(spooler, "printers").push_back(std::move(printer));
    if (textOf(spooler, "defaultPrinter").empty())
        spooler["defaultPrinter"] = u8(name);
    if (const Json* driver = findDriver(state, model.description, nativeEnvironment(state)))
        addDriverForms(state, *driver);
    nodesOf(state).push_back(Json{{"instanceId", u8(queueId)},
                                  {"parent", u8(id)},
                                  {"present", true},
                                  {"class", "PrintQueue"},
                                  {"description", u8(name)},
                                  {"friendlyName", u8(name)},
                                  {"hardwareIds", {"PRINTENUM\\LocalPrintQueue"}},
                                  {"compatibleIds", {"PRINTENUM\\PrintQueue"}}});
}

} // namespace

Status SimDeviceTree::removeDevice(ports::DeviceInfoSet& set, const ports::DeviceInfoData& device,
                                   bool& restartNeeded) noexcept {
    restartNeeded = false;
    if (!sets_.find(set, this))
        return winerr::InvalidHandle;
    return machine_.write([&](Json& s) -> Status {
        if (Status f = takeFaultAny(s, {"SetupDiCallClassInstaller"}))
            return f;
        restartNeeded = flagOf(memberOf(s, "devices"), "removeNeedsRestart");
        Json& nodes = nodesOf(s);
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (devInstOf(instanceIdOf(nodes[i])) != device.devInst)
                continue;
            // Hardware that is still plugged in comes back at the next rescan, without its driver.
            if (presentOf(nodes[i]))
                arrayAt(objectAt(s, "devices"), "removed").push_back(nodes[i]);
            nodes.erase(i);
            return winerr::Success;
        }
        return winerr::NoSuchDevinst;
    });
}

Status SimDeviceTree::updateDriverForPlugAndPlayDevices(ports::WindowId, std::wstring_view hardwareId,
                                                        std::wstring_view infPath, std::uint32_t installFlags,
                                                        bool& rebootRequired) noexcept {
    rebootRequired = false;
    if (installFlags & ~kKnownInstallFlags)
        return ports::winerr::InvalidFlags;
    return machine_.write([&](Json& s) -> Status {
        if (Status f = takeFaultAny(s, {"UpdateDriverForPlugAndPlayDevicesW"}))
            return f;
        InfFile inf;
        if (readInf(machine_, infPath, inf) != winerr::Success)
            return winerr::FileNotFound;
        std::vector<std::size_t> targets;
        Json& nodes = nodesOf(s);
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (presentOf(nodes[i]) && hasHardwareId(nodes[i], hardwareId))
                targets.push_back(i);
        }
        if (targets.empty())
            return winerr::NoSuchDevinst;
        const std::wstring env = nativeEnvironment(s);
        const auto model = inf.modelForHardwareId(hardwareId, infDecoration(env));
        if (!model)
            return winerr::NoDriverSelected;
        std::wstring storeInf;
        if (Status e = stagePackage(machine_, s, infPath, env, storeInf))
            return e;
        const bool printer = text::equalsNoCase(inf.value(L"Version", L"Class"), L"Printer");
        if (printer) {
            if (Status e = installDriverFromStore(machine_, s, storeInf, inf, *model, env))
                return e;
        }
        const std::wstring classGuid =
            printer ? classGuidOfName(L"Printer") : inf.value(L"Version", L"ClassGuid");
        for (std::size_t i : targets) {
            Json& n = nodesOf(s)[i];
            n["class"] = u8(inf.value(L"Version", L"Class"));
            n["classGuid"] = u8(classGuid);
            n["description"] = u8(model->description);
            n["friendlyName"] = u8(model->description);
            n["manufacturer"] = u8(model->manufacturer);
            n["driverInf"] = u8(storeInf);
            n.erase("problem");
            n.erase("status");
            if (printer)
                createPnpQueue(s, nodesOf(s)[i], *model);
        }
        rebootRequired = flagOf(memberOf(s, "devices"), "updateNeedsRestart");
        return winerr::Success;
    });
}

ports::ConfigRet SimDeviceTree::reenumerateDevNode(ports::DevInst node, std::uint32_t) noexcept {
    return machine_.write([&](Json& s) -> ports::ConfigRet {
        if (ports::ConfigRet f = SimMachine::takeFault(s, "CM_Reenumerate_DevNode"))
            return f;
        bool root = false;
        const Json* n = nodeByDevInst(s, node, root);
        if (!n && !root)
            return cr::InvalidDevNode;
        Json& devices = objectAt(s, "devices");
        Json& removed = arrayAt(devices, "removed");
        // Removed hardware that is still there is found again: under the root, or below this node.
        const std::wstring from = root ? std::wstring() : instanceIdOf(*n);
        for (std::size_t i = 0; i < removed.size();) {
            Json& r = removed[i];
            if (!from.empty() && !text::equalsNoCase(parentIdOf(r), from)) {
                ++i;
                continue;
            }
            if (r.contains("driverInf")) {
                r.erase("driverInf");
                r["problem"] = kProblemFailedInstall;
            }
            if (!findNode(s, instanceIdOf(r)))
                nodesOf(s).push_back(r);
            removed.erase(i);
        }
        return cr::Success;
    });
}

Status SimDeviceTree::queryUsbPrinterName(std::wstring_view devicePath, const ports::UsbNameQuery& query,
                                          std::vector<std::uint8_t>& reply) noexcept {
    reply.clear();
    if (Status f = machine_.fault("CreateFileW"))
        return f;
    const auto name = machine_.read([&](const Json& s) -> std::optional<std::wstring> {
        const Json& nodes = nodesOf(s);
        if (!nodes.is_array())
            return std::nullopt;
        for (const auto& n : nodes) {
            if (!presentOf(n))
                continue;
            for (const auto& ic : interfacesOf(n)) {
                if (text::equalsNoCase(interfacePath(instanceIdOf(n), ic), devicePath))
                    return textOf(n, "usbName");
            }
        }
        return std::nullopt;
    });
    if (!name)
        return winerr::FileNotFound;
    if (Status f = machine_.fault("WriteFile"))
        return f;
    clock_.sleepMs(query.pauseMs);
    if (Status f = machine_.fault("ReadFile"))
        return f;
    // Only the printer family's own command gets an answer; anything else finds a silent printer.
    if (query.request != kNameQuery || name->empty()) {
        clock_.sleepMs(query.readTimeoutMs);
        return winerr::WaitTimeout;
    }
    const std::string bytes = u8(*name);
    reply.assign(bytes.begin(), bytes.end());
    reply.push_back(0);
    if (reply.size() > query.maxReply)
        reply.resize(query.maxReply);
    return winerr::Success;
}

} // namespace sim
