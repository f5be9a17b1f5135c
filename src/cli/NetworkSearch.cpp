#include "cli/NetworkSearch.h"

#include "base/Format.h"
#include "discovery/udp/UdpPrinterList.h"
#include "discovery/udp/UdpSearch.h"

#include <mutex>

namespace cli {

namespace {

constexpr std::uint32_t kPollMs = 50;

discovery::UdpSearchOptions searchOptions(const NetworkSearchOptions& options) {
    discovery::UdpSearchOptions o;
    o.localAddresses = options.from;
    if (!options.target.empty()) {
        const auto colon = options.target.rfind(L':');
        o.target = options.target.substr(0, colon);
        if (colon != std::wstring::npos)
            o.printerPort = static_cast<std::uint16_t>(std::stoul(options.target.substr(colon + 1)));
    }
    return o;
}

} // namespace

std::wstring CannotListenText(std::wstring_view address, std::uint16_t port) {
    return text::format(L"the network search cannot listen on %s port %d (another program, such as an open "
                        L"wizard, may hold it): printers that answer there are not heard",
                        std::wstring(address), static_cast<int>(port));
}

std::vector<discovery::UdpPrinterInfo>
SearchNetworkPrinters(ports::Platform& platform, const NetworkSearchOptions& options,
                      const std::function<bool(const std::vector<discovery::UdpPrinterInfo>&)>& enough) {
    std::mutex mutex;
    std::vector<discovery::UdpPrinterInfo> arrived;
    discovery::UdpPrinterList list;
    auto drain = [&] {
        std::vector<discovery::UdpPrinterInfo> batch;
        {
            std::lock_guard lock(mutex);
            batch.swap(arrived);
        }
        for (const auto& info : batch)
            (void)(options.model.empty() ? list.acceptAnyModel(info) : list.accept(info, options.model));
    };
    {
        discovery::UdpSearch search(
            platform.network(), platform.system(),
            [&](discovery::UdpPrinterInfo info) {
                std::lock_guard lock(mutex);
                arrived.push_back(std::move(info));
            },
            searchOptions(options));
        ports::Clock& clock = platform.clock();
        search.Start();
        if (options.deaf)
            for (const auto& address : search.deafAddresses())
                options.deaf(address, discovery::kSearcherUdpPort);
        const std::uint64_t start = clock.nowMs();
        std::uint64_t nextTick = start + discovery::kResendPeriodMs;
        const std::uint64_t end = start + std::uint64_t{options.seconds} * 1000;
        for (std::uint64_t now = start; now < end; now = clock.nowMs()) {
            clock.sleepMs(kPollMs);
            drain();
            if (enough && enough(list.printers()))
                break;
            if (clock.nowMs() >= nextTick) {
                search.Tick();
                nextTick += discovery::kResendPeriodMs;
            }
        }
        search.Stop();
    }
    drain();
    return list.printers();
}

} // namespace cli
