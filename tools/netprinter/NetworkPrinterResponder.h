#pragma once
// Stands for one or more network label printers: answers every diagnostic request that reaches its
// socket with one reply per printer, sent back to the asker only (it never broadcasts). A printer
// can be told to answer wrongly, to try the wizard against broken firmware.
#include "discovery/udp/CSocketUdp.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace netprinter {

enum class Malformed { None, NoMarker, Nul, Oversized, Empty, Garbage };

struct SimulatedPrinter {
    std::string name = "LP-0001";
    std::string model = "JN-2203T-S";
    std::string firmware = "V1.0.0";
    std::string dhcp = "ON";
    std::string ip = "192.168.1.200";
    std::string mask = "255.255.255.0";
    std::string gateway = "192.168.1.1";
    std::string mac = "00:1B:44:11:3A:B7";
    Malformed malformed = Malformed::None;
    // Stand for this many printers (numbered names and MACs, see copiesOf).
    unsigned copies = 1;
};

// "name=LP1,model=M,firmware=V1,dhcp=OFF,ip=..,mask=..,gateway=..,mac=..,malformed=nul,copies=N"; keys may
// be left out (their defaults stay). None, with `error` set, for an unknown key or value.
std::optional<SimulatedPrinter> parsePrinter(std::string_view text, std::string& error);

// `count` printers made from `printer`: numbered names and MACs whose last three bytes count up.
std::vector<SimulatedPrinter> copiesOf(const SimulatedPrinter& printer, unsigned count);

// The datagram a printer answers with.
std::vector<std::uint8_t> replyOf(const SimulatedPrinter& printer);

class NetworkPrinterResponder final : public discovery::CSocketUdp {
public:
    // Only askers in 127.0.0.0/8 are answered unless `anySender`: the program must not send into a
    // real network by itself.
    NetworkPrinterResponder(ports::Network& network, std::vector<SimulatedPrinter> printers,
                            bool anySender = false);
    ~NetworkPrinterResponder() override;

    std::uint64_t requestsAnswered() const { return answered_.load(); }

protected:
    int OnReceive(std::span<const std::uint8_t> data) override;

private:
    std::vector<std::vector<std::uint8_t>> replies_;
    const bool anySender_;
    std::atomic<std::uint64_t> answered_{0};
};

} // namespace netprinter
