#include "platform/host/HostNetwork.h"

#include <arpa/inet.h>
#include <cerrno>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <string>

namespace host {
namespace {

using ports::Status;
namespace winerr = ports::winerr;

// errno as the WSA code Windows gives for the same failure.
Status wsaError(int error) {
    switch (error) {
    case EACCES:
        return 10013; // WSAEACCES
    case EINVAL:
        return 10022; // WSAEINVAL
    case EMFILE:
    case ENFILE:
        return 10024; // WSAEMFILE
    case EMSGSIZE:
        return 10040; // WSAEMSGSIZE
    case EADDRINUSE:
        return 10048; // WSAEADDRINUSE
    case EADDRNOTAVAIL:
        return 10049; // WSAEADDRNOTAVAIL
    case ENETDOWN:
        return 10050; // WSAENETDOWN
    case ENETUNREACH:
        return 10051; // WSAENETUNREACH
    case ENOBUFS:
        return 10055; // WSAENOBUFS
    case ENOTCONN:
        return 10057; // WSAENOTCONN
    case EHOSTUNREACH:
        return 10065; // WSAEHOSTUNREACH
    default:
        return 10022;
    }
}

sockaddr_in toSockaddr(ports::Ipv4Endpoint e) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(e.port);
    a.sin_addr.s_addr = htonl(e.address);
    return a;
}

} // namespace

OwnedSocket::~OwnedSocket() {
    if (fd_ >= 0)
        ::close(static_cast<int>(fd_));
}

HostNetwork::HostNetwork() noexcept : started_(true) {}
HostNetwork::~HostNetwork() = default;

void HostNetwork::closeHandle(std::uint64_t id) noexcept {
    sockets_.remove(id);
}

Status HostNetwork::openUdp(ports::UdpSocket& out) noexcept {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (fd < 0)
        return wsaError(errno);
    out = ports::UdpSocket(*this, sockets_.add(OwnedSocket(fd)));
    return winerr::Success;
}

Status HostNetwork::setBroadcast(ports::UdpSocket& socket, bool on) noexcept {
    const auto s = sockets_.find(socket, this);
    if (!s)
        return winerr::InvalidHandle;
    const int value = on ? 1 : 0;
    return ::setsockopt(static_cast<int>(s->fd()), SOL_SOCKET, SO_BROADCAST, &value, sizeof value) == 0
               ? winerr::Success
               : wsaError(errno);
}

Status HostNetwork::setReceiveBufferSize(ports::UdpSocket& socket, std::uint32_t bytes) noexcept {
    const auto s = sockets_.find(socket, this);
    if (!s)
        return winerr::InvalidHandle;
    const int value = static_cast<int>(std::min<std::uint32_t>(bytes, 0x7FFFFFFF));
    return ::setsockopt(static_cast<int>(s->fd()), SOL_SOCKET, SO_RCVBUF, &value, sizeof value) == 0
               ? winerr::Success
               : wsaError(errno);
}

Status HostNetwork::bind(ports::UdpSocket& socket, ports::Ipv4Endpoint local) noexcept {
    const auto s = sockets_.find(socket, this);
    if (!s)
        return winerr::InvalidHandle;
    const auto a = toSockaddr(local);
    return ::bind(static_cast<int>(s->fd()), reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0
               ? winerr::Success
               : wsaError(errno);
}

Status HostNetwork::localEndpoint(ports::UdpSocket& socket, ports::Ipv4Endpoint& out) noexcept {
    const auto s = sockets_.find(socket, this);
    if (!s)
        return winerr::InvalidHandle;
    sockaddr_in a{};
    socklen_t size = sizeof a;
    if (::getsockname(static_cast<int>(s->fd()), reinterpret_cast<sockaddr*>(&a), &size) != 0)
        return wsaError(errno);
    out = {ntohl(a.sin_addr.s_addr), ntohs(a.sin_port)};
    return winerr::Success;
}

Status HostNetwork::sendTo(ports::UdpSocket& socket, ports::Ipv4Endpoint to,
                           std::span<const std::uint8_t> data, std::size_t& sent) noexcept {
    sent = 0;
    const auto s = sockets_.find(socket, this);
    if (!s)
        return winerr::InvalidHandle;
    const auto a = toSockaddr(to);
    const auto n = ::sendto(static_cast<int>(s->fd()), data.data(), data.size(), MSG_NOSIGNAL,
                            reinterpret_cast<const sockaddr*>(&a), sizeof a);
    if (n < 0)
        return wsaError(errno);
    sent = static_cast<std::size_t>(n);
    return winerr::Success;
}

Status HostNetwork::receiveFrom(ports::UdpSocket& socket, std::span<std::uint8_t> buffer,
                                std::uint32_t timeoutMs, std::size_t& received,
                                ports::Ipv4Endpoint& from) noexcept {
    received = 0;
    const auto s = sockets_.find(socket, this);
    if (!s)
        return winerr::InvalidHandle;
    const int fd = static_cast<int>(s->fd());
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(timeoutMs));
    if (ready == 0)
        return winerr::WaitTimeout;
    if (ready < 0)
        return errno == EINTR ? winerr::WaitTimeout : wsaError(errno);
    sockaddr_in a{};
    socklen_t size = sizeof a;
    const auto n =
        ::recvfrom(fd, buffer.data(), buffer.size(), MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&a), &size);
    if (n < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK ? winerr::WaitTimeout : wsaError(errno);
    received = static_cast<std::size_t>(n);
    from = {ntohl(a.sin_addr.s_addr), ntohs(a.sin_port)};
    return winerr::Success;
}

Status HostNetwork::shutdown(ports::UdpSocket& socket) noexcept {
    const auto s = sockets_.find(socket, this);
    if (!s)
        return winerr::InvalidHandle;
    // On an unconnected UDP socket this answers ENOTCONN but still wakes a waiting receive.
    ::shutdown(static_cast<int>(s->fd()), SHUT_RDWR);
    return winerr::Success;
}

Status HostNetwork::localAddresses(std::vector<std::uint32_t>& out) noexcept {
    out.clear();
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return wsaError(errno);
    std::vector<std::uint32_t> loopback;
    for (auto* i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET || !(i->ifa_flags & IFF_UP))
            continue;
        const auto address = ntohl(reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr);
        (i->ifa_flags & IFF_LOOPBACK ? loopback : out).push_back(address);
    }
    ::freeifaddrs(list);
    if (out.empty())
        out = loopback;
    return winerr::Success;
}

Status HostNetwork::resolve(std::string_view host, std::uint32_t& out) noexcept {
    const std::string name(host);
    in_addr dotted{};
    if (::inet_pton(AF_INET, name.c_str(), &dotted) == 1) {
        out = ntohl(dotted.s_addr);
        return winerr::Success;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || !found)
        return 11001; // WSAHOST_NOT_FOUND
    out = ntohl(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    ::freeaddrinfo(found);
    return winerr::Success;
}

} // namespace host
