// /install: the choices the wizard's pages would make, checked against the machine before anything
// changes, then the summary page's sequence (the install operation and the finishing step).
#include "app/CApp.h"
#include "base/Compare.h"
#include "base/Format.h"
#include "catalogue/DriverCatalogue.h"
#include "cli/BluetoothSearch.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/NetworkSearch.h"
#include "discovery/usb/UsbPrinterScan.h"
#include "engine/install/PrinterQueue.h"
#include "engine/install/TcpIpPorts.h"
#include "engine/operation/RunOperations.h"
#include "engine/printers/ProposedPrinterName.h"

#include <algorithm>
#include <optional>

namespace cli {

namespace {

namespace winerr = ports::winerr;

// A check that failed before anything changed: its exit code, its line already logged.
struct Refusal {
    int exitCode;
};

class Installer {
public:
    Installer(CApp& app, const Command& command, RunLog& log)
        : app_(app), command_(command), log_(log), session_(app.session()),
          spooler_(app.platform().spooler()) {}

    int run() {
        if (const auto refused = choose())
            return refused->exitCode;
        return install();
    }

private:
    std::optional<Refusal> refuse(int code, std::wstring_view line) {
        log_.error(std::wstring(line) + L": nothing was changed");
        return Refusal{code};
    }

    // The model, the connection and the name, as the pages would set them.
    std::optional<Refusal> choose() {
        session_.setupMode = setup_mode::Install;
        session_.chosen = PrinterEntry();
        const std::wstring& mode = session_.manufacturer.Name;
        if (!command_.model.empty()) {
            model_ = catalogue::FindDriver(mode, command_.model, app_.catalogueDoc());
            if (!model_)
                return refuse(kExitBadCommandLine,
                              text::format(L"the model %s is not in the catalogue of %s (see /list:models)",
                                           command_.model, mode));
        }
        std::optional<Refusal> refused;
        switch (command_.connection) {
        case Connection::Usb:
            refused = chooseUsbPrinter();
            break;
        case Connection::Network:
            refused = chooseNetworkPort(command_.connectionValue);
            break;
        case Connection::Udp:
            refused = chooseSearchedPrinter();
            break;
        case Connection::Bluetooth:
            refused = chooseBluetoothPrinter();
            break;
        case Connection::Serial:
        case Connection::Parallel:
        case Connection::Port:
            refused = chooseExistingPort();
            break;
        case Connection::None:
            refused = refuse(kExitBadCommandLine, L"no connection given");
            break;
        }
        if (refused)
            return refused;
        return chooseName();
    }

    void setModel(DriverRef model) {
        session_.chosen.driverNode = model;
        session_.chosen.modelName = catalogue::DriverName(model);
    }

    std::optional<Refusal> chooseUsbPrinter() {
        session_.portType = port_type::Usb;
        discovery::ScanUsbPrinters({app_.context(), app_.catalogueDoc(), session_});
        const std::wstring& id = command_.connectionValue;
        const auto matches = [&](const PrinterEntry& e) {
            if (!e.driverNode)
                return false;
            if (!id.empty() && !text::equalsNoCase(e.hardwareId, id))
                return false;
            return !model_ || catalogue::DriverName(e.driverNode) == catalogue::DriverName(model_);
        };
        const auto found = std::find_if(session_.devices.begin(), session_.devices.end(), matches);
        if (found == session_.devices.end()) {
            const std::wstring what = !id.empty()               ? L"with the hardware ID " + id
                                      : !command_.model.empty() ? L"of the model " + command_.model
                                                                : std::wstring(L"of a catalogue model");
            log_.error(L"no USB printer " + what + L" is plugged in: nothing was changed");
            return Refusal{kExitFailed};
        }
        // The found-printer model page takes the whole entry.
        session_.chosen = *found;
        if (session_.chosen.modelName.empty())
            setModel(found->driverNode);
        log_.info(text::format(L"USB printer %s on %s (%s)", session_.chosen.modelName,
                               session_.chosen.portName, session_.chosen.hardwareId));
        return std::nullopt;
    }

