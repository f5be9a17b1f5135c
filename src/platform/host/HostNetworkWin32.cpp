#include "platform/host/HostNetwork.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <string>

namespace host {
namespace {

using ports::Status;
namespace winerr = ports::winerr;

Status lastSocketError() {
    return static_cast<Status>(::WSAGetLastError());
}

sockaddr_in toSockaddr(ports::Ipv4Endpoint e) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(e.port);
    a.sin_addr.s_addr = htonl(e.address);
    return a;
}

SOCKET socketOf(const OwnedSocket& s) {
    return static_cast<SOCKET>(s.fd());
}

} // namespace

OwnedSocket::~OwnedSocket() {
    if (fd_ != -1)
        ::closesocket(static_cast<SOCKET>(fd_));
}

HostNetwork::HostNetwork() noexcept {
    WSADATA data{};
    started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

HostNetwork::~HostNetwork() {
    if (started_)
        ::WSACleanup();
}

void HostNetwork::closeHandle(std::uint64_t id) noexcept {
    sockets_.remove(id);
}

Status HostNetwork::openUdp(ports::UdpSocket& out) noexcept {
    const SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET)
        return lastSocketError();
    out = ports::UdpSocket(*this, sockets_.add(OwnedSocket(static_cast<std::intptr_t>(s))));
    return winerr::Success;
}

Status HostNetwork::setBroadcast(ports::UdpSocket& socket, bool on) noexcept {
    const auto s = sockets_.find(socket, this);
    if (!s)
        return winerr::InvalidHandle;
    const BOOL value = on ? TRUE : FALSE;
    return ::setsockopt(socketOf(*s), SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&value),
                        sizeof value) == 0
               ? winerr::Success
               : lastSocketError();
}

Status HostNetwork::setReceiveBufferSize(ports::UdpSocket& socket, std::uint32_t bytes) noexcept {
    const auto s = sockets_.find(socket, this);
    if (!s)
        return winerr::InvalidHandle;
    const int value = static_cast<int>(std::min<std::uint32_t>(bytes, 0x7FFFFFFF));
    return ::setsockopt(socketOf(*s), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&value),
                        sizeof value) == 0
               ? winerr::Success
               : lastSocketError();
}

Status HostNetwork::bind(ports::UdpSocket& socket, ports::Ipv4Endpoint local) noexcept {
    const auto s = sockets_.find(socket, this);
    if (!s)
        return winerr::InvalidHandle;
    const auto a = toSockaddr(local);
    return ::bind(socketOf(*s), reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0 ? winerr::Success
                                                                                      : lastSocketError();
}

Status HostNetwork::localEndpoint(ports::UdpSocket& socket, ports::Ipv4Endpoint& out) noexcept {
    const auto s = sockets_.find(socket, this);
    if (!s)
        return winerr::InvalidHandle;
    sockaddr_in a{};
    int size = sizeof a;
    if (::getsockname(socketOf(*s), reinterpret_cast<sockaddr*>(&a), &size) != 0)
        return lastSocketError();
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
    const int n = ::sendto(socketOf(*s), reinterpret_cast<const char*>(data.data()),
                           static_cast<int>(data.size()), 0, reinterpret_cast<const sockaddr*>(&a), sizeof a);
    if (n == SOCKET_ERROR)
        return lastSocketError();
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
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socketOf(*s), &readable);
    timeval wait{static_cast<long>(timeoutMs / 1000), static_cast<long>((timeoutMs % 1000) * 1000)};
    const int ready = ::select(0, &readable, nullptr, nullptr, &wait);
    if (ready == 0)
        return winerr::WaitTimeout;
    if (ready == SOCKET_ERROR)
        return lastSocketError();
    sockaddr_in a{};
    int size = sizeof a;
    const int n = ::recvfrom(socketOf(*s), reinterpret_cast<char*>(buffer.data()),
                             static_cast<int>(buffer.size()), 0, reinterpret_cast<sockaddr*>(&a), &size);
    if (n == SOCKET_ERROR) {
        // A datagram larger than the buffer arrives cut to its size, as on other systems.
        const auto error = lastSocketError();
        if (error != WSAEMSGSIZE)
            return error;
        received = buffer.size();
    } else {
        received = static_cast<std::size_t>(n);
    }
    from = {ntohl(a.sin_addr.s_addr), ntohs(a.sin_port)};
    return winerr::Success;
}

Status HostNetwork::shutdown(ports::UdpSocket& socket) noexcept {
    const auto s = sockets_.find(socket, this);
    if (!s)
        return winerr::InvalidHandle;
    ::shutdown(socketOf(*s), SD_BOTH);
    return winerr::Success;
}

Status HostNetwork::localAddresses(std::vector<std::uint32_t>& out) noexcept {
    out.clear();
    char name[1024] = {};
    if (::gethostname(name, sizeof name) != 0)
        return lastSocketError();
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (const int rc = ::getaddrinfo(name, nullptr, &hints, &found); rc != 0)
        return static_cast<Status>(rc);
    for (auto* i = found; i; i = i->ai_next) {
        const auto address = ntohl(reinterpret_cast<const sockaddr_in*>(i->ai_addr)->sin_addr.s_addr);
        bool known = false;
        for (auto a : out)
            known = known || a == address;
        if (!known)
            out.push_back(address);
    }
    ::freeaddrinfo(found);
    return winerr::Success;
}

Status HostNetwork::resolve(std::string_view host, std::uint32_t& out) noexcept {
    const std::string name(host);
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (const int rc = ::getaddrinfo(name.c_str(), nullptr, &hints, &found); rc != 0 || !found)
        return rc != 0 ? static_cast<Status>(rc) : static_cast<Status>(WSAHOST_NOT_FOUND);
    out = ntohl(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    ::freeaddrinfo(found);
    return winerr::Success;
}

} // namespace host
