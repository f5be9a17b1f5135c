// The simulated spooler's ports and monitors: enumeration, the monitors' own dialogs, the Xcv
// channel of "Local Port" and "Standard TCP/IP Port", adding and deleting monitors.
#include "platform/sim/SimSpooler.h"

#include "base/Compare.h"
#include "platform/sim/SimJson.h"
#include "platform/sim/SimPrintSystem.h"

namespace sim {
namespace winerr = ports::winerr;
using ports::Status;

namespace {

constexpr std::wstring_view kLocalPort = L"Local Port";
constexpr std::wstring_view kTcpIp = L"Standard TCP/IP Port";
// System DLLs every machine has, so that monitors naming them can be added.
constexpr std::wstring_view kSystemDlls[] = {L"localspl.dll", L"tcpmon.dll", L"usbmon.dll",
                                             L"winprint.dll", L"APMon.dll",  L"WSDMon.dll"};

ports::PortInfo2 portInfo(const Json& state, const Json& port) {
    ports::PortInfo2 i;
    i.portName = textOf(port, "name");
    const std::wstring monitor = textOf(port, "monitor", kLocalPort);
    const Json* m = findMonitor(state, monitor);
    // A monitor reports ports under its own name ("TCPMON.DLL" for the Standard TCP/IP monitor).
    i.monitorName = m ? textOf(*m, "portMonitorName", textOf(*m, "name")) : monitor;
    i.description = m ? textOf(*m, "portDescription", textOf(*m, "name")) : monitor;
    i.portType = static_cast<std::uint32_t>(numberOf(port, "type", m ? numberOf(*m, "portType", 1) : 1));
    return i;
}

// The limits of the PORT_DATA_1 record's text fields (without their NUL).
bool fitsPortData(const ports::PortData1& d) {
    return d.portName.size() <= kMaxPortName && d.hostAddress.size() <= 48 && d.snmpCommunity.size() <= 32 &&
           d.queue.size() <= 32 && d.ipAddress.size() <= 15;
}

bool systemDll(std::wstring_view dll) {
    for (auto d : kSystemDlls) {
        if (text::equalsNoCase(d, dll))
            return true;
    }
    return false;
}

} // namespace

Status SimSpooler::enumPorts1(std::vector<ports::PortInfo1>& out) noexcept {
    std::vector<ports::PortInfo2> all;
    out.clear();
    if (Status s = enumPorts2(all))
        return s;
    for (auto& p : all)
        out.push_back({std::move(p.portName)});
    return winerr::Success;
}

Status SimSpooler::enumPorts2(std::vector<ports::PortInfo2>& out) noexcept {
    out.clear();
    if (Status s = enterRead({"EnumPortsW"}))
        return s;
    machine_.read([&](const Json& s) {
        const Json& list = memberOf(memberOf(s, "spooler"), "ports");
        if (list.is_array()) {
            for (const auto& p : list)
                out.push_back(portInfo(s, p));
        }
    });
    return winerr::Success;
}

Status SimSpooler::addPortUi(ports::WindowId, std::wstring_view monitorName) noexcept {
    return machine_.write([&](Json& s) -> Status {
        if (Status e = enter(s, {"AddPortW"}))
            return e;
        const Json* m = findMonitor(s, monitorName);
        if (!m)
            return winerr::UnknownPrintMonitor;
        // The monitor's dialog: the state's "portDialog" says what the user types, once; without it
        // the user cancels.
        Json& spooler = objectAt(s, "spooler");
        const std::wstring port = textOf(memberOf(spooler, "portDialog"), "portName");
        spooler.erase("portDialog");
        if (port.empty())
            return winerr::Cancelled;
        if (findPort(s, port))
            return winerr::AlreadyExists;
        ensurePort(s, port, textOf(*m, "name"));
        return winerr::Success;
    });
}

Status SimSpooler::configurePortUi(ports::WindowId, std::wstring_view portName) noexcept {
    if (Status s = enterRead({"ConfigurePortW"}))
        return s;
    return machine_.read(
        [&](const Json& s) { return findPort(s, portName) ? winerr::Success : winerr::UnknownPort; });
}

Status SimSpooler::deletePortUi(ports::WindowId, std::wstring_view portName) noexcept {
    return machine_.write([&](Json& s) -> Status {
        if (Status e = enter(s, {"DeletePortW"}))
            return e;
        if (!findPort(s, portName))
            return winerr::UnknownPort;
        if (portInUse(s, portName))
            return ports::winerr::Busy;
        eraseNamed(arrayAt(objectAt(s, "spooler"), "ports"), "name", portName);
        return winerr::Success;
    });
}

ports::XcvResult SimSpooler::xcvAddPort(ports::SpoolerHandle& xcv, const ports::PortData1& data) noexcept {
    ports::XcvResult r;
    auto o = opened(xcv);
    if (!fitsPortData(data)) {
        r.call = winerr::InvalidParameter; // the record cannot hold it: refused, never cut short
        return r;
    }
    machine_.write([&](Json& s) {
        if ((r.call = enter(s, {"XcvDataW", "XcvData"})))
            return;
        if (!o || o->kind != Opened::Kind::Xcv) {
            r.call = winerr::InvalidHandle;
            return;
        }
        if (!(o->access & ports::spool::ServerAccessAdminister)) {
            r.call = winerr::AccessDenied;
            return;
        }
        const bool tcp = text::equalsNoCase(o->name, kTcpIp);
        if (!tcp && !text::equalsNoCase(o->name, kLocalPort)) {
            r.monitor = winerr::NotSupported;
            return;
        }
        if (tcp && data.version != 1) {
            r.monitor = winerr::InvalidLevel;
            return;
        }
        if (data.portName.empty() || (tcp && ((data.protocol != 1 && data.protocol != 2) ||
                                              (data.hostAddress.empty() && data.ipAddress.empty())))) {
            r.monitor = winerr::InvalidParameter;
            return;
        }
        if (findPort(s, data.portName)) {
            r.monitor = winerr::AlreadyExists;
            return;
        }
        Json port{{"name", u8(data.portName)}, {"monitor", u8(o->name)}};
        if (tcp) {
            port["tcp"] = Json{{"protocol", data.protocol},
                               {"hostAddress", u8(data.hostAddress)},
                               {"snmpCommunity", u8(data.snmpCommunity)},
                               {"doubleSpool", data.doubleSpool},
                               {"queue", u8(data.queue)},
                               {"ipAddress", u8(data.ipAddress)},
                               {"portNumber", data.portNumber},
                               {"snmpEnabled", data.snmpEnabled},
                               {"snmpDevIndex", data.snmpDevIndex}};
        }
        arrayAt(objectAt(s, "spooler"), "ports").push_back(std::move(port));
    });
    return r;
}

ports::XcvResult SimSpooler::xcvDeletePort(ports::SpoolerHandle& xcv, std::wstring_view portName) noexcept {
    ports::XcvResult r;
    auto o = opened(xcv);
    if (portName.size() > kMaxPortName) {
        r.call = winerr::InvalidParameter;
        return r;
    }
    machine_.write([&](Json& s) {
        if ((r.call = enter(s, {"XcvDataW", "XcvData"})))
            return;
        if (!o || o->kind != Opened::Kind::Xcv) {
            r.call = winerr::InvalidHandle;
            return;
        }
        if (!(o->access & ports::spool::ServerAccessAdminister)) {
            r.call = winerr::AccessDenied;
            return;
        }
        const bool tcp = text::equalsNoCase(o->name, kTcpIp);
        if (!tcp && !text::equalsNoCase(o->name, kLocalPort)) {
            r.monitor = winerr::NotSupported;
            return;
        }
        const Json* port = findPort(s, portName);
        if (!port || !text::equalsNoCase(textOf(*port, "monitor", kLocalPort), o->name)) {
            // The local monitor looks the name up in its registry key, the TCP/IP monitor in its list.
            r.monitor = tcp ? winerr::UnknownPort : winerr::FileNotFound;
            return;
        }
        if (portInUse(s, portName)) {
            r.monitor = ports::winerr::Busy;
            return;
        }
        eraseNamed(arrayAt(objectAt(s, "spooler"), "ports"), "name", portName);
    });
    return r;
}

Status SimSpooler::enumMonitors2(std::vector<ports::MonitorInfo2>& out) noexcept {
    out.clear();
    if (Status s = enterRead({"EnumMonitorsW"}))
        return s;
    machine_.read([&](const Json& s) {
        const Json& list = memberOf(memberOf(s, "spooler"), "monitors");
        if (!list.is_array())
            return;
        for (const auto& m : list)
            out.push_back(
                {textOf(m, "name"), textOf(m, "environment", nativeEnvironment(s)), textOf(m, "dll")});
    });
    return winerr::Success;
}

Status SimSpooler::addMonitor(const ports::MonitorInfo2& info) noexcept {
    return machine_.write([&](Json& s) -> Status {
        if (Status e = enter(s, {"AddMonitorW"}))
            return e;
        if (info.name.empty() || info.dllName.empty())
            return winerr::InvalidParameter;
        // The spooler loads monitors into its own process: only its native environment will do.
        std::wstring env;
        if (!resolveEnvironment(info.environment, env) || env != nativeEnvironment(s))
            return winerr::InvalidEnvironment;
        if (findMonitor(s, info.name))
            return winerr::PrintMonitorAlreadyInstalled;
        if (!systemDll(info.dllName) &&
            !simFileExists(machine_, windowsFolder(s) + L"\\System32\\" + info.dllName))
            return winerr::ModNotFound;
        arrayAt(objectAt(s, "spooler"), "monitors")
            .push_back(Json{{"name", u8(info.name)}, {"environment", u8(env)}, {"dll", u8(info.dllName)}});
        return winerr::Success;
    });
}

Status SimSpooler::deleteMonitor(std::wstring_view environment, std::wstring_view name) noexcept {
    return machine_.write([&](Json& s) -> Status {
        if (Status e = enter(s, {"DeleteMonitorW"}))
            return e;
        std::wstring env;
        if (!resolveEnvironment(environment, env) || env != nativeEnvironment(s))
            return winerr::InvalidEnvironment;
        if (!findMonitor(s, name))
            return winerr::UnknownPrintMonitor;
        Json& spooler = objectAt(s, "spooler");
        // In use: a printer prints to one of its ports, or a driver names it as its language monitor.
        for (const auto& port : arrayAt(spooler, "ports")) {
            if (text::equalsNoCase(textOf(port, "monitor", kLocalPort), name) &&
                portInUse(s, textOf(port, "name")))
                return winerr::PrintMonitorInUse;
        }
        for (const auto& d : arrayAt(spooler, "drivers")) {
            if (text::equalsNoCase(textOf(d, "monitor"), name))
                return winerr::PrintMonitorInUse;
        }
        Json& ports = spooler["ports"];
        for (std::size_t i = ports.size(); i-- > 0;) {
            if (text::equalsNoCase(textOf(ports[i], "monitor", kLocalPort), name))
                ports.erase(i);
        }
        eraseNamed(spooler["monitors"], "name", name);
        return winerr::Success;
    });
}

} // namespace sim
