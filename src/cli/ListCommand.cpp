// /list: the catalogue's models of this build's manufacturer, and the printers, drivers and ports of
// this machine that belong to them (a printer whose driver is one of the models, its port).
#include "app/Architecture.h"
#include "app/CApp.h"
#include "base/Compare.h"
#include "base/Utf.h"
#include "catalogue/DriverCatalogue.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/Output.h"

#include <algorithm>

namespace cli {

namespace {

namespace winerr = ports::winerr;

class Lister {
public:
    Lister(CApp& app, const Command& command)
        : app_(app), command_(command), mode_(app.session().manufacturer.Name),
          spooler_(app.platform().spooler()) {}

    // The table, or none when the machine cannot be asked.
    std::optional<Table> run() {
        switch (command_.list) {
        case ListWhat::Models:
            return models();
        case ListWhat::Printers:
            return printers();
        case ListWhat::Drivers:
            return drivers();
        case ListWhat::Ports:
            return ports();
        }
        return std::nullopt;
    }

private:
    bool ours(std::wstring_view driverName) const {
        return static_cast<bool>(catalogue::FindDriver(mode_, driverName, app_.catalogueDoc()));
    }
    bool wanted(std::wstring_view text) const {
        return command_.filter.empty() || text::containsNoCase(text, command_.filter);
    }

    Table models() const {
        Table t{{L"model", L"hardwareId", L"networkSearch", L"languageMonitor"}, {}};
        DriverRef ref;
        for (bool more = catalogue::FirstDriver(mode_, app_.catalogueDoc(), ref); more;
             more = catalogue::NextDriver(mode_, ref)) {
            const std::wstring& name = catalogue::DriverName(ref);
            if (wanted(name))
                t.rows.push_back({name, catalogue::DriverUsbName(ref),
                                  catalogue::SupportsUdp(ref) ? L"true" : L"false",
                                  catalogue::UsesLanguageMonitor(ref) ? L"true" : L"false"});
        }
        return t;
    }

    std::optional<std::vector<ports::PrinterInfo2>> ourPrinters() const {
        std::vector<ports::PrinterInfo2> all;
        if (spooler_.enumPrinters2(ports::spool::EnumLocal, all) != winerr::Success)
            return std::nullopt;
        std::erase_if(all, [&](const ports::PrinterInfo2& p) { return !ours(p.driverName); });
        return all;
    }

    std::optional<Table> printers() const {
        const auto list = ourPrinters();
        if (!list)
            return std::nullopt;
        std::wstring defaultPrinter;
        (void)spooler_.getDefaultPrinter(defaultPrinter);
        Table t{{L"printer", L"driver", L"port", L"default"}, {}};
        for (const auto& p : *list)
            if (wanted(p.printerName))
                t.rows.push_back({p.printerName, p.driverName, p.portName,
                                  text::equalsNoCase(p.printerName, defaultPrinter) ? L"true" : L"false"});
        return t;
    }

    std::optional<Table> drivers() const {
        std::vector<ports::DriverInfo> list;
        const std::wstring environment = app::printEnvironment(app_.platform().system());
        if (spooler_.enumDrivers(environment, 3, list) != winerr::Success)
            return std::nullopt;
        Table t{{L"driver", L"environment", L"version", L"languageMonitor"}, {}};
        for (const auto& d : list)
            if (ours(d.name) && wanted(d.name))
                t.rows.push_back(
                    {d.name, d.environment, std::to_wstring(d.version), d.monitorName.value_or(L"")});
        return t;
    }

    std::optional<Table> ports() const {
        const auto printers = ourPrinters();
        std::vector<ports::PortInfo2> list;
        if (!printers || spooler_.enumPorts2(list) != winerr::Success)
            return std::nullopt;
        Table t{{L"port", L"monitor", L"description", L"printers"}, {}};
        for (const auto& port : list) {
            std::wstring users;
            for (const auto& p : *printers)
                if (text::equalsNoCase(p.portName, port.portName))
                    users += (users.empty() ? L"" : L", ") + p.printerName;
            if (!users.empty() && wanted(port.portName))
                t.rows.push_back(
                    {port.portName, port.monitorName.value_or(L""), port.description.value_or(L""), users});
        }
        return t;
    }

    CApp& app_;
    const Command& command_;
    const std::wstring mode_;
    ports::PrintSpooler& spooler_;
};

} // namespace

int RunListCommand(CApp& app, const Command& command, const Console& console) {
    const auto table = Lister(app, command).run();
    if (!table) {
        console.err(L"the print system cannot be asked: is the print spooler running?");
        return kExitFailed;
    }
    if (command.json)
        console.out(text::fromUtf8(tableJson(*table, {L"networkSearch", L"languageMonitor", L"default"})));
    else
        console.out(tableText(*table));
    return kExitSuccess;
}

} // namespace cli
