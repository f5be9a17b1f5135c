#include "cli/BluetoothSearch.h"

#include "discovery/bluetooth/BluetoothDevices.h"
#include "discovery/bluetooth/BluetoothSearchThread.h"

#include <atomic>

namespace cli {

BluetoothSearchResult SearchBluetoothPrinters(ports::Bluetooth& bluetooth) {
    BluetoothSearchResult result;
    std::atomic<bool> searching{true};
    // The pass runs on this thread, which is also the one that keeps the list.
    result.radio =
        discovery::BluetoothSearchPass(bluetooth, searching, [&](const ports::BluetoothDeviceInfo& d) {
            (void)discovery::AcceptBluetoothDevice(result.printers, d);
            return true;
        });
    return result;
}

} // namespace cli
