#include "cli/CliCommand.h"

#include "base/Compare.h"
#include "platform/ports/PrinterName.h"

#include <algorithm>
#include <array>
#include <cwctype>

namespace cli {

namespace {

enum class Value { None, Optional, Required };

// Which verbs a switch goes with, as bits of 1 << Verb.
constexpr unsigned bit(Verb v) {
    return 1u << static_cast<unsigned>(v);
}
constexpr unsigned kAllVerbs = 0xFFu;
constexpr unsigned kUdpSearching = bit(Verb::Install) | bit(Verb::Search);

struct Switch {
    std::wstring_view name;
    Value value;
    unsigned verbs;
    bool repeatable = false;
    std::optional<Verb> verb{}; // a switch that names the command
};

constexpr std::array kSwitches = {
    Switch{L"install", Value::None, kAllVerbs, false, Verb::Install},
    Switch{L"upgrade", Value::None, kAllVerbs, false, Verb::Upgrade},
    Switch{L"delete", Value::None, kAllVerbs, false, Verb::Delete},
    Switch{L"search", Value::None, kAllVerbs, false, Verb::Search},
    Switch{L"list", Value::Required, kAllVerbs, false, Verb::List},
    Switch{L"?", Value::None, kAllVerbs, false, Verb::Help},
    Switch{L"help", Value::None, kAllVerbs, false, Verb::Help},
    Switch{L"version", Value::None, kAllVerbs, false, Verb::Version},
    Switch{L"model", Value::Required, bit(Verb::Install) | bit(Verb::Search)},
    Switch{L"usb", Value::Optional, bit(Verb::Install) | bit(Verb::Search)},
    Switch{L"udp", Value::Optional, bit(Verb::Install) | bit(Verb::Search)},
    Switch{L"bluetooth", Value::Optional, bit(Verb::Install) | bit(Verb::Search)},
    Switch{L"pin", Value::Required, bit(Verb::Install)},
    Switch{L"ip", Value::Required, bit(Verb::Install)},
    Switch{L"portname", Value::Required, bit(Verb::Install)},
    Switch{L"serial", Value::Required, bit(Verb::Install)},
    Switch{L"parallel", Value::Required, bit(Verb::Install)},
    Switch{L"port", Value::Required, bit(Verb::Install)},
    Switch{L"name", Value::Required, bit(Verb::Install)},
    Switch{L"default", Value::None, bit(Verb::Install)},
    Switch{L"printer", Value::Required, bit(Verb::Upgrade) | bit(Verb::Delete), true},
    Switch{L"driver", Value::Required, bit(Verb::Delete), true},
    Switch{L"all", Value::None, bit(Verb::Upgrade) | bit(Verb::Delete)},
    Switch{L"filter", Value::Required, bit(Verb::List)},
    Switch{L"json", Value::None, bit(Verb::Search) | bit(Verb::List)},
    Switch{L"timeout", Value::Required, kUdpSearching},
    Switch{L"udptarget", Value::Required, kUdpSearching},
    Switch{L"udpfrom", Value::Required, kUdpSearching, true},
    Switch{L"quiet", Value::None, kAllVerbs},
    Switch{L"norestart", Value::None, kAllVerbs},
    Switch{L"log", Value::Required, kAllVerbs},
};

struct Given {
    const Switch* sw;
    std::wstring written; // as typed, for messages
    std::optional<std::wstring> value;
};

bool programSwitch(std::wstring_view a) {
    return a == L"-debug" || a == L"-simulate" || a.starts_with(L"-simulate=");
}

const wchar_t* verbName(Verb v) {
    switch (v) {
    case Verb::Install:
        return L"/install";
    case Verb::Upgrade:
        return L"/upgrade";
    case Verb::Delete:
        return L"/delete";
    case Verb::Search:
        return L"/search";
    case Verb::List:
        return L"/list";
    case Verb::Help:
        return L"/?";
    case Verb::Version:
        return L"/version";
    }
    return L"";
}

bool isDigits(std::wstring_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

bool fullWindowsPath(std::wstring_view p) {
    const bool drive = p.size() >= 3 && std::iswalpha(static_cast<wint_t>(p[0])) && p[1] == L':' &&
                       (p[2] == L'\\' || p[2] == L'/');
    return drive || p.starts_with(L"\\\\");
}

// "address" or "address:port", the address an IPv4 address or a host name.
bool validTarget(std::wstring_view t) {
    const auto colon = t.rfind(L':');
    if (colon != std::wstring_view::npos) {
        const std::wstring_view port = t.substr(colon + 1);
        if (!isDigits(port) || port.size() > 5 || std::stoul(std::wstring(port)) - 1 > 65534u)
            return false;
        t = t.substr(0, colon);
    }
    return isIpv4Address(t) || isHostName(t);
}

class Parser {
public:
    explicit Parser(std::span<const std::wstring> args) : args_(args) {}

    ParseOutcome run() {
        if (!collect())
            return fail();
        if (!verb_) {
            error_ = L"no command: give one of /install, /upgrade, /delete, /search, /list, /? or /version";
            return fail();
        }
        command_.verb = *verb_;
        for (const auto& g : given_) {
            if (!(g.sw->verbs & bit(*verb_))) {
                error_ = g.written + L" does not go with " + verbName(*verb_);
                return fail();
            }
            if (!apply(g))
                return fail();
        }
        if (!check())
            return fail();
        return {std::move(command_), {}};
    }

private:
    ParseOutcome fail() { return {std::nullopt, std::move(error_)}; }

    bool collect() {
        for (const auto& a : args_) {
            if (programSwitch(a))
                continue;
            if (a.size() < 2 || a[0] != L'/') {
                error_ = L"unexpected argument \"" + a + L"\": switches start with /";
                return false;
            }
            const auto sep = a.find_first_of(L":=", 1);
            const std::wstring name = a.substr(1, sep == std::wstring::npos ? std::wstring::npos : sep - 1);
            const auto* sw = std::find_if(kSwitches.begin(), kSwitches.end(),
                                          [&](const Switch& s) { return text::equalsNoCase(s.name, name); });
            if (sw == kSwitches.end()) {
                error_ = L"unknown switch /" + name;
                return false;
            }
            Given g{sw, L"/" + name, std::nullopt};
            if (sep != std::wstring::npos)
                g.value = a.substr(sep + 1);
            if (sw->value == Value::None && g.value) {
                error_ = g.written + L" takes no value";
                return false;
            }
            if (sw->value == Value::Required && (!g.value || g.value->empty())) {
                error_ = g.written + L" needs a value: " + g.written + L":VALUE";
                return false;
            }
            if (!sw->repeatable &&
                std::any_of(given_.begin(), given_.end(), [&](const Given& o) { return o.sw == sw; })) {
                error_ = g.written + L" is given twice";
                return false;
            }
            if (sw->verb) {
                if (verb_ && *verb_ != *sw->verb) {
                    error_ = std::wstring(L"two commands: ") + verbName(*verb_) + L" and " + g.written;
                    return false;
                }
                verb_ = sw->verb;
            }
            given_.push_back(std::move(g));
        }
        return true;
    }

    bool connection(Connection c, const Given& g) {
        if (command_.verb == Verb::Search) {
            // In a search the two switches choose what is searched.
            if (g.value) {
                error_ = g.written + L" takes no value with /search";
                return false;
            }
            (c == Connection::Usb   ? searchUsbAsked_
             : c == Connection::Udp ? searchUdpAsked_
                                    : searchBluetoothAsked_) = true;
            return true;
        }
        if (command_.connection != Connection::None) {
            error_ = L"more than one connection: give one of /usb, /ip, /udp, /bluetooth, /serial, /parallel "
                     L"or /port";
            return false;
        }
        command_.connection = c;
        command_.connectionValue = g.value.value_or(L"");
        if (text::equalsNoCase(command_.connectionValue, L"first"))
            command_.connectionValue.clear();
        return true;
    }

    bool apply(const Given& g) {
        const std::wstring_view n = g.sw->name;
        const std::wstring v = g.value.value_or(L"");
        if (n == L"list") {
            static constexpr std::pair<std::wstring_view, ListWhat> kinds[] = {
                {L"models", ListWhat::Models},
                {L"printers", ListWhat::Printers},
                {L"drivers", ListWhat::Drivers},
                {L"ports", ListWhat::Ports}};
            for (const auto& [word, what] : kinds)
                if (text::equalsNoCase(word, v)) {
                    command_.list = what;
                    return true;
                }
            error_ = L"/list:" + v + L" is not one of models, printers, drivers, ports";
            return false;
        }
        if (n == L"model")
            command_.model = v;
        else if (n == L"usb")
            return connection(Connection::Usb, g);
        else if (n == L"udp")
            return connection(Connection::Udp, g);
        else if (n == L"bluetooth")
            return connection(Connection::Bluetooth, g);
        else if (n == L"pin")
            command_.bluetoothPin = v;
        else if (n == L"ip")
            return connection(Connection::Network, g);
        else if (n == L"serial")
            return connection(Connection::Serial, g);
        else if (n == L"parallel")
            return connection(Connection::Parallel, g);
        else if (n == L"port")
            return connection(Connection::Port, g);
        else if (n == L"portname")
            command_.tcpPortName = v;
        else if (n == L"name")
            command_.printerName = v;
        else if (n == L"default")
            command_.setDefault = true;
        else if (n == L"printer")
            command_.printers.push_back(v);
        else if (n == L"driver")
            command_.drivers.push_back(v);
        else if (n == L"all")
            command_.all = true;
        else if (n == L"filter")
            command_.filter = v;
        else if (n == L"json")
            command_.json = true;
        else if (n == L"timeout") {
            if (!isDigits(v) || v.size() > 2 || std::stoul(v) < 1 || std::stoul(v) > 60) {
                error_ = L"/timeout:" + v + L" is not a number of seconds from 1 to 60";
                return false;
            }
            command_.searchSeconds = static_cast<unsigned>(std::stoul(v));
        } else if (n == L"udptarget") {
            if (!validTarget(v)) {
                error_ = L"/udptarget:" + v + L" is not an address, or address:port";
                return false;
            }
            command_.udpTarget = v;
        } else if (n == L"udpfrom") {
            if (!isIpv4Address(v)) {
                error_ = L"/udpfrom:" + v + L" is not an IPv4 address";
                return false;
            }
            command_.udpFrom.push_back(v);
        } else if (n == L"quiet")
            command_.quiet = true;
        else if (n == L"norestart")
            command_.noRestart = true;
        else if (n == L"log") {
            if (!fullWindowsPath(v)) {
                error_ = L"/log:" + v + L" is not a full path (such as C:\\Windows\\Temp\\printer.log)";
                return false;
            }
            command_.logFile = v;
        }
        return true;
    }

    bool check() {
        auto& c = command_;
        switch (c.verb) {
        case Verb::Install:
            return checkInstall();
        case Verb::Upgrade:
            if (c.all == !c.printers.empty()) {
                error_ = L"/upgrade needs /printer:NAME (one or more) or /all";
                return false;
            }
            return true;
        case Verb::Delete:
            if (c.all == (!c.printers.empty() || !c.drivers.empty())) {
                error_ = L"/delete needs /printer:NAME or /driver:NAME (one or more), or /all";
                return false;
            }
            return true;
        case Verb::Search:
            if (searchUsbAsked_ || searchUdpAsked_ || searchBluetoothAsked_) {
                c.searchUsb = searchUsbAsked_;
                c.searchUdp = searchUdpAsked_;
                c.searchBluetooth = searchBluetoothAsked_;
            }
            return true;
        default:
            return true;
        }
    }

    bool checkInstall() {
        auto& c = command_;
        if (c.connection == Connection::None) {
            error_ = L"/install needs a connection: one of /usb, /ip, /udp, /bluetooth, /serial, /parallel "
                     L"or /port";
            return false;
        }
        if (c.model.empty() && c.connection != Connection::Usb) {
            error_ = L"/install needs /model:NAME for this connection";
            return false;
        }
        if (!c.tcpPortName.empty() && c.connection != Connection::Network) {
            error_ = L"/portname goes only with /ip";
            return false;
        }
        const bool udp = c.connection == Connection::Udp;
        for (const auto& g : given_)
            if (!udp &&
                (g.sw->name == L"timeout" || g.sw->name == L"udptarget" || g.sw->name == L"udpfrom")) {
                error_ = g.written + L" goes only with /udp";
                return false;
            }
        if (c.connection == Connection::Network && !isIpv4Address(c.connectionValue) &&
            !isHostName(c.connectionValue)) {
            error_ = L"/ip:" + c.connectionValue + L" is not an IPv4 address or a host name";
            return false;
        }
        const bool bluetooth = c.connection == Connection::Bluetooth;
        if (c.bluetoothPin && !bluetooth) {
            error_ = L"/pin goes only with /bluetooth";
            return false;
        }
        if (bluetooth && !c.connectionValue.empty()) {
            const auto address = normaliseMac(c.connectionValue);
            if (!address) {
                error_ = L"/bluetooth:" + c.connectionValue +
                         L" is not a Bluetooth address (such as DC:0D:30:A1:B2:C3)";
                return false;
            }
            c.connectionValue = *address;
            std::erase(c.connectionValue, L':');
        }
        if (udp && !c.connectionValue.empty()) {
            const auto mac = normaliseMac(c.connectionValue);
            if (!mac) {
                error_ = L"/udp:" + c.connectionValue + L" is not a MAC address (such as 00:1B:44:11:3A:B7)";
                return false;
            }
            c.connectionValue = *mac;
        }
        if (c.printerName && !ports::validPrinterName(*c.printerName)) {
            error_ = L"/name:" + *c.printerName +
                     L" is not a printer name Windows accepts (1 to 220 characters, none of , ! \\)";
            return false;
        }
        if (c.connection == Connection::Network && !c.tcpPortName.empty() && c.tcpPortName.size() > 63) {
            error_ = L"/portname:" + c.tcpPortName + L" is longer than 63 characters";
            return false;
        }
        return true;
    }

    std::span<const std::wstring> args_;
    std::vector<Given> given_;
    std::optional<Verb> verb_;
    Command command_;
    std::wstring error_;
    bool searchUsbAsked_ = false;
    bool searchUdpAsked_ = false;
    bool searchBluetoothAsked_ = false;
};

} // namespace

bool isUnattendedRun(std::span<const std::wstring> args) {
    return std::any_of(args.begin(), args.end(), [](const std::wstring& a) { return a.starts_with(L'/'); });
}

ParseOutcome parseCommand(std::span<const std::wstring> args) {
    return Parser(args).run();
}

bool isIpv4Address(std::wstring_view text) {
    int parts = 0;
    while (true) {
        const auto dot = text.find(L'.');
        const std::wstring_view part = text.substr(0, dot);
        // No leading zero: Windows would read "010" as octal.
        if (!isDigits(part) || part.size() > 3 || (part.size() > 1 && part[0] == L'0') ||
            std::stoul(std::wstring(part)) > 255)
            return false;
        ++parts;
        if (dot == std::wstring_view::npos)
            break;
        text.remove_prefix(dot + 1);
    }
    return parts == 4;
}

bool isHostName(std::wstring_view text) {
    if (text.empty() || text.size() > 253)
        return false;
    if (text.back() == L'.')
        text.remove_suffix(1);
    bool allNumeric = true;
    while (true) {
        const auto dot = text.find(L'.');
        const std::wstring_view label = text.substr(0, dot);
        if (label.empty() || label.size() > 63 || label.front() == L'-' || label.back() == L'-')
            return false;
        for (wchar_t ch : label)
            if (!(ch < 0x80 && (std::iswalnum(static_cast<wint_t>(ch)) || ch == L'-')))
                return false;
        if (!isDigits(label))
            allNumeric = false;
        if (dot == std::wstring_view::npos)
            break;
        text.remove_prefix(dot + 1);
    }
    // Digits and dots only is a mistyped address, not a name.
    return !allNumeric;
}

std::optional<std::wstring> normaliseMac(std::wstring_view text) {
    std::wstring digits;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t ch = text[i];
        if (std::iswxdigit(static_cast<wint_t>(ch)) && ch < 0x80)
            digits += text::upperOrdinal(ch);
        else if ((ch == L':' || ch == L'-') && digits.size() % 2 == 0 && !digits.empty() &&
                 i + 1 < text.size())
            continue;
        else
            return std::nullopt;
    }
    if (digits.size() != 12)
        return std::nullopt;
    std::wstring out;
    for (std::size_t i = 0; i < 12; i += 2) {
        if (i)
            out += L':';
        out += digits.substr(i, 2);
    }
    return out;
}

} // namespace cli
