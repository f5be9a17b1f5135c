#include "discovery/udp/CUdpPrinterSearcher.h"

namespace discovery {

CUdpPrinterSearcher::CUdpPrinterSearcher(ports::Network& network, ports::SystemInfo& system,
                                         PostUdpPrinter post)
    : CSocketUdp(network, true), system_(system), post_(std::move(post)) {}

CUdpPrinterSearcher::~CUdpPrinterSearcher() {
    // The receive thread calls OnReceive: it ends before this part of the object does.
    Close();
}

int CUdpPrinterSearcher::OnReceive(std::span<const std::uint8_t> data) {
    if (auto info = ParseUdpReply(data, system_); info && post_)
        post_(std::move(*info));
    return 1;
}

} // namespace discovery