    std::optional<Refusal> chooseNetworkPort(const std::wstring& address) {
        session_.portType = port_type::Network;
        setModel(model_);
        session_.chosen.ipAddress = address;
        session_.chosen.portName = !command_.tcpPortName.empty()
                                       ? command_.tcpPortName
                                       : text::format(L"%s_%s", session_.chosen.modelName, address);
        if (address.size() > engine::kMaxIpAddressText)
            return refuse(
                kExitBadCommandLine,
                text::format(L"the address %s is longer than a Standard TCP/IP port holds (%d characters)",
                             address, static_cast<int>(engine::kMaxIpAddressText)));
        if (session_.chosen.portName.size() > engine::kMaxTcpIpPortName)
            return refuse(kExitBadCommandLine, text::format(L"the port name %s is longer than %d characters",
                                                            session_.chosen.portName,
                                                            static_cast<int>(engine::kMaxTcpIpPortName)));
        if (portExists(session_.chosen.portName))
            return refuse(kExitBadCommandLine,
                          app_.context().tr(L"端口名已存在, 请重新输入.") + L" " + session_.chosen.portName);
        return std::nullopt;
    }

    std::optional<Refusal> chooseSearchedPrinter() {
        if (!catalogue::SupportsUdp(model_))
            return refuse(
                kExitBadCommandLine,
                text::format(L"the model %s does not answer the network search: give its address with /ip",
                             command_.model));
        NetworkSearchOptions options{command_.searchSeconds, command_.udpTarget, command_.udpFrom,
                                     catalogue::DriverName(model_)};
        options.deaf = [&](std::wstring_view address, std::uint16_t port) {
            log_.error(CannotListenText(address, port));
        };
        const std::wstring& mac = command_.connectionValue;
        const auto wanted = [&](const discovery::UdpPrinterInfo& p) {
            return mac.empty() || normaliseMac(p.macAddress) == mac;
        };
        const auto printers = SearchNetworkPrinters(app_.platform(), options, [&](const auto& list) {
            return std::any_of(list.begin(), list.end(), wanted);
        });
        const auto found = std::find_if(printers.begin(), printers.end(), wanted);
        if (found == printers.end()) {
            log_.error(
                text::format(L"no network printer of the model %s%s answered the search in %d s: nothing "
                             L"was changed",
                             command_.model, mac.empty() ? std::wstring() : L" with the MAC " + mac,
                             static_cast<int>(command_.searchSeconds)));
            return Refusal{kExitFailed};
        }
        log_.info(text::format(L"network printer %s, %s, MAC %s", found->netName, found->ipAddr,
                               found->macAddress));
        // The network search page copies the printer's name into both the address and the port name.
        return chooseNetworkPort(found->netName);
    }

    std::optional<Refusal> chooseBluetoothPrinter() {
        session_.portType = port_type::Bluetooth;
        if (!catalogue::IsBluetoothDriver(model_))
            return refuse(kExitBadCommandLine,
                          text::format(L"the model %s has no Bluetooth driver", command_.model));
        const auto found = SearchBluetoothPrinters(app_.platform().bluetooth());
        const std::wstring& address = command_.connectionValue;
        const auto printer =
            std::find_if(found.printers.begin(), found.printers.end(),
                         [&](const PrinterEntry& e) { return address.empty() || e.btAddress == address; });
        if (printer == found.printers.end()) {
            log_.error(!found.radio
                           ? std::wstring(L"this machine has no Bluetooth radio: nothing was changed")
                           : text::format(L"no Bluetooth printer%s is in range: nothing was changed",
                                          address.empty() ? std::wstring() : L" " + address));
            return Refusal{kExitFailed};
        }
        log_.info(text::format(L"Bluetooth printer %s, address %s", printer->modelName, printer->btAddress));
        // The driver page replaces the device's name with the chosen model.
        session_.chosen = *printer;
        setModel(model_);
        return std::nullopt;
    }

    std::optional<Refusal> chooseExistingPort() {
        session_.portType = command_.connection == Connection::Serial     ? port_type::Serial
                            : command_.connection == Connection::Parallel ? port_type::Parallel
                                                                          : port_type::Custom;
        setModel(model_);
        const auto name = existingPortName(command_.connectionValue);
        if (!name)
            return refuse(kExitBadCommandLine, L"the port " + command_.connectionValue +
                                                   L" does not exist on this machine (see /list:ports)");
        session_.chosen.portName = *name;
        return std::nullopt;
    }

