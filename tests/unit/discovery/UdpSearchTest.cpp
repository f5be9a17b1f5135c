// The network search on real sockets, over the loopback address only (the broadcast itself is tried
// in a private network namespace by tests/netns): the simulated network printer answers, replies
// reach the UI side only through the posted records, and closing while replies stream in is clean.
#include "NetworkPrinterResponder.h"
#include "discovery/udp/UdpPrinterList.h"
#include "discovery/udp/UdpSearch.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

using namespace std::chrono_literals;
using discovery::UdpPrinterInfo;

// What the receive threads post, as the UI thread's queue would hold it.
class PostedRecords {
public:
    discovery::PostUdpPrinter post() {
        return [this](UdpPrinterInfo info) {
            std::lock_guard lock(mutex_);
            records_.push_back(std::move(info));
            changed_.notify_all();
        };
    }
    // Waits (bounded) until at least n records came.
    std::vector<UdpPrinterInfo> waitFor(std::size_t n, std::chrono::milliseconds bound = 5s) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, bound, [&] { return records_.size() >= n; });
        return records_;
    }
    std::size_t size() {
        std::lock_guard lock(mutex_);
        return records_.size();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<UdpPrinterInfo> records_;
};

netprinter::SimulatedPrinter printer(const char* name, const char* model, const char* mac,
                                     netprinter::Malformed malformed = netprinter::Malformed::None) {
    netprinter::SimulatedPrinter p;
    p.name = name;
    p.model = model;
    p.mac = mac;
    p.malformed = malformed;
    return p;
}

struct Rig {
    explicit Rig(std::vector<netprinter::SimulatedPrinter> printers)
        : network(machine.platform().network()), responder(network, std::move(printers)) {
        EXPECT_TRUE(responder.Open(L"127.0.0.1", 0));
        options.target = L"127.0.0.1";
        options.printerPort = responder.localEndpoint().port;
        options.searcherPort = 0; // any free port: the test may run beside a real search
        options.localAddresses = {L"127.0.0.1"};
    }
    testing_support::TestMachine machine;
    ports::Network& network;
    netprinter::NetworkPrinterResponder responder;
    discovery::UdpSearchOptions options;
    PostedRecords posted;
};

TEST(UdpSearch, FindsThePrintersOfTheChosenModelOnceEach) {
    Rig rig({printer("LP-A", "JN-2203T-S", "00:1B:44:00:00:01"),
             printer("LP-B", "TV-B58", "00:1B:44:00:00:02"),
             printer("LP-C", "JN-2203T-S", "00:1B:44:00:00:03"),
             printer("LP-D", "JN-2203T-S", "00:1B:44:00:00:04", netprinter::Malformed::NoMarker),
             printer("LP-E", "JN-2203T-S", "00:1B:44:00:00:05", netprinter::Malformed::Nul)});
    discovery::UdpSearch search(rig.network, rig.machine.platform().system(), rig.posted.post(), rig.options);
    search.Start();
    ASSERT_EQ(search.searcherCount(), 1u);
    // Every answer but the one without the marker is posted: 4 per request.
    auto records = rig.posted.waitFor(4);
    search.Tick();
    search.Tick();
    records = rig.posted.waitFor(12);
    search.Stop();
    EXPECT_EQ(records.size(), 12u);
    EXPECT_EQ(rig.responder.requestsAnswered(), 3u);

    discovery::UdpPrinterList list;
    for (const auto& r : records)
        list.accept(r, L"JN-2203T-S");
    std::vector<std::wstring> names;
    for (const auto& p : list.printers())
        names.push_back(p.netName);
    // LP-E's MAC lies beyond a NUL: it is listed once, with an empty MAC.
    EXPECT_EQ(names, (std::vector<std::wstring>{L"LP-A", L"LP-C", L"LP-E"}));
    ASSERT_FALSE(list.printers().empty());
    const auto& first = list.printers().front();
    EXPECT_EQ(first.printerModel, L"JN-2203T-S");
    EXPECT_EQ(first.ipAddr, L"192.168.1.200");
    EXPECT_EQ(first.subnetMask, L"255.255.255.0");
    EXPECT_EQ(first.gateway, L"192.168.1.1");
    EXPECT_EQ(first.firmware, L"V1.0.0");
    EXPECT_EQ(first.dhcp, 1);
}

