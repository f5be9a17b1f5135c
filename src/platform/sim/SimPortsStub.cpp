// Not yet implemented: the simulated spooler, devices, Bluetooth, services and processes answer
// ERROR_CALL_NOT_IMPLEMENTED until their real ports replace these factories. The clock is real time.
#include "platform/ports/NotYetImplemented.h"
#include "platform/sim/SimPorts.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace sim {
namespace {

class WallClock final : public ports::Clock {
public:
    std::uint64_t nowMs() override {
        auto since = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
    }
    void sleepMs(std::uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    ports::SystemTime localTime() override {
        auto now = std::chrono::system_clock::now();
        std::time_t t = std::chrono::system_clock::to_time_t(now);
        std::tm tm{};
#ifdef _WIN32
        localtime_s(&tm, &t);
#else
        localtime_r(&t, &tm);
#endif
        auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
        return {static_cast<std::uint16_t>(tm.tm_year + 1900), static_cast<std::uint16_t>(tm.tm_mon + 1),
                static_cast<std::uint16_t>(tm.tm_wday),        static_cast<std::uint16_t>(tm.tm_mday),
                static_cast<std::uint16_t>(tm.tm_hour),        static_cast<std::uint16_t>(tm.tm_min),
                static_cast<std::uint16_t>(tm.tm_sec),         static_cast<std::uint16_t>(ms)};
    }
};

} // namespace

std::unique_ptr<ports::PrintSpooler> makeSimPrintSpooler(SimMachine&) {
    return std::make_unique<ports::notyet::NotYetSpooler>();
}
std::unique_ptr<ports::DeviceTree> makeSimDeviceTree(SimMachine&) {
    return std::make_unique<ports::notyet::NotYetDeviceTree>();
}
std::unique_ptr<ports::Bluetooth> makeSimBluetooth(SimMachine&) {
    return std::make_unique<ports::notyet::NotYetBluetooth>();
}
std::unique_ptr<ports::ServiceControl> makeSimServiceControl(SimMachine&) {
    return std::make_unique<ports::notyet::NotYetServices>();
}
std::unique_ptr<ports::Processes> makeSimProcesses(SimMachine&) {
    return std::make_unique<ports::notyet::NotYetProcesses>();
}
std::unique_ptr<ports::Clock> makeSimClock(SimMachine&) {
    return std::make_unique<WallClock>();
}

} // namespace sim
