// The Bluetooth search on the simulated radio: only printers are reported, each once however many
// inquiries see it, nameless ones never; the hand-over runs on the UI thread through the real
// dispatcher; the thread ends when stopped, when there is no radio, and when the UI takes no more work.
#include "discovery/bluetooth/BluetoothDevices.h"
#include "discovery/bluetooth/BluetoothSearchThread.h"
#include "platform/sim/SimClock.h"
#include "support/TestMachine.h"
#include "ui/headless/HeadlessDispatcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using sim::Json;

Json device(const char* address, const char* name, const char* classOfDevice) {
    return {{"address", address}, {"name", name}, {"classOfDevice", classOfDevice}, {"pin", "0000"}};
}

class BluetoothSearch : public ::testing::Test {
protected:
    BluetoothSearch() { machine.platform().useClock(&clock); }
    ~BluetoothSearch() override { machine.platform().useClock(nullptr); }

    void setDevices(const Json& devices, bool radio = true) {
        machine.machine().write([&](Json& s) {
            s["bluetooth"]["devices"] = devices;
            s["bluetooth"].erase("inquiryMs"); // an inquiry then lasts what the search asks for
            if (!radio)
                s["bluetooth"].erase("radio");
        });
    }
    // The page's handler: the record is copied into the list on the UI thread.
    bool handOver(const ports::BluetoothDeviceInfo& info) {
        return dispatcher.send([this, info] {
            EXPECT_TRUE(dispatcher.onUiThread());
            ++reports;
            if (auto row = discovery::AcceptBluetoothDevice(devices, info))
                rows.push_back(*row);
        });
    }
    // Pumps as the UI thread would until `done` or a (generous) bound of real time.
    template <typename Done> void pumpUntil(Done done) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done() && std::chrono::steady_clock::now() < limit) {
            dispatcher.pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_TRUE(done());
    }

    testing_support::TestMachine machine;
    sim::VirtualClock clock;
    ui::headless::HeadlessDispatcher dispatcher;
    CPrinterDevices devices;
    std::vector<std::size_t> rows;
    int reports = 0;
};

TEST_F(BluetoothSearch, ListsEachNamedPrinterOnceAcrossInquiriesAndNothingElse) {
    setDevices(Json::array({
        device("DC0D30A1B2C3", "TV-B58", "0x040680"),
        device("001122334455", "Phone", "0x5A020C"),         // a phone
        device("0011223344AA", "Scanner", "0x040640"),       // imaging, but a scanner
        device("0011223344BB", "Other printer", "0x240680"), // a printer with another service class
        device("0011223344CC", "", "0x040680"),              // a printer without a name
        device("A0B1C2D3E4F5", "TV-P1", "0x040680"),
    }));
    discovery::BluetoothSearchThread search(
        machine.platform().bluetooth(), machine.platform().clock(),
        [this](const ports::BluetoothDeviceInfo& info) { return handOver(info); });
    ASSERT_TRUE(search.start());
    EXPECT_FALSE(search.start()); // one search at a time
    pumpUntil([&] { return search.passes() >= 3; });
    search.stop();
    dispatcher.close(); // a sender still waiting is released, so the join cannot hang
    search.join();

    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].btAddress, L"DC0D30A1B2C3");
    EXPECT_EQ(devices[0].modelName, L"TV-B58");
    EXPECT_EQ(devices[0].btInfo.address, 0xDC0D30A1B2C3u);
    EXPECT_EQ(devices[0].btPin, L"0000");
    EXPECT_EQ(devices[1].btAddress, L"A0B1C2D3E4F5");
    EXPECT_EQ(rows, (std::vector<std::size_t>{0, 1}));
    EXPECT_GE(reports, 6); // the nameless printer is reported too, and dropped by the handler
    // Every pass is a new inquiry of 5 x 1.28 s.
    EXPECT_GE(clock.elapsedMs(), 3u * 6400u);
}

TEST_F(BluetoothSearch, WithoutARadioPassesEndAtOnceAndAreSpacedOut) {
    setDevices(Json::array({device("DC0D30A1B2C3", "TV-B58", "0x040680")}), false);
    discovery::BluetoothSearchThread search(
        machine.platform().bluetooth(), machine.platform().clock(),
        [this](const ports::BluetoothDeviceInfo& info) { return handOver(info); });
    ASSERT_TRUE(search.start());
    pumpUntil([&] { return search.passes() >= 2; });
    search.stop();
    search.join();
    EXPECT_EQ(reports, 0);
    EXPECT_GE(clock.elapsedMs(), 2u * discovery::kNoRadioPauseMs);
}

TEST_F(BluetoothSearch, EndsByItselfWhenTheUiThreadTakesNoMoreWork) {
    setDevices(Json::array({device("DC0D30A1B2C3", "TV-B58", "0x040680")}));
    dispatcher.close();
    discovery::BluetoothSearchThread search(
        machine.platform().bluetooth(), machine.platform().clock(),
        [this](const ports::BluetoothDeviceInfo& info) { return handOver(info); });
    ASSERT_TRUE(search.start());
    search.join(); // returns without stop(): the refused hand-over ended the search
    EXPECT_FALSE(search.searching());
    EXPECT_TRUE(devices.empty());
}

} // namespace
