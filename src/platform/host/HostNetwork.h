#pragma once
// The Network port on the host's own sockets (Winsock on Windows, BSD sockets elsewhere). Network
// discovery is real networking in every build, the simulated machine's included: printers answer on
// a real network (or a private network namespace in tests), not in the state file.
#include "platform/common/HandleTable.h"
#include "platform/ports/Network.h"

#include <cstdint>

namespace host {

// One open socket; closing it is the destructor's job.
class OwnedSocket {
public:
    explicit OwnedSocket(std::intptr_t fd) noexcept : fd_(fd) {}
    ~OwnedSocket();
    OwnedSocket(OwnedSocket&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
    OwnedSocket& operator=(OwnedSocket&&) = delete;
    OwnedSocket(const OwnedSocket&) = delete;
    std::intptr_t fd() const noexcept { return fd_; }

private:
    std::intptr_t fd_;
};

class HostNetwork final : public ports::Network, private ports::HandleCloser {
public:
    // On Windows this starts Winsock for the object's lifetime.
    HostNetwork() noexcept;
    ~HostNetwork();
    HostNetwork(const HostNetwork&) = delete;
    HostNetwork& operator=(const HostNetwork&) = delete;

    ports::Status openUdp(ports::UdpSocket& out) noexcept override;
    ports::Status setBroadcast(ports::UdpSocket& socket, bool on) noexcept override;
    ports::Status setReceiveBufferSize(ports::UdpSocket& socket, std::uint32_t bytes) noexcept override;
    ports::Status bind(ports::UdpSocket& socket, ports::Ipv4Endpoint local) noexcept override;
    ports::Status localEndpoint(ports::UdpSocket& socket, ports::Ipv4Endpoint& out) noexcept override;
    ports::Status sendTo(ports::UdpSocket& socket, ports::Ipv4Endpoint to, std::span<const std::uint8_t> data,
                         std::size_t& sent) noexcept override;
    ports::Status receiveFrom(ports::UdpSocket& socket, std::span<std::uint8_t> buffer,
                              std::uint32_t timeoutMs, std::size_t& received,
                              ports::Ipv4Endpoint& from) noexcept override;
    ports::Status shutdown(ports::UdpSocket& socket) noexcept override;
    ports::Status localAddresses(std::vector<std::uint32_t>& out) noexcept override;
    ports::Status resolve(std::string_view host, std::uint32_t& out) noexcept override;

private:
    void closeHandle(std::uint64_t id) noexcept override;

    platform::HandleTable<OwnedSocket> sockets_;
    bool started_ = false;
};

} // namespace host
