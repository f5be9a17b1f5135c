#pragma once
// One network printer as its answer to the diagnostic broadcast describes it, and the wire format
// of that conversation: the request the wizard broadcasts and how a reply is read.
#include "platform/ports/SystemInfo.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace discovery {

struct UdpPrinterInfo {
    std::wstring netName;      // "NET NAME:"
    std::wstring printerModel; // "MODEL:"
    std::wstring firmware;     // "SOFT:"
    std::int32_t dhcp = 1;     // "DHCP ": 0 only for the value "OFF"
    std::wstring ipAddr;       // "IP ADDR:"
    std::wstring subnetMask;   // "SUBNET:"
    std::wstring gateway;      // "GATEWAY:"
    std::wstring macAddress;   // "MAC:"
    friend bool operator==(const UdpPrinterInfo&, const UdpPrinterInfo&) = default;
};

inline constexpr std::uint16_t kPrinterUdpPort = 22368;  // where printers listen
inline constexpr std::uint16_t kSearcherUdpPort = 22369; // where replies arrive
inline constexpr std::wstring_view kBroadcastAddress = L"255.255.255.255";
inline constexpr std::uint32_t kResendPeriodMs = 1000;

// "DIAGNOSTIC REPORT NETBROADCAST" CR LF: 32 bytes, no NUL.
std::span<const std::uint8_t> UdpRequest();

// A reply's text read by the printers' rules: none unless it holds "NET BROADCAST"; each key's
// first occurrence gives its value, up to the next comma, or else up to (not including) the text's
// last character; nothing is trimmed; a missing key gives "".
std::optional<UdpPrinterInfo> ParseUdpReplyText(std::wstring_view text);

// A datagram: its bytes up to the first NUL, from the active ANSI code page, then the text rules.
// A datagram whose bytes the code page cannot convert is not a reply.
std::optional<UdpPrinterInfo> ParseUdpReply(std::span<const std::uint8_t> datagram,
                                            ports::SystemInfo& system);

} // namespace discovery
