#pragma once
// A broadcast socket whose receive thread reads printers' replies and hands each one to `post`,
// which carries it to the UI thread (the main window's WM_UDP_PRINTER_FOUND; a queue headless).
// The receive thread touches nothing else.
#include "discovery/udp/CSocketUdp.h"
#include "discovery/udp/UdpPrinterInfo.h"
#include "platform/ports/SystemInfo.h"

#include <functional>

namespace discovery {

using PostUdpPrinter = std::function<void(UdpPrinterInfo)>;

class CUdpPrinterSearcher final : public CSocketUdp {
public:
    CUdpPrinterSearcher(ports::Network& network, ports::SystemInfo& system, PostUdpPrinter post);
    ~CUdpPrinterSearcher() override;

protected:
    int OnReceive(std::span<const std::uint8_t> data) override;

private:
    ports::SystemInfo& system_;
    PostUdpPrinter post_;
};

} // namespace discovery
