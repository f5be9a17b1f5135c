// The command line as a deployment tool writes it: what each accepted line asks for, and the one line
// that says what is wrong with each refused one.
#include "cli/CliCommand.h"

#include "unit/cli/Words.h"

#include <gtest/gtest.h>

namespace {

using cli::Connection;
using cli::Verb;

using cli_test::words;

cli::Command parsed(std::wstring_view line) {
    const auto args = words(line);
    auto outcome = cli::parseCommand(args);
    EXPECT_TRUE(outcome.command) << outcome.error;
    return outcome.command.value_or(cli::Command{});
}

TEST(CliCommand, OnlyArgumentsStartingWithASlashMakeAnUnattendedRun) {
    EXPECT_FALSE(cli::isUnattendedRun(words(L"-simulate=m.json -debug")));
    EXPECT_FALSE(cli::isUnattendedRun({}));
    EXPECT_TRUE(cli::isUnattendedRun(words(L"-simulate /list:models")));
}

TEST(CliCommand, InstallConnections) {
    auto c =
        parsed(L"/install /model:JN-2232T /ip:192.168.5.20 /portname:Shop /name:Counter /default -debug");
    EXPECT_EQ(c.verb, Verb::Install);
    EXPECT_EQ(c.model, L"JN-2232T");
    EXPECT_EQ(c.connection, Connection::Network);
    EXPECT_EQ(c.connectionValue, L"192.168.5.20");
    EXPECT_EQ(c.tcpPortName, L"Shop");
    EXPECT_EQ(c.printerName, L"Counter");
    EXPECT_TRUE(c.setDefault);

    c = parsed(L"/INSTALL /USB");
    EXPECT_EQ(c.connection, Connection::Usb);
    EXPECT_EQ(c.connectionValue, L"");
    EXPECT_FALSE(c.printerName);
    EXPECT_FALSE(c.setDefault);

    c = parsed(L"/install /usb=USBPRINT\\CorvaneExJN-2232TFA69");
    EXPECT_EQ(c.connectionValue, L"USBPRINT\\CorvaneExJN-2232TFA69");

    // "first" is the first printer found, as no value is.
    c = parsed(L"/install /model:M /udp:first /timeout:5 /udptarget:127.0.0.1:40000 /udpfrom:127.0.0.1");
    EXPECT_EQ(c.connection, Connection::Udp);
    EXPECT_EQ(c.connectionValue, L"");
    EXPECT_EQ(c.searchSeconds, 5u);
    EXPECT_EQ(c.udpTarget, L"127.0.0.1:40000");

    c = parsed(L"/install /model:M /udp:001b44113ab7");
    EXPECT_EQ(c.connectionValue, L"00:1B:44:11:3A:B7");

    // A Bluetooth address is kept as the search lists it: twelve upper-case digits.
    c = parsed(L"/install /model:M /bluetooth:dc:0d:30:a1:b2:c3 /pin:8642");
    EXPECT_EQ(c.connection, Connection::Bluetooth);
    EXPECT_EQ(c.connectionValue, L"DC0D30A1B2C3");
    EXPECT_EQ(c.bluetoothPin, L"8642");
    c = parsed(L"/install /model:M /bluetooth");
    EXPECT_EQ(c.connectionValue, L"");
    EXPECT_FALSE(c.bluetoothPin);

    for (const auto& [line, connection] :
         {std::pair{L"/install /model:M /serial:COM1:", Connection::Serial},
          std::pair{L"/install /model:M /parallel:LPT1:", Connection::Parallel},
          std::pair{L"/install /model:M /port:FILE:", Connection::Port}}) {
        c = parsed(line);
        EXPECT_EQ(c.connection, connection) << line;
    }
    EXPECT_EQ(parsed(L"/install /model:M /port:FILE:").connectionValue, L"FILE:");
}

TEST(CliCommand, OtherCommands) {
    auto c = parsed(L"/search /udp /json /timeout:2");
    EXPECT_EQ(c.verb, Verb::Search);
    EXPECT_FALSE(c.searchUsb);
    EXPECT_TRUE(c.searchUdp);
    EXPECT_TRUE(c.json);
    c = parsed(L"/search");
    EXPECT_TRUE(c.searchUsb && c.searchUdp);
    EXPECT_FALSE(c.searchBluetooth); // an inquiry takes seconds: only when asked
    c = parsed(L"/search /bluetooth");
    EXPECT_TRUE(c.searchBluetooth);
    EXPECT_FALSE(c.searchUsb || c.searchUdp);

    c = parsed(L"/list:Printers /filter:shop /quiet /log:C:\\Temp\\x.log /norestart");
    EXPECT_EQ(c.verb, Verb::List);
    EXPECT_EQ(c.list, cli::ListWhat::Printers);
    EXPECT_EQ(c.filter, L"shop");
    EXPECT_TRUE(c.quiet && c.noRestart);
    EXPECT_EQ(c.logFile, L"C:\\Temp\\x.log");

    c = parsed(L"/delete /printer:A /printer:B /driver:JN-2232T");
    EXPECT_EQ(c.printers, (std::vector<std::wstring>{L"A", L"B"}));
    EXPECT_EQ(c.drivers, (std::vector<std::wstring>{L"JN-2232T"}));
    EXPECT_TRUE(parsed(L"/upgrade /all").all);
    EXPECT_EQ(parsed(L"/?").verb, Verb::Help);
    EXPECT_EQ(parsed(L"/version").verb, Verb::Version);
}

TEST(CliCommand, RefusedLinesSayWhatIsWrong) {
    const struct {
        const wchar_t* line;
        const wchar_t* error;
    } cases[] = {
        {L"/quiet", L"no command: give one of /install, /upgrade, /delete, /search, /list, /? or /version"},
        {L"/install /frobnicate", L"unknown switch /frobnicate"},
        {L"/install /model:M /port:FILE: stray", L"unexpected argument \"stray\": switches start with /"},
        {L"/install /model", L"/model needs a value: /model:VALUE"},
        {L"/install /model: /usb", L"/model needs a value: /model:VALUE"},
        {L"/install /usb /default:yes", L"/default takes no value"},
        {L"/install /usb /usb", L"/usb is given twice"},
        {L"/install /search", L"two commands: /install and /search"},
        {L"/list:models /default", L"/default does not go with /list"},
        {L"/list:queues", L"/list:queues is not one of models, printers, drivers, ports"},
        {L"/install /model:M",
         L"/install needs a connection: one of /usb, /ip, /udp, /bluetooth, /serial, /parallel or /port"},
        {L"/install /model:M /usb /ip:1.2.3.4",
         L"more than one connection: give one of /usb, /ip, /udp, /bluetooth, /serial, /parallel or /port"},
        {L"/install /model:M /bluetooth:DC0D30",
         L"/bluetooth:DC0D30 is not a Bluetooth address (such as DC:0D:30:A1:B2:C3)"},
        {L"/install /model:M /usb /pin:0000", L"/pin goes only with /bluetooth"},
        {L"/install /bluetooth", L"/install needs /model:NAME for this connection"},
        {L"/install /ip:1.2.3.4", L"/install needs /model:NAME for this connection"},
        {L"/install /model:M /port:FILE: /portname:X", L"/portname goes only with /ip"},
        {L"/install /model:M /port:FILE: /timeout:3", L"/timeout goes only with /udp"},
        {L"/install /model:M /ip:300.1.1.1", L"/ip:300.1.1.1 is not an IPv4 address or a host name"},
        {L"/install /model:M /ip:10.0.0", L"/ip:10.0.0 is not an IPv4 address or a host name"},
        {L"/install /model:M /ip:010.0.0.1", L"/ip:010.0.0.1 is not an IPv4 address or a host name"},
        {L"/install /model:M /ip:shop_printer", L"/ip:shop_printer is not an IPv4 address or a host name"},
        {L"/install /model:M /udp:00:1B:44",
         L"/udp:00:1B:44 is not a MAC address (such as 00:1B:44:11:3A:B7)"},
        {L"/install /model:M /port:FILE: /name:Shop,Front",
         L"/name:Shop,Front is not a printer name Windows accepts (1 to 220 characters, none of , ! \\)"},
        {L"/install /model:M /port:FILE: /name:Hello!",
         L"/name:Hello! is not a printer name Windows accepts (1 to 220 characters, none of , ! \\)"},
        {L"/search /timeout:0", L"/timeout:0 is not a number of seconds from 1 to 60"},
        {L"/search /timeout:99999999999", L"/timeout:99999999999 is not a number of seconds from 1 to 60"},
        {L"/search /udptarget:1.2.3.4:70000", L"/udptarget:1.2.3.4:70000 is not an address, or address:port"},
        {L"/search /udpfrom:printer.local", L"/udpfrom:printer.local is not an IPv4 address"},
        {L"/search /usb:x", L"/usb takes no value with /search"},
        {L"/list:models /log:relative.log",
         L"/log:relative.log is not a full path (such as C:\\Windows\\Temp\\printer.log)"},
        {L"/upgrade", L"/upgrade needs /printer:NAME (one or more) or /all"},
        {L"/upgrade /all /printer:A", L"/upgrade needs /printer:NAME (one or more) or /all"},
        {L"/delete", L"/delete needs /printer:NAME or /driver:NAME (one or more), or /all"},
    };
    for (const auto& c : cases) {
        const auto args = words(c.line);
        const auto outcome = cli::parseCommand(args);
        EXPECT_FALSE(outcome.command) << c.line;
        EXPECT_EQ(outcome.error, c.error) << c.line;
    }
    // A name longer than Windows takes.
    const std::vector<std::wstring> longName = {L"/install", L"/model:M", L"/port:FILE:",
                                                L"/name:" + std::wstring(221, L'x')};
    EXPECT_FALSE(cli::parseCommand(longName).command);
}

TEST(CliCommand, AddressesAndMacs) {
    for (const wchar_t* ok : {L"0.0.0.0", L"192.168.1.200", L"255.255.255.255"})
        EXPECT_TRUE(cli::isIpv4Address(ok)) << ok;
    for (const wchar_t* bad :
         {L"", L"1.2.3", L"1.2.3.4.5", L"1.2.3.256", L"1..2.3", L"01.2.3.4", L"1.2.3.4 "})
        EXPECT_FALSE(cli::isIpv4Address(bad)) << bad;
    for (const wchar_t* ok : {L"printer", L"label-01.shop.example", L"shop.example."})
        EXPECT_TRUE(cli::isHostName(ok)) << ok;
    for (const wchar_t* bad : {L"", L"-printer", L"printer-", L"a..b", L"1.2.3", L"dr\u00fccker", L"a b"})
        EXPECT_FALSE(cli::isHostName(bad)) << bad;
    EXPECT_EQ(cli::normaliseMac(L"00-1b-44-11-3a-b7"), L"00:1B:44:11:3A:B7");
    EXPECT_EQ(cli::normaliseMac(L"00:1B:44:11:3A:B7"), L"00:1B:44:11:3A:B7");
    for (const wchar_t* bad : {L"", L"00:1B:44:11:3A", L"00:1B:44:11:3A:B7:", L"0G:1B:44:11:3A:B7",
                               L":001B44113AB7", L"00:1B:44:11:3A:B7:00"})
        EXPECT_FALSE(cli::normaliseMac(bad)) << bad;
}

} // namespace
