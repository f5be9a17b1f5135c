#include "discovery/udp/CSocketUdp.h"

#include "base/Utf.h"
#include "discovery/udp/UdpPrinterInfo.h"

#include <chrono>

namespace discovery {

CSocketUdp::CSocketUdp(ports::Network& network, bool broadcast)
    : network_(network), broadcast_(broadcast), buffer_(kReceiveBufferBytes) {}

CSocketUdp::~CSocketUdp() {
    Close();
}

bool CSocketUdp::resolve(std::wstring_view address, std::uint32_t& out) {
    if (address == kBroadcastAddress) {
        out = ports::kIpv4Broadcast;
        return true;
    }
    return network_.resolve(text::toUtf8(address), out) == ports::winerr::Success;
}

bool CSocketUdp::Open(std::wstring_view bindAddress, std::uint16_t port) {
    Close();
    std::uint32_t address = 0;
    if (!resolve(bindAddress, address))
        return false;
    if (network_.openUdp(socket_) != ports::winerr::Success)
        return false;
    if (broadcast_ && network_.setBroadcast(socket_, true) != ports::winerr::Success)
        return false;
    // A search in a network of hundreds of printers gets their answers in one burst; what the
    // system cannot queue until the thread reads it is lost. Less than asked still works.
    (void)network_.setReceiveBufferSize(socket_, kSocketQueueBytes);
    if (network_.bind(socket_, {address, port}) != ports::winerr::Success)
        return false;
    running_ = true;
    receiver_ = std::thread([this] { receiveLoop(); });
    return true;
}

void CSocketUdp::Close() {
    running_ = false;
    if (socket_)
        (void)network_.shutdown(socket_);
    if (receiver_.joinable())
        receiver_.join();
    socket_.reset();
}

bool CSocketUdp::SendTo(std::wstring_view address, std::uint16_t port, std::span<const std::uint8_t> data) {
    std::uint32_t to = 0;
    if (!socket_ || !resolve(address, to))
        return false;
    return SendTo(ports::Ipv4Endpoint{to, port}, data);
}

bool CSocketUdp::SendTo(ports::Ipv4Endpoint to, std::span<const std::uint8_t> data) {
    std::size_t sent = 0;
    return socket_ && network_.sendTo(socket_, to, data, sent) == ports::winerr::Success && sent > 0;
}

ports::Ipv4Endpoint CSocketUdp::localEndpoint() {
    ports::Ipv4Endpoint e;
    if (socket_)
        (void)network_.localEndpoint(socket_, e);
    return e;
}

int CSocketUdp::OnReceive(std::span<const std::uint8_t>) {
    return 1;
}

void CSocketUdp::receiveLoop() {
    while (running_) {
        std::size_t received = 0;
        ports::Ipv4Endpoint from;
        const auto s = network_.receiveFrom(socket_, buffer_, kReceiveWaitMs, received, from);
        if (s == ports::winerr::Success && received > 0) {
            sender_ = from;
            OnReceive(std::span<const std::uint8_t>(buffer_.data(), received));
        } else if (s != ports::winerr::Success && s != ports::winerr::WaitTimeout && running_) {
            // A failing socket answers at once; do not spin on it.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
}

} // namespace discovery
