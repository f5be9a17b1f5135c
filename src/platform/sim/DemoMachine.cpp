#include "platform/sim/SimMachine.h"

namespace sim {

namespace {

Json localPort(const char* name, int type = 1) {
    return Json{{"name", name}, {"monitor", "Local Port"}, {"type", type}};
}

Json spooler() {
    return Json{
        {"defaultPrinter", "Microsoft Print to PDF"},
        {"printers",
         {{{"name", "Microsoft Print to PDF"},
           {"port", "PORTPROMPT:"},
           {"driver", "Microsoft Print To PDF"},
           {"comment", nullptr},
           {"location", nullptr},
           {"printProcessor", "winprint"},
           {"datatype", "RAW"},
           {"attributes", 0x0A40},
           {"priority", 1},
           {"data", Json::object()}}}},
        {"drivers",
         {{{"name", "Microsoft Print To PDF"},
           {"environment", "Windows x64"},
           {"version", 4},
           {"driverPath", "C:\\Windows\\system32\\spool\\DRIVERS\\x64\\3\\mxdwdrv.dll"},
           {"dataFile", "C:\\Windows\\system32\\spool\\DRIVERS\\x64\\3\\MPDW-PDC.xml"},
           {"configFile", "C:\\Windows\\system32\\spool\\DRIVERS\\x64\\3\\PrintConfig.dll"},
           {"defaultDataType", "RAW"},
           {"manufacturer", "Microsoft"},
           {"provider", "Microsoft"},
           {"hardwareId", "microsoftmicrosoft_print_to_pdf"},
           {"printProcessor", "winprint"},
           {"infPath",
            "C:\\Windows\\System32\\DriverStore\\FileRepository\\prnms009.inf_amd64_3107874c7db0aa5a\\"
            "prnms009.inf"}}}},
        {"ports",
         {localPort("LPT1:", 3), localPort("LPT2:", 3), localPort("LPT3:", 3), localPort("COM1:", 3),
          localPort("COM2:", 3), localPort("COM3:", 3), localPort("COM4:", 3), localPort("FILE:"),
          localPort("PORTPROMPT:"), Json{{"name", "USB001"}, {"monitor", "USB Monitor"}}}},
        {"monitors",
         {{{"name", "Local Port"}, {"environment", "Windows x64"}, {"dll", "localspl.dll"}},
          {{"name", "Standard TCP/IP Port"},
           {"environment", "Windows x64"},
           {"dll", "tcpmon.dll"},
           {"portMonitorName", "TCPMON.DLL"},
           {"portDescription", "Standard TCP/IP Port"}},
          {{"name", "USB Monitor"},
           {"environment", "Windows x64"},
           {"dll", "usbmon.dll"},
           {"portDescription", "Virtual printer port for USB"}}}},
        {"driverStore",
         {{"available", true},
          {"packages",
           {{{"infPath",
              "C:\\Windows\\System32\\DriverStore\\FileRepository\\prnms009.inf_amd64_3107874c7db0aa5a\\"
              "prnms009.inf"},
             {"environment", "Windows x64"}}}}}}};
}

// One label printer of the CorvaneEx family on USB001, without a driver yet: the USB device with the
// printer interface and its USBPRINT child.
Json devices() {
    return Json{{"serialComm", {"COM1"}},
                {"nodes",
                 {{{"instanceId", "USB\\VID_3A5C&PID_0203\\JN2203TS0001"},
                   {"present", true},
                   {"class", "USB"},
                   {"service", "usbprint"},
                   {"description", "USB Printing Support"},
                   {"manufacturer", "Microsoft"},
                   {"location", "Port_#0001.Hub_#0001"},
                   {"hardwareIds", {"USB\\VID_3A5C&PID_0203&REV_0100", "USB\\VID_3A5C&PID_0203"}},
                   {"compatibleIds",
                    {"USB\\Class_07&SubClass_01&Prot_02", "USB\\Class_07&SubClass_01", "USB\\Class_07"}},
                   {"interfaces", {"{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}"}}},
                  {{"instanceId", "USBPRINT\\CorvaneExJN-2203T-S50F3\\7&3A1F2C4B&0&USB001"},
                   {"parent", "USB\\VID_3A5C&PID_0203\\JN2203TS0001"},
                   {"present", true},
                   {"description", "JN-2203T-S"},
                   {"hardwareIds", {"USBPRINT\\CorvaneExJN-2203T-S50F3", "CorvaneExJN-2203T-S50F3"}},
                   {"compatibleIds", {"GENPRINT"}},
                   {"problem", 28}}}}};
}

// A radio and one printer of the Tovana family in range, not paired.
Json bluetooth() {
    return Json{{"radio", {{"name", "DESKTOP-ORVELLO"}, {"address", "5CF3709A1B2C"}}},
                {"inquiryMs", 2000},
                {"devices",
                 {{{"address", "DC0D30A1B2C3"},
                   {"name", "TV-B58"},
                   {"classOfDevice", "0x040680"},
                   {"pin", "0000"},
                   {"inRange", true},
                   {"paired", false}}}}};
}

} // namespace

// The machine the wizard simulates when no state file is given: a 64-bit Windows 10 with an
// English user interface, its spooler running with the usual ports and monitors, one USB label
// printer plugged in, a Bluetooth printer in range, and nothing of ours installed yet.
Json demoMachineState() {
    return Json{
        {"system",
         {{"architecture", "x64"},
          {"windowsVersion", "10.0.19045"},
          {"uiLanguage", 0x0409},
          {"codePage", 65001},
          {"modulePath", "C:\\Program Files (x86)\\Orvello\\Orvello.exe"}}},
        {"profile", Json::object()},
        {"services", {{"Spooler", {{"state", "running"}, {"startDelayMs", 2000}, {"stopDelayMs", 1500}}}}},
        {"spooler", spooler()},
        {"devices", devices()},
        {"bluetooth", bluetooth()},
        {"faults", Json::array()},
    };
}

} // namespace sim
