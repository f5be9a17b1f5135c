#pragma once
// One UDP endpoint with its own receive thread. The socket and the thread belong to the object:
// Close (and the destructor) wakes the thread by shutting the socket down, joins it, then closes the
// socket. The thread's receive waits are short, so it ends within one wait even where the system
// does not wake it; it is never killed.
#include "platform/ports/Network.h"

#include <atomic>
#include <cstdint>
#include <span>
#include <string_view>
#include <thread>
#include <vector>

namespace discovery {

class CSocketUdp {
public:
    static constexpr std::size_t kReceiveBufferBytes = 1024 * 1024;
    static constexpr std::uint32_t kReceiveWaitMs = 200;
    // What the system is asked to queue for the socket (SO_RCVBUF).
    static constexpr std::uint32_t kSocketQueueBytes = 4 * 1024 * 1024;

    CSocketUdp(ports::Network& network, bool broadcast);
    // A class that overrides OnReceive closes in its own destructor, before its part is gone.
    virtual ~CSocketUdp();
    CSocketUdp(const CSocketUdp&) = delete;
    CSocketUdp& operator=(const CSocketUdp&) = delete;

    // Binds a new socket (closing an earlier one) and starts the receive thread; false when the
    // address does not resolve or the bind fails (no thread then).
    bool Open(std::wstring_view bindAddress, std::uint16_t port);
    void Close();
    // True when some bytes went out. "255.255.255.255" is the limited broadcast, never looked up.
    bool SendTo(std::wstring_view address, std::uint16_t port, std::span<const std::uint8_t> data);
    bool SendTo(ports::Ipv4Endpoint to, std::span<const std::uint8_t> data);
    // Where the socket is bound (after a successful Open); port 0 bound to a free port.
    ports::Ipv4Endpoint localEndpoint();

protected:
    // On the receive thread, for every datagram of at least one byte.
    virtual int OnReceive(std::span<const std::uint8_t> data);
    // The sender of the datagram being handled; for OnReceive only.
    ports::Ipv4Endpoint sender() const { return sender_; }
    ports::Network& network() { return network_; }

private:
    bool resolve(std::wstring_view address, std::uint32_t& out);
    void receiveLoop();

    ports::Network& network_;
    const bool broadcast_;
    ports::UdpSocket socket_;
    std::vector<std::uint8_t> buffer_;
    std::thread receiver_;
    std::atomic<bool> running_{false};
    ports::Ipv4Endpoint sender_;
};

} // namespace discovery
