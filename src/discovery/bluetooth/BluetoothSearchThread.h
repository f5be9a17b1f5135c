#pragma once
// The Bluetooth search while its page is shown: passes of inquiries on the first radio, each printer
// seen handed to the UI thread synchronously (WM_BT_DEVICE_FOUND with the main window; the dispatcher's
// send headless). Other devices are never reported, whatever they are.
#include "platform/ports/Bluetooth.h"
#include "platform/ports/Clock.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

namespace discovery {

// Service class Rendering, major class Imaging, minor class Printer.
inline constexpr std::uint32_t kBluetoothPrinterClass = 0x040680;
// With no radio a pass ends at once: the next one waits this long, in steps that notice a stop.
inline constexpr std::uint32_t kNoRadioPauseMs = 1000;
inline constexpr std::uint32_t kStopCheckMs = 50;

// Runs the handler on the UI thread and waits for it; false when the UI thread takes no more work
// (the search then ends). The record is valid only during the call.
using SendBluetoothDevice = std::function<bool(const ports::BluetoothDeviceInfo&)>;

// One pass: the first radio, a new inquiry, each printer handed to `send` while `searching` stays
// set. False when there is no radio. A refused hand-over clears `searching`.
bool BluetoothSearchPass(ports::Bluetooth& bluetooth, std::atomic<bool>& searching,
                         const SendBluetoothDevice& send);

class BluetoothSearchThread {
public:
    BluetoothSearchThread(ports::Bluetooth& bluetooth, ports::Clock& clock, SendBluetoothDevice send);
    // Stops and joins: a pass in its inquiry ends first (up to one inquiry's time). A hand-over
    // waiting for the UI thread must be released first (the dispatcher closed or still pumped).
    ~BluetoothSearchThread();
    BluetoothSearchThread(const BluetoothSearchThread&) = delete;
    BluetoothSearchThread& operator=(const BluetoothSearchThread&) = delete;

    // Sets the searching flag and starts the thread; false when it is running or cannot start.
    bool start();
    // Clears the searching flag: the thread ends before its next report or pass. Does not wait.
    void stop() { searching_ = false; }
    void join();
    bool searching() const { return searching_; }
    // Completed passes, for the tests.
    std::uint64_t passes() const { return passes_; }

private:
    void run();
    void pauseWithoutRadio();

    ports::Bluetooth& bluetooth_;
    ports::Clock& clock_;
    SendBluetoothDevice send_;
    std::atomic<bool> searching_{false};
    std::atomic<std::uint64_t> passes_{0};
    std::thread thread_;
};

} // namespace discovery
