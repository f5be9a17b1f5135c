// /search: the USB printers the wizard's USB pages would list and the network printers that answer
// the network search, and on request the Bluetooth printers in range, as a table or JSON.
#include "app/CApp.h"
#include "base/Format.h"
#include "base/Utf.h"
#include "catalogue/DriverCatalogue.h"
#include "cli/BluetoothSearch.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/NetworkSearch.h"
#include "cli/Output.h"
#include "discovery/usb/UsbPrinterScan.h"

namespace cli {

namespace {

Table usbPrinters(CApp& app, const Command& command) {
    SetupSession& session = app.session();
    session.portType = port_type::Usb;
    discovery::ScanUsbPrinters({app.context(), app.catalogueDoc(), session});
    Table t{{L"model", L"port", L"hardwareId", L"installed"}, {}};
    for (const auto& e : session.devices) {
        const std::wstring model = e.driverNode ? catalogue::DriverName(e.driverNode) : std::wstring();
        if (!command.model.empty() && model != command.model)
            continue;
        t.rows.push_back({model, e.portName, e.hardwareId, e.installed ? L"true" : L"false"});
    }
    return t;
}

Table networkPrinters(CApp& app, const Command& command, RunLog& log) {
    NetworkSearchOptions options{command.searchSeconds, command.udpTarget, command.udpFrom, command.model};
    options.deaf = [&](std::wstring_view address, std::uint16_t port) {
        log.error(CannotListenText(address, port));
    };
    Table t{{L"name", L"model", L"firmware", L"dhcp", L"ip", L"mask", L"gateway", L"mac"}, {}};
    for (const auto& p : SearchNetworkPrinters(app.platform(), options))
        t.rows.push_back({p.netName, p.printerModel, p.firmware, p.dhcp ? L"true" : L"false", p.ipAddr,
                          p.subnetMask, p.gateway, p.macAddress});
    return t;
}

Table bluetoothPrinters(CApp& app, RunLog& log) {
    const auto found = SearchBluetoothPrinters(app.platform().bluetooth());
    if (!found.radio)
        log.error(L"this machine has no Bluetooth radio");
    Table t{{L"name", L"address"}, {}};
    for (const auto& e : found.printers)
        t.rows.push_back({e.modelName, e.btAddress});
    return t;
}

} // namespace

int RunSearchCommand(CApp& app, const Command& command, RunLog& log, const Console& console) {
    std::vector<std::pair<std::wstring, Table>> found;
    if (command.searchUsb)
        found.emplace_back(L"usb", usbPrinters(app, command));
    if (command.searchUdp)
        found.emplace_back(L"network", networkPrinters(app, command, log));
    if (command.searchBluetooth)
        found.emplace_back(L"bluetooth", bluetoothPrinters(app, log));
    for (const auto& [name, table] : found)
        log.info(text::format(L"%s printers found: %d", name, static_cast<int>(table.rows.size())));
    if (command.json) {
        console.out(text::fromUtf8(tablesJson(found, {L"installed", L"dhcp"})));
        return kExitSuccess;
    }
    for (const auto& [name, table] : found) {
        console.out(name == L"usb"       ? L"USB printers:"
                    : name == L"network" ? L"Network printers:"
                                         : L"Bluetooth printers:");
        console.out(tableText(table));
    }
    return kExitSuccess;
}

} // namespace cli
