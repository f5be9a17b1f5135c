// The simulated spooler's printers: open, add, delete, enumerate, get and set, printer data, the
// default printer and the shell's printer calls.
#include "platform/sim/SimSpooler.h"

#include "base/Compare.h"
#include "platform/sim/SimDevMode.h"
#include "platform/sim/SimJson.h"
#include "platform/sim/SimPrintSystem.h"
#include "platform/sim/SimServiceState.h"
#include "platform/sim/SimSpoolerRecords.h"

namespace sim {
namespace winerr = ports::winerr;
using ports::Status;

namespace {

constexpr std::uint32_t kAccessAdminister = 0x4; // PRINTER_ACCESS_ADMINISTER
constexpr std::uint32_t kDelete = 0x10000;       // DELETE
constexpr std::uint32_t kStatusPaused = 0x1;

bool hasFault(const Json& state, std::initializer_list<std::string_view> operations) {
    for (auto o : operations) {
        if (SimMachine::hasFault(state, o))
            return true;
    }
    return false;
}

const std::wstring_view kDatatypes[] = {
    L"RAW",          L"RAW [FF appended]", L"RAW [FF auto]", L"NT EMF 1.003", L"NT EMF 1.006",
    L"NT EMF 1.007", L"NT EMF 1.008",      L"TEXT",          L"XPS2GDI"};

// What AddPrinter and SetPrinter level 2 check beyond the name.
Status checkPrinterParts(const Json& state, const ports::PrinterInfo2& info) {
    std::size_t start = 0;
    const std::wstring& ports = info.portName;
    if (ports.empty())
        return winerr::UnknownPort;
    while (start <= ports.size()) {
        std::size_t end = ports.find(L',', start);
        if (end == std::wstring::npos)
            end = ports.size();
        if (!findPort(state, std::wstring_view(ports).substr(start, end - start)))
            return winerr::UnknownPort;
        start = end + 1;
    }
    if (!findDriver(state, info.driverName, nativeEnvironment(state)))
        return winerr::UnknownPrinterDriver;
    if (!text::equalsNoCase(info.printProcessor, L"winprint"))
        return winerr::UnknownPrintProcessor;
    if (!info.datatype.empty()) {
        bool known = false;
        for (auto d : kDatatypes)
            known = known || text::equalsNoCase(d, info.datatype);
        if (!known)
            return winerr::InvalidDatatype;
    }
    return winerr::Success;
}

} // namespace

Status SimSpooler::enter(Json& state, std::initializer_list<std::string_view> operations) {
    if (!spoolerRunning(state, clock_.nowMs()))
        return ports::winerr::RpcServerUnavailable;
    return takeFaultAny(state, operations);
}

Status SimSpooler::enterRead(std::initializer_list<std::string_view> operations) {
    const auto [running, fault] = machine_.read([&](const Json& s) {
        return std::pair{spoolerRunning(s, clock_.nowMs()), hasFault(s, operations)};
    });
    if (!running)
        return ports::winerr::RpcServerUnavailable;
    if (!fault)
        return winerr::Success;
    return machine_.write([&](Json& s) { return takeFaultAny(s, operations); });
}

Status SimSpooler::readPrinter(const ports::SpoolerHandle& h,
                               std::initializer_list<std::string_view> operations, const ReadFn& fn) {
    if (Status s = enterRead(operations))
        return s;
    auto o = opened(h);
    if (!o || o->kind != Opened::Kind::Printer)
        return winerr::InvalidHandle;
    return machine_.read([&](const Json& s) -> Status {
        const Json* p = findPrinter(s, o->name);
        return p ? fn(s, *p, *o) : winerr::InvalidHandle;
    });
}

Status SimSpooler::writePrinter(const ports::SpoolerHandle& h,
                                std::initializer_list<std::string_view> operations, const WriteFn& fn) {
    auto o = opened(h);
    return machine_.write([&](Json& s) -> Status {
        if (Status e = enter(s, operations))
            return e;
        if (!o || o->kind != Opened::Kind::Printer)
            return winerr::InvalidHandle;
        Json* p = findPrinter(s, o->name);
        return p ? fn(s, *p, *o) : winerr::InvalidHandle;
    });
}

Status SimSpooler::openPrinter(std::wstring_view name, std::uint32_t access,
                               ports::SpoolerHandle& out) noexcept {
    out.reset();
    if (Status s = enterRead({"OpenPrinterW"}))
        return s;
    Opened o;
    o.access = access ? access : ports::spool::PrinterAccessUse;
    const Status result = machine_.read([&](const Json& s) -> Status {
        if (name.empty()) {
            o.kind = Opened::Kind::Server;
            return winerr::Success;
        }
        constexpr std::wstring_view monitorPrefix = L",XcvMonitor ", portPrefix = L",XcvPort ";
        if (text::startsWithNoCase(name, monitorPrefix)) {
            const Json* m = findMonitor(s, name.substr(monitorPrefix.size()));
            if (!m)
                return winerr::UnknownPort;
            o.kind = Opened::Kind::Xcv;
            o.name = textOf(*m, "name");
            return winerr::Success;
        }
        if (text::startsWithNoCase(name, portPrefix)) {
            const Json* port = findPort(s, name.substr(portPrefix.size()));
            if (!port)
                return winerr::UnknownPort;
            o.kind = Opened::Kind::Xcv;
            o.name = textOf(*port, "monitor");
            return winerr::Success;
        }
        const Json* p = findPrinter(s, name);
        if (!p)
            return winerr::InvalidPrinterName;
        o.name = textOf(*p, "name");
        return winerr::Success;
    });
    if (result == winerr::Success)
        out = giveHandle(std::move(o));
    return result;
}

Status SimSpooler::addPrinter(const ports::PrinterInfo2& info, ports::SpoolerHandle& out) noexcept {
    out.reset();
    std::wstring name;
    const Status result = machine_.write([&](Json& s) -> Status {
        if (Status e = enter(s, {"AddPrinterW"}))
            return e;
        if (!validPrinterName(info.printerName))
            return winerr::InvalidPrinterName;
        Json* existing = findPrinter(s, info.printerName);
        if (existing && !flagOf(*existing, "pendingDeletion"))
            return winerr::PrinterAlreadyExists;
        if (Status e = checkPrinterParts(s, info))
            return e;
        if (existing) {
            // A printer waiting for its jobs before it goes: adding it again keeps it, like SetPrinter.
            applyPrinterInfo2(*existing, info);
            existing->erase("pendingDeletion");
            refreshDsSpooler(*existing);
            name = info.printerName;
            return winerr::Success;
        }
        Json p = Json::object();
        applyPrinterInfo2(p, info);
        p["status"] = 0;
        p["jobs"] = 0;
        p["data"] = Json::object();
        refreshDsSpooler(p);
        Json& spooler = objectAt(s, "spooler");
        arrayAt(spooler, "printers").push_back(std::move(p));
        if (const Json* driver = findDriver(s, info.driverName, nativeEnvironment(s)))
            addDriverForms(s, *driver);
        // The first printer of a machine becomes its default printer.
        if (textOf(spooler, "defaultPrinter").empty())
            spooler["defaultPrinter"] = u8(info.printerName);
        name = info.printerName;
        return winerr::Success;
    });
    if (result == winerr::Success)
        out = giveHandle({Opened::Kind::Printer, name, ports::spool::PrinterAllAccess});
    return result;
}

Status SimSpooler::deletePrinter(ports::SpoolerHandle& printer) noexcept {
    return writePrinter(printer, {"DeletePrinter"}, [](Json& s, Json& p, Opened& o) -> Status {
        if (!(o.access & kDelete))
            return winerr::AccessDenied;
        if (numberOf(p, "jobs") > 0) {
            p["pendingDeletion"] = true;
            return winerr::Success;
        }
        const std::wstring name = textOf(p, "name");
        Json& spooler = objectAt(s, "spooler");
        if (text::equalsNoCase(textOf(spooler, "defaultPrinter"), name))
            spooler["defaultPrinter"] = "";
        // The print queue's software device goes with the queue.
        const std::wstring node = textOf(p, "queueDevice");
        if (!node.empty()) {
            if (Json* n = findNamed(arrayAt(objectAt(s, "devices"), "nodes"), "instanceId", node))
                (*n)["present"] = false;
        }
        eraseNamed(arrayAt(spooler, "printers"), "name", name);
        return winerr::Success;
    });
}

Status SimSpooler::enumPrinters2(std::uint32_t flags, std::vector<ports::PrinterInfo2>& out) noexcept {
    out.clear();
    if (Status s = enterRead({"EnumPrintersW"}))
        return s;
    if (!(flags & ports::spool::EnumLocal))
        return winerr::Success; // no connections on this machine
    machine_.read([&](const Json& s) {
        const Json& printers = memberOf(memberOf(s, "spooler"), "printers");
        if (printers.is_array()) {
            for (const auto& p : printers)
                out.push_back(printerInfo2(p));
        }
    });
    return winerr::Success;
}

Status SimSpooler::enumPrinters4(std::uint32_t flags, std::vector<ports::PrinterInfo4>& out) noexcept {
    std::vector<ports::PrinterInfo2> all;
    out.clear();
    if (Status s = enumPrinters2(flags, all))
        return s;
    for (const auto& p : all)
        out.push_back({p.printerName, std::nullopt, p.attributes});
    return winerr::Success;
}

Status SimSpooler::getPrinter2(ports::SpoolerHandle& printer, ports::PrinterInfo2& out) noexcept {
    return readPrinter(printer, {"GetPrinterW"}, [&](const Json& s, const Json& p, const Opened&) {
        out = printerInfo2(p);
        out.devMode = printerDevMode(s, p);
        return winerr::Success;
    });
}

Status SimSpooler::getPrinterAtLevel(ports::SpoolerHandle& printer, std::uint32_t level,
                                     ports::PrinterInfoAtLevel& out) noexcept {
    if (level < 1 || level > 9)
        return winerr::InvalidLevel;
    return readPrinter(printer, {"GetPrinterW"}, [&](const Json& s, const Json& p, const Opened&) {
        out = {};
        out.level = level;
        const ports::PrinterInfo2 i = printerInfo2(p);
        switch (level) {
        case 1:
            out.flags = 0x800000; // PRINTER_ENUM_ICON8
            out.name = i.printerName;
            out.description = i.printerName + L"," + i.driverName + L"," + i.location.value_or(L"");
            out.comment = i.comment.value_or(L"");
            break;
        case 2:
            out.info2 = i;
            out.info2.devMode = printerDevMode(s, p);
            break;
        case 3:
            out.securityDescriptor =
                i.securityDescriptor.empty()
                    ? std::vector<std::uint8_t>{1, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}
                    : i.securityDescriptor;
            break;
        case 4:
            out.info4 = {i.printerName, std::nullopt, i.attributes};
            break;
        case 5:
            out.printerName = i.printerName;
            out.portName = i.portName;
            out.attributes = i.attributes;
            out.deviceNotSelectedTimeout = 15000;
            out.transmissionRetryTimeout = 45000;
            break;
        case 6:
            out.status = i.status;
            break;
        case 7:
            out.objectGuid = textOf(p, "objectGuid");
            out.action = static_cast<std::uint32_t>(numberOf(p, "dsAction", 4)); // DSPRINT_UNPUBLISH
            break;
        default:
            out.devMode = printerDevMode(s, p);
            break;
        }
        return winerr::Success;
    });
}

Status SimSpooler::setPrinter2(ports::SpoolerHandle& printer, const ports::PrinterInfo2& info) noexcept {
    return writePrinter(printer, {"SetPrinterW"}, [&](Json& s, Json& p, Opened& op) -> Status {
        if (!(op.access & kAccessAdminister))
            return winerr::AccessDenied;
        if (!validPrinterName(info.printerName))
            return winerr::InvalidPrinterName;
        const Json* other = findPrinter(s, info.printerName);
        if (other && other != &p)
            return winerr::PrinterAlreadyExists;
        if (Status e = checkPrinterParts(s, info))
            return e;
        const std::wstring oldName = textOf(p, "name");
        applyPrinterInfo2(p, info);
        refreshDsSpooler(p);
        Json& spooler = objectAt(s, "spooler");
        if (text::equalsNoCase(textOf(spooler, "defaultPrinter"), oldName))
            spooler["defaultPrinter"] = u8(info.printerName);
        op.name = info.printerName; // the handle follows its printer through a rename
        return winerr::Success;
    });
}

Status SimSpooler::setPrinter7(ports::SpoolerHandle& printer, std::uint32_t action) noexcept {
    return writePrinter(printer, {"SetPrinterW"}, [&](Json&, Json& p, Opened& o) -> Status {
        if (!(o.access & kAccessAdminister))
            return winerr::AccessDenied;
        p["dsAction"] = action;
        return winerr::Success;
    });
}

Status SimSpooler::setPrinterCommand(ports::SpoolerHandle& printer, std::uint32_t command) noexcept {
    return writePrinter(printer, {"SetPrinterW"}, [&](Json& s, Json& p, Opened& o) -> Status {
        if (!(o.access & kAccessAdminister))
            return winerr::AccessDenied;
        const auto status = static_cast<std::uint32_t>(numberOf(p, "status"));
        switch (command) {
        case 1: // PRINTER_CONTROL_PAUSE
            p["status"] = status | kStatusPaused;
            return winerr::Success;
        case 2: // PRINTER_CONTROL_RESUME
            p["status"] = status & ~kStatusPaused;
            return winerr::Success;
        case ports::spool::ControlPurge:
            p["jobs"] = 0;
            if (flagOf(p, "pendingDeletion")) // its last jobs are gone, so is the printer
                eraseNamed(arrayAt(objectAt(s, "spooler"), "printers"), "name", textOf(p, "name"));
            return winerr::Success;
        default:
            return winerr::InvalidPrinterCommand;
        }
    });
}

Status SimSpooler::getPrinterData(ports::SpoolerHandle& printer, std::wstring_view key,
                                  std::wstring_view valueName, ports::RegValue& out) noexcept {
    out = {};
    if (key.empty())
        return winerr::InvalidParameter;
    return readPrinter(printer, {"GetPrinterDataExW"}, [&](const Json&, const Json& p, const Opened&) {
        const Json* k = findMember(memberOf(p, "data"), key);
        const Json* v = k ? findMember(*k, valueName) : nullptr;
        if (!v)
            return winerr::FileNotFound;
        out = regFromJson(*v);
        return winerr::Success;
    });
}

Status SimSpooler::setPrinterData(ports::SpoolerHandle& printer, std::wstring_view key,
                                  std::wstring_view valueName, const ports::RegValue& value) noexcept {
    if (key.empty())
        return winerr::InvalidParameter;
    return writePrinter(printer, {"SetPrinterDataExW"}, [&](Json&, Json& p, Opened& o) -> Status {
        if (!(o.access & kAccessAdminister))
            return winerr::AccessDenied;
        Json& data = objectAt(p, "data");
        Json* k = findMember(data, key);
        if (!k) {
            data[u8(key)] = Json::object();
            k = &data[u8(key)];
        }
        if (Json* v = findMember(*k, valueName))
            *v = regToJson(value);
        else
            (*k)[u8(valueName)] = regToJson(value);
        return winerr::Success;
    });
}

Status SimSpooler::getDefaultPrinter(std::wstring& out) noexcept {
    out.clear();
    if (Status s = enterRead({"GetDefaultPrinterW"}))
        return s;
    out = machine_.read([](const Json& s) { return textOf(memberOf(s, "spooler"), "defaultPrinter"); });
    return out.empty() ? winerr::FileNotFound : winerr::Success;
}

Status SimSpooler::setDefaultPrinter(std::wstring_view printerName) noexcept {
    return machine_.write([&](Json& s) -> Status {
        if (Status e = enter(s, {"SetDefaultPrinterW"}))
            return e;
        const Json* p = findPrinter(s, printerName);
        if (!p)
            return winerr::InvalidPrinterName;
        objectAt(s, "spooler")["defaultPrinter"] = (*p)["name"];
        return winerr::Success;
    });
}

void SimSpooler::announcePrinterChange(std::wstring_view printerName) noexcept {
    machine_.write([&](Json& s) { arrayAt(s, "shellNotifications").push_back(u8(printerName)); });
}

Status SimSpooler::invokePrinterCommand(ports::WindowId, std::uint32_t action,
                                        std::wstring_view printerPath) noexcept {
    return machine_.write([&](Json& s) -> Status {
        if (Status f = SimMachine::takeFault(s, "SHInvokePrinterCommandW"))
            return f;
        arrayAt(s, "printerCommands").push_back(Json{{"action", action}, {"printer", u8(printerPath)}});
        return winerr::Success;
    });
}

} // namespace sim
