// orvello_netns_search: the wizard's network search for real, as the network search page runs it:
// broadcast at start and once a second, replies taken on the UI side by the acceptance rules. Run
// only inside a private network namespace (tests/netns/run.sh makes one): it broadcasts.
// Prints each listed printer and, as a figure, the time from the first broadcast to the last row
// expected; exits 0 when exactly the expected number of printers was listed.
#include "discovery/udp/UdpPrinterList.h"
#include "discovery/udp/UdpSearch.h"
#include "support/TestMachine.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>

namespace {

std::string narrow(const std::wstring& w) {
    return std::string(w.begin(), w.end());
}

} // namespace

int main(int argc, char** argv) {
    std::wstring model = L"JN-2203T-S";
    unsigned expect = 1, broadcasts = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--model")
            model = std::wstring(argv[i + 1], argv[i + 1] + std::char_traits<char>::length(argv[i + 1]));
        else if (arg == "--expect")
            expect = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        else if (arg == "--broadcasts")
            broadcasts = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
    }
    if (broadcasts == 0 || broadcasts > 100)
        broadcasts = 10;

    testing_support::TestMachine machine;
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<discovery::UdpPrinterInfo> queue; // the UI thread's posted records
    discovery::UdpSearch search(machine.platform().network(), machine.platform().system(),
                                [&](discovery::UdpPrinterInfo info) {
                                    std::lock_guard lock(mutex);
                                    queue.push_back(std::move(info));
                                    arrived.notify_one();
                                });
    discovery::UdpPrinterList list;
    std::size_t replies = 0, otherModel = 0, again = 0;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    Clock::duration toLastRow{};
    search.Start();
    std::printf("searching from %zu local address(es)\n", search.searcherCount());
    unsigned sent = 1;
    auto nextTick = start + std::chrono::seconds(1);
    // The broadcasts, then one more second for the last answers.
    const auto end = start + std::chrono::seconds(broadcasts);
    while (Clock::now() < end) {
        std::deque<discovery::UdpPrinterInfo> batch;
        {
            std::unique_lock lock(mutex);
            arrived.wait_until(lock, std::min(nextTick, end), [&] { return !queue.empty(); });
            batch.swap(queue);
        }
        for (const auto& info : batch) {
            ++replies;
            switch (list.accept(info, model)) {
            case discovery::UdpPrinterList::Outcome::OtherModel:
                ++otherModel;
                break;
            case discovery::UdpPrinterList::Outcome::AlreadyListed:
                ++again;
                break;
            default:
                std::printf("%s  %s  %s  DHCP %d  %s  %s  %s  %s\n", narrow(info.netName).c_str(),
                            narrow(info.printerModel).c_str(), narrow(info.firmware).c_str(), info.dhcp,
                            narrow(info.ipAddr).c_str(), narrow(info.subnetMask).c_str(),
                            narrow(info.gateway).c_str(), narrow(info.macAddress).c_str());
                if (list.printers().size() == expect)
                    toLastRow = Clock::now() - start;
            }
        }
        if (Clock::now() >= nextTick && sent < broadcasts) {
            search.Tick();
            ++sent;
            nextTick += std::chrono::seconds(1);
        }
    }
    search.Stop();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(toLastRow).count();
    std::printf("broadcasts %u, replies %zu, listed %zu (expected %u), again %zu, other model %zu\n", sent,
                replies, list.printers().size(), expect, again, otherModel);
    if (list.printers().size() == expect)
        std::printf("figure: first broadcast to row %u: %lld ms\n", expect, static_cast<long long>(ms));
    return list.printers().size() == expect ? 0 : 1;
}
