#pragma once
// UDP sockets for the network printer search, one level above Winsock and BSD sockets. Addresses are
// IPv4 in host order (a.b.c.d is a << 24 | b << 16 | c << 8 | d). Results are Windows status codes:
// the WSA error of the call (WSAEADDRINUSE 10048, ...), WAIT_TIMEOUT when a receive saw nothing.
#include "platform/ports/Handle.h"
#include "platform/ports/Status.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace ports {

using UdpSocket = Handle<struct UdpSocketTag>;

struct Ipv4Endpoint {
    std::uint32_t address = 0;
    std::uint16_t port = 0;
    friend bool operator==(const Ipv4Endpoint&, const Ipv4Endpoint&) = default;
};

inline constexpr std::uint32_t kIpv4Broadcast = 0xFFFFFFFFu;
inline constexpr std::uint32_t kIpv4Loopback = 0x7F000001u;

class Network {
public:
    virtual ~Network() = default;

    // socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP).
    [[nodiscard]] virtual Status openUdp(UdpSocket& out) noexcept = 0;
    // SO_BROADCAST.
    [[nodiscard]] virtual Status setBroadcast(UdpSocket& socket, bool on) noexcept = 0;
    // SO_RCVBUF: how many bytes of datagrams the system keeps for the socket until they are read.
    // The system may grant less than asked (Linux caps it at net.core.rmem_max).
    [[nodiscard]] virtual Status setReceiveBufferSize(UdpSocket& socket, std::uint32_t bytes) noexcept = 0;
    // Port 0 takes any free port; localEndpoint() tells which.
    [[nodiscard]] virtual Status bind(UdpSocket& socket, Ipv4Endpoint local) noexcept = 0;
    [[nodiscard]] virtual Status localEndpoint(UdpSocket& socket, Ipv4Endpoint& out) noexcept = 0;
    [[nodiscard]] virtual Status sendTo(UdpSocket& socket, Ipv4Endpoint to,
                                        std::span<const std::uint8_t> data, std::size_t& sent) noexcept = 0;
    // Waits at most timeoutMs for one datagram (winerr::WaitTimeout when none came) and takes at most
    // buffer.size() bytes of it. After shutdown() it answers at once with 0 bytes or an error.
    [[nodiscard]] virtual Status receiveFrom(UdpSocket& socket, std::span<std::uint8_t> buffer,
                                             std::uint32_t timeoutMs, std::size_t& received,
                                             Ipv4Endpoint& from) noexcept = 0;
    // shutdown() in both directions: a receive waiting on another thread returns.
    [[nodiscard]] virtual Status shutdown(UdpSocket& socket) noexcept = 0;

    // The machine's own IPv4 addresses (loopback included only when there is nothing else).
    [[nodiscard]] virtual Status localAddresses(std::vector<std::uint32_t>& out) noexcept = 0;
    // A dotted address as it stands, else the first IPv4 address of a host name.
    [[nodiscard]] virtual Status resolve(std::string_view host, std::uint32_t& out) noexcept = 0;
};

} // namespace ports
