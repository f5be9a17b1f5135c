#pragma once
// The network search of an unattended run: the wizard's UdpSearch, broadcasting at start and once a
// second, for a bounded time, with the replies collected on this thread by the list's rules.
#include "discovery/udp/UdpPrinterInfo.h"
#include "platform/ports/Platform.h"

#include <functional>
#include <string>
#include <vector>

namespace cli {

struct NetworkSearchOptions {
    unsigned seconds = 3;
    std::wstring target;            // "address" or "address:port"; empty: the broadcast
    std::vector<std::wstring> from; // local addresses; empty: all of the machine's
    std::wstring model;             // only this model; empty: every model
    // Told each local address the search cannot listen on (its port taken, e.g. by an open wizard).
    std::function<void(std::wstring_view address, std::uint16_t port)> deaf{};
};

// The line for a local address the search cannot listen on.
std::wstring CannotListenText(std::wstring_view address, std::uint16_t port);

// Each printer once, in the order they answered. Ends early when `enough` says so.
std::vector<discovery::UdpPrinterInfo>
SearchNetworkPrinters(ports::Platform& platform, const NetworkSearchOptions& options,
                      const std::function<bool(const std::vector<discovery::UdpPrinterInfo>&)>& enough = {});

} // namespace cli
