#pragma once
// The Bluetooth printers in range, for a run without pages: one inquiry, each printer listed once,
// as the Bluetooth page lists them.
#include "app/CPrinterDevices.h"
#include "platform/ports/Bluetooth.h"

namespace cli {

struct BluetoothSearchResult {
    bool radio = false; // false: the machine has no Bluetooth radio
    CPrinterDevices printers;
};

BluetoothSearchResult SearchBluetoothPrinters(ports::Bluetooth& bluetooth);

} // namespace cli