    std::optional<Refusal> chooseName() {
        auto& chosen = session_.chosen;
        chosen.printerName = command_.printerName ? *command_.printerName
                                                  : engine::ProposePrinterName(app_.context(), session_);
        if (chosen.printerName.empty()) {
            log_.error(
                L"the printers of this machine cannot be listed, so no name can be proposed: nothing was "
                L"changed");
            return Refusal{kExitFailed};
        }
        std::vector<ports::PrinterInfo4> printers;
        if (spooler_.enumPrinters4(ports::spool::EnumLocal | ports::spool::EnumConnections, printers) ==
            winerr::Success)
            for (const auto& p : printers)
                if (text::equalsNoCase(p.printerName, chosen.printerName))
                    return refuse(kExitBadCommandLine,
                                  L"a printer named " + p.printerName + L" exists already");
        return std::nullopt;
    }

    std::optional<std::wstring> existingPortName(std::wstring_view name) {
        std::vector<ports::PortInfo2> list;
        if (spooler_.enumPorts2(list) != winerr::Success)
            return std::nullopt;
        for (const auto& p : list)
            if (text::equalsNoCase(p.portName, name))
                return p.portName;
        return std::nullopt;
    }

    bool portExists(std::wstring_view name) { return existingPortName(name).has_value(); }

    // The summary page's Next: the operation, then the finishing step, then what the machine shows.
    int install() {
        const auto& chosen = session_.chosen;
        // A Bluetooth printer's COM port appears only once it is paired.
        log_.info(text::format(L"installing %s on %s as %s", chosen.modelName,
                               chosen.portName.empty() ? std::wstring(L"its Bluetooth serial port")
                                                       : chosen.portName,
                               chosen.printerName));
        engine::InstallOutcome outcome;
        // The PIN dialog's answer comes from the command line, once; without /pin nobody is asked.
        std::function<bool(std::wstring&)> askPin;
        if (command_.bluetoothPin)
            askPin = [this, asked = false](std::wstring& pin) mutable {
                if (asked)
                    return false;
                asked = true;
                pin = *command_.bluetoothPin;
                return true;
            };
        const engine::InstallContext ctx{app_.context(),  session_, app_.catalogueDoc(),
                                         app_.errorBox(), &outcome, std::move(askPin)};
        engine::WaitingProgressWindow window;
        std::wstring packageFolder;
        if (!engine::RunInstallOperation(ctx, app_.skin(), packageFolder, window)) {
            log_.error(L"the installation did not complete");
            return kExitFailed;
        }
        const std::wstring wanted = chosen.printerName;
        engine::FinishInstalledPrinter(ctx, command_.setDefault);
        if (!queueExists(wanted)) {
            log_.error(L"the printer " + wanted + L" is not on this machine after the installation");
            return kExitFailed;
        }
        if (command_.setDefault && !isDefault(wanted))
            return kExitFailed; // the finishing step said so in red
        log_.ok(app_.context().tr(L"安装完成."));
        return outcome.restartNeeded ? kExitRestartNeeded : kExitSuccess;
    }

    bool queueExists(std::wstring_view name) {
        std::vector<ports::PrinterInfo4> printers;
        if (spooler_.enumPrinters4(ports::spool::EnumLocal, printers) != winerr::Success)
            return false;
        return std::any_of(printers.begin(), printers.end(), [&](const ports::PrinterInfo4& p) {
            return text::equalsNoCase(p.printerName, name);
        });
    }

    bool isDefault(std::wstring_view name) {
        std::wstring current;
        return spooler_.getDefaultPrinter(current) == winerr::Success && text::equalsNoCase(current, name);
    }

    CApp& app_;
    const Command& command_;
    RunLog& log_;
    SetupSession& session_;
    ports::PrintSpooler& spooler_;
    DriverRef model_;
};

} // namespace

int RunInstallCommand(CApp& app, const Command& command, RunLog& log) {
    return Installer(app, command, log).run();
}

} // namespace cli
