#pragma once
// The network search of the network search page: one searcher per local IPv4 address, each bound
// to the searchers' port, broadcasting the request at start and again on every tick of the page's
// one-second timer, until the page stops it. Start, Tick and Stop run on the UI thread.
#include "discovery/udp/CUdpPrinterSearcher.h"

#include <memory>
#include <string>
#include <vector>

namespace discovery {

struct UdpSearchOptions {
    std::wstring target{kBroadcastAddress};
    std::uint16_t printerPort = kPrinterUdpPort;
    std::uint16_t searcherPort = kSearcherUdpPort;
    // The local addresses to search from; empty: every IPv4 address of the machine.
    std::vector<std::wstring> localAddresses{};
};

class UdpSearch {
public:
    UdpSearch(ports::Network& network, ports::SystemInfo& system, PostUdpPrinter post,
              UdpSearchOptions options = {});
    ~UdpSearch();
    UdpSearch(const UdpSearch&) = delete;
    UdpSearch& operator=(const UdpSearch&) = delete;

    // Stops a search that runs, then opens a searcher on every local address and sends the request.
    // A searcher whose bind fails stays in the list: it still sends, it just hears nothing.
    void Start();
    void Tick();
    // Closes every searcher (their threads joined) and empties the list.
    void Stop();

    std::size_t searcherCount() const { return searchers_.size(); }
    // The local addresses whose searcher could not be opened at the last Start (the port taken by
    // another program, or an address that went away): replies to them are not heard.
    const std::vector<std::wstring>& deafAddresses() const { return deaf_; }
    // The searchers' own endpoints, for a caller that asked for any free port.
    std::vector<ports::Ipv4Endpoint> localEndpoints();

private:
    void sendRequest(CUdpPrinterSearcher& searcher);

    ports::Network& network_;
    ports::SystemInfo& system_;
    PostUdpPrinter post_;
    UdpSearchOptions options_;
    std::vector<std::unique_ptr<CUdpPrinterSearcher>> searchers_;
    std::vector<std::wstring> deaf_;
};

} // namespace discovery
