#include "platform/sim/SimMachine.h"

namespace sim {

// The machine the wizard simulates when no state file is given: a 64-bit Windows 10 with an
// English user interface and nothing of ours installed yet.
Json demoMachineState() {
    return Json{
        {"system",
         {{"architecture", "x64"},
          {"windowsVersion", "10.0.19045"},
          {"uiLanguage", 0x0409},
          {"codePage", 65001},
          {"modulePath", "C:\\Program Files (x86)\\Orvello\\Orvello.exe"}}},
        {"profile", Json::object()},
        {"faults", Json::array()},
    };
}

} // namespace sim
