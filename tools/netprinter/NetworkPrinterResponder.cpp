#include "NetworkPrinterResponder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace netprinter {
namespace {

constexpr std::string_view kRequestMark = "DIAGNOSTIC REPORT NETBROADCAST";

std::optional<Malformed> malformedNamed(std::string_view name) {
    if (name == "none")
        return Malformed::None;
    if (name == "no-marker")
        return Malformed::NoMarker;
    if (name == "nul")
        return Malformed::Nul;
    if (name == "oversized")
        return Malformed::Oversized;
    if (name == "empty")
        return Malformed::Empty;
    if (name == "garbage")
        return Malformed::Garbage;
    return std::nullopt;
}

} // namespace

std::optional<SimulatedPrinter> parsePrinter(std::string_view text, std::string& error) {
    SimulatedPrinter p;
    while (!text.empty()) {
        const auto comma = text.find(',');
        const auto field = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
        if (field.empty())
            continue;
        const auto eq = field.find('=');
        if (eq == std::string_view::npos) {
            error = "a field without '=': " + std::string(field);
            return std::nullopt;
        }
        const auto key = field.substr(0, eq);
        const std::string value(field.substr(eq + 1));
        if (key == "name")
            p.name = value;
        else if (key == "model")
            p.model = value;
        else if (key == "firmware")
            p.firmware = value;
        else if (key == "dhcp")
            p.dhcp = value;
        else if (key == "ip")
            p.ip = value;
        else if (key == "mask")
            p.mask = value;
        else if (key == "gateway")
            p.gateway = value;
        else if (key == "mac")
            p.mac = value;
        else if (key == "copies") {
            char* end = nullptr;
            const unsigned long n = std::strtoul(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || n == 0 || n > 100000) {
                error = "copies must be a number from 1 to 100000: " + value;
                return std::nullopt;
            }
            p.copies = static_cast<unsigned>(n);
        } else if (key == "malformed") {
            const auto m = malformedNamed(value);
            if (!m) {
                error = "unknown malformed reply: " + value;
                return std::nullopt;
            }
            p.malformed = *m;
        } else {
            error = "unknown key: " + std::string(key);
            return std::nullopt;
        }
    }
    return p;
}

std::vector<SimulatedPrinter> copiesOf(const SimulatedPrinter& printer, unsigned count) {
    std::vector<SimulatedPrinter> out;
    for (unsigned i = 0; i < count; ++i) {
        SimulatedPrinter p = printer;
        p.copies = 1;
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, "-%04u", i + 1);
        p.name += suffix;
        std::snprintf(suffix, sizeof suffix, ":%02X:%02X:%02X", (i >> 16) & 0xFF, (i >> 8) & 0xFF, i & 0xFF);
        p.mac = p.mac.substr(0, std::min<std::size_t>(p.mac.size(), 8)) + suffix;
        out.push_back(std::move(p));
    }
    return out;
}

std::vector<std::uint8_t> replyOf(const SimulatedPrinter& p) {
    std::string text = "NET BROADCAST,NET NAME:" + p.name + ",MODEL:" + p.model + ",SOFT:" + p.firmware +
                       ",DHCP " + p.dhcp + ",IP ADDR:" + p.ip + ",SUBNET:" + p.mask + ",GATEWAY:" + p.gateway;
    switch (p.malformed) {
    case Malformed::None:
        text += ",MAC:" + p.mac + ",\r\n";
        break;
    case Malformed::NoMarker:
        text = text.substr(std::string_view("NET BROADCAST,").size()) + ",MAC:" + p.mac + ",\r\n";
        break;
    case Malformed::Nul:
        text += std::string(1, '\0') + ",MAC:" + p.mac + ",\r\n"; // the MAC lies beyond the NUL
        break;
    case Malformed::Oversized:
        text += ",MAC:" + p.mac + ",PAD:" + std::string(65000, 'X') + ",\r\n";
        text.resize(std::min<std::size_t>(text.size(), 65507));
        break;
    case Malformed::Empty:
        text.clear();
        break;
    case Malformed::Garbage:
        text.clear();
        for (unsigned i = 0; i < 300; ++i)
            text.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
        break;
    }
    return {text.begin(), text.end()};
}

NetworkPrinterResponder::NetworkPrinterResponder(ports::Network& network,
                                                 std::vector<SimulatedPrinter> printers, bool anySender)
    : CSocketUdp(network, false), anySender_(anySender) {
    for (const auto& p : printers)
        replies_.push_back(replyOf(p));
}

NetworkPrinterResponder::~NetworkPrinterResponder() {
    Close();
}

int NetworkPrinterResponder::OnReceive(std::span<const std::uint8_t> data) {
    const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    if (text.find(kRequestMark) == std::string_view::npos)
        return 1;
    const auto from = sender();
    if (!anySender_ && (from.address >> 24) != 127)
        return 1;
    for (const auto& reply : replies_)
        SendTo(from, reply);
    ++answered_;
    return 1;
}

} // namespace netprinter