// Closing while hundreds of replies stream in: Stop joins the receive threads, and nothing is
// posted once it has returned (run under ThreadSanitizer too).
TEST(UdpSearch, StopWhileRepliesStreamInEndsEveryThreadAndPostsNothingAfter) {
    Rig rig(netprinter::copiesOf(printer("LP", "JN-2203T-S", "00:1B:44:00:00:00"), 300));
    std::atomic<bool> stopped{false};
    std::atomic<int> lateRecords{0};
    std::atomic<int> records{0};
    discovery::UdpSearch search(
        rig.network, rig.machine.platform().system(),
        [&](UdpPrinterInfo) {
            ++records;
            if (stopped)
                ++lateRecords;
        },
        rig.options);
    for (int round = 0; round < 5; ++round) {
        const int before = records.load();
        search.Start(); // also stops the search before
        search.Tick();
        // Stop once the replies have begun to arrive (600 per round), bounded in time.
        for (int wait = 0; wait < 5000 && records.load() == before; ++wait)
            std::this_thread::sleep_for(1ms);
        search.Stop();
        stopped = true;
        std::this_thread::sleep_for(20ms);
        EXPECT_EQ(lateRecords.load(), 0);
        stopped = false;
    }
    EXPECT_GT(records.load(), 0) << "replies came before the stops";
}

TEST(UdpSearch, ASearcherThatCannotBindStaysQuietAndTheOthersStillHear) {
    Rig rig({printer("LP-A", "JN-2203T-S", "00:1B:44:00:00:01")});
    // A port taken by another socket: the second searcher cannot bind to it.
    discovery::CSocketUdp taken(rig.network, false);
    ASSERT_TRUE(taken.Open(L"127.0.0.1", 0));
    const auto port = taken.localEndpoint().port;
    discovery::CSocketUdp second(rig.network, false);
    EXPECT_FALSE(second.Open(L"127.0.0.1", port));
    EXPECT_FALSE(second.Open(L"no-such-host.invalid", 0));
    second.Close(); // safe with nothing open

    rig.options.localAddresses = {L"127.0.0.1", L"no-such-host.invalid"};
    discovery::UdpSearch search(rig.network, rig.machine.platform().system(), rig.posted.post(), rig.options);
    search.Start();
    EXPECT_EQ(search.searcherCount(), 2u) << "the searcher that failed stays in the list";
    EXPECT_EQ(rig.posted.waitFor(1).size(), 1u);
    search.Tick();
    EXPECT_EQ(rig.posted.waitFor(2).size(), 2u);
}

TEST(UdpSearch, TheRespondersCommandLinePrinterText) {
    std::string error;
    const auto p =
        netprinter::parsePrinter("name=LP9,model=TV-B58,dhcp=OFF,mac=AA:BB,malformed=nul,copies=3", error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->name, "LP9");
    EXPECT_EQ(p->model, "TV-B58");
    EXPECT_EQ(p->dhcp, "OFF");
    EXPECT_EQ(p->mac, "AA:BB");
    EXPECT_EQ(p->malformed, netprinter::Malformed::Nul);
    EXPECT_EQ(p->copies, 3u);
    for (const char* bad : {"colour=red", "name", "malformed=sometimes", "copies=0", "copies=x"}) {
        EXPECT_FALSE(netprinter::parsePrinter(bad, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
    const auto copies = netprinter::copiesOf(*p, p->copies);
    ASSERT_EQ(copies.size(), 3u);
    EXPECT_EQ(copies[2].name, "LP9-0003");
    EXPECT_NE(copies[0].mac, copies[1].mac);
}

} // namespace
