#include "discovery/udp/UdpSearch.h"

#include "base/Format.h"

namespace discovery {
namespace {

std::wstring dotted(std::uint32_t a) {
    return text::format(L"%d.%d.%d.%d", (a >> 24) & 0xFF, (a >> 16) & 0xFF, (a >> 8) & 0xFF, a & 0xFF);
}

} // namespace

UdpSearch::UdpSearch(ports::Network& network, ports::SystemInfo& system, PostUdpPrinter post,
                     UdpSearchOptions options)
    : network_(network), system_(system), post_(std::move(post)), options_(std::move(options)) {}

UdpSearch::~UdpSearch() {
    Stop();
}

void UdpSearch::Start() {
    Stop();
    deaf_.clear();
    std::vector<std::wstring> addresses = options_.localAddresses;
    if (addresses.empty()) {
        std::vector<std::uint32_t> own;
        if (network_.localAddresses(own) == ports::winerr::Success)
            for (auto a : own)
                addresses.push_back(dotted(a));
    }
    for (const auto& address : addresses) {
        auto searcher = std::make_unique<CUdpPrinterSearcher>(network_, system_, post_);
        if (!searcher->Open(address, options_.searcherPort))
            deaf_.push_back(address);
        sendRequest(*searcher);
        searchers_.push_back(std::move(searcher));
    }
}

void UdpSearch::Tick() {
    for (auto& searcher : searchers_)
        sendRequest(*searcher);
}

void UdpSearch::Stop() {
    for (auto& searcher : searchers_)
        searcher->Close();
    searchers_.clear();
}

std::vector<ports::Ipv4Endpoint> UdpSearch::localEndpoints() {
    std::vector<ports::Ipv4Endpoint> out;
    for (auto& searcher : searchers_)
        out.push_back(searcher->localEndpoint());
    return out;
}

void UdpSearch::sendRequest(CUdpPrinterSearcher& searcher) {
    searcher.SendTo(options_.target, options_.printerPort, UdpRequest());
}

} // namespace discovery
