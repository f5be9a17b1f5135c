#include "discovery/bluetooth/BluetoothSearchThread.h"

#include <system_error>

namespace winerr = ports::winerr;

namespace discovery {

BluetoothSearchThread::BluetoothSearchThread(ports::Bluetooth& bluetooth, ports::Clock& clock,
                                             SendBluetoothDevice send)
    : bluetooth_(bluetooth), clock_(clock), send_(std::move(send)) {}

BluetoothSearchThread::~BluetoothSearchThread() {
    stop();
    join();
}

bool BluetoothSearchThread::start() {
    if (thread_.joinable())
        return false;
    searching_ = true;
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        searching_ = false;
        return false;
    }
    return true;
}

void BluetoothSearchThread::join() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
        thread_.join();
}

bool BluetoothSearchPass(ports::Bluetooth& bluetooth, std::atomic<bool>& searching,
                         const SendBluetoothDevice& send) {
    ports::BluetoothRadio radio;
    if (bluetooth.findFirstRadio(radio) != winerr::Success)
        return false;
    const ports::BluetoothSearchParams params; // everything, with a new inquiry of 5 x 1.28 s
    ports::BluetoothDeviceSearch search;
    ports::BluetoothDeviceInfo device;
    for (auto status = bluetooth.findFirstDevice(params, radio, search, device); status == winerr::Success;
         status = bluetooth.findNextDevice(search, device)) {
        if (!searching)
            break;
        if (device.classOfDevice == kBluetoothPrinterClass && !send(device)) {
            searching = false;
            break;
        }
    }
    return true;
}

void BluetoothSearchThread::run() {
    while (searching_) {
        if (!BluetoothSearchPass(bluetooth_, searching_, send_))
            pauseWithoutRadio();
        ++passes_;
    }
}

void BluetoothSearchThread::pauseWithoutRadio() {
    for (std::uint32_t waited = 0; waited < kNoRadioPauseMs && searching_; waited += kStopCheckMs)
        clock_.sleepMs(kStopCheckMs);
}

} // namespace discovery
