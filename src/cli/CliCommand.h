#pragma once
// The unattended command line: which command, with what, parsed from the program's arguments
// without looking at the machine. Switches are Windows style, "/name" or "/name:value" (also
// "/name=value"), names without regard to case; "-simulate[=FILE]" and "-debug" belong to the
// program and are passed over.
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace cli {

enum class Verb { Install, Upgrade, Delete, Search, List, Help, Version };
enum class Connection { None, Usb, Network, Udp, Bluetooth, Serial, Parallel, Port };
enum class ListWhat { Models, Printers, Drivers, Ports };

struct Command {
    Verb verb = Verb::Help;

    // install
    // A model of this build's manufacturer; empty: the plugged-in USB printer's. With /search: only
    // network printers of this model.
    std::wstring model;
    Connection connection = Connection::None;
    // USB: a hardware ID; UDP: a MAC address (twelve hex digits, any separators); Bluetooth: the
    // printer's address (twelve upper-case hex digits once parsed); empty: the first printer found.
    // Network: the address. Serial, parallel, existing port: the port's name.
    std::wstring connectionValue;
    std::wstring tcpPortName; // network: the Standard TCP/IP port's name; empty: "<model>_<address>"
    std::optional<std::wstring> printerName; // none: the name the wizard would propose
    bool setDefault = false;
    // Bluetooth: the PIN tried after the usual ones; none: nobody is asked.
    std::optional<std::wstring> bluetoothPin;

    // upgrade, delete
    std::vector<std::wstring> printers;
    std::vector<std::wstring> drivers;
    bool all = false;

    // search, list
    ListWhat list = ListWhat::Models;
    std::wstring filter;
    bool json = false;
    bool searchUsb = true;
    bool searchUdp = true;
    bool searchBluetooth = false; // an inquiry takes seconds: only when asked
    unsigned searchSeconds = 3;
    std::wstring udpTarget;            // "address" or "address:port"; empty: broadcast
    std::vector<std::wstring> udpFrom; // local addresses to search from; empty: all

    // every command
    bool quiet = false;
    bool noRestart = false;
    std::wstring logFile; // a full Windows path; empty: no log file
};

struct ParseOutcome {
    std::optional<Command> command;
    std::wstring error; // one line saying what is wrong, when there is no command
};

// True when the arguments ask for an unattended run: one of them starts with '/'.
bool isUnattendedRun(std::span<const std::wstring> args);

ParseOutcome parseCommand(std::span<const std::wstring> args);

// The address checks of the install and search switches.
bool isIpv4Address(std::wstring_view text);
bool isHostName(std::wstring_view text);
// Twelve hex digits, optionally in pairs separated by ':' or '-'; gives "XX:XX:XX:XX:XX:XX" upper case.
std::optional<std::wstring> normaliseMac(std::wstring_view text);

} // namespace cli
