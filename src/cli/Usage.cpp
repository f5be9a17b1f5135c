#include "cli/Usage.h"

namespace cli {

std::wstring usageText() {
    return LR"(Usage: Orvello.exe COMMAND [SWITCHES]   (no switches: the wizard's window)

Commands
  /install /model:NAME CONNECTION [/name:PRINTER] [/default]
      Installs the driver, the port and the queue of a printer. CONNECTION is one of
        /usb[:HARDWAREID]         a plugged-in USB printer (first found when no ID is given;
                                  /model may then be left out)
        /ip:ADDRESS [/portname:NAME]
                                  a network printer by IPv4 address or host name
        /udp[:MAC] [/timeout:S] [/udptarget:ADDRESS[:PORT]] [/udpfrom:ADDRESS]
                                  a network printer that answers the network search
        /bluetooth[:ADDRESS] [/pin:PIN]
                                  a Bluetooth printer in range (first found when no address is
                                  given), paired with the usual PINs, then with PIN
        /serial:PORT  /parallel:PORT  /port:PORT
                                  a serial, parallel or other port that exists already
      /name:PRINTER    the queue's name (default: the name the wizard proposes)
      /default         make it the default printer
  /upgrade /printer:NAME... | /all      upgrades the drivers of printers
  /delete /printer:NAME... /driver:NAME... | /all
                                        removes printers and drivers
  /search [/usb] [/udp] [/bluetooth] [/model:NAME] [/timeout:S] [/udptarget:ADDRESS[:PORT]]
          [/udpfrom:ADDRESS] [/json]
                                        lists the USB printers and the network printers that answer
                                        (by default); the Bluetooth printers in range with /bluetooth
  /list:models|printers|drivers|ports [/filter:TEXT] [/json]
                                        lists the catalogue's models, or this maker's printers,
                                        drivers and ports on this machine
  /?  /version

Switches for every command
  /quiet           do not echo the message log (standard error); nothing is ever shown or asked
  /log:FILE        write every message-log line with its time and level to FILE (UTF-8, appended)
  /norestart       accepted for deployment tools; this program never restarts Windows

Exit codes
  0 success, 3010 success but Windows must restart, 1603 the operation failed,
  1639 bad command line (nothing changed), 1618 another copy is running (nothing changed),
  50 the command is not available in this version (nothing changed)
)";
}

} // namespace cli
