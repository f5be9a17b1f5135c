#include "discovery/udp/UdpPrinterInfo.h"

#include <algorithm>

namespace discovery {
namespace {

constexpr char kRequestText[] = "DIAGNOSTIC REPORT NETBROADCAST\r\n";
constexpr auto kRequest = [] {
    std::array<std::uint8_t, sizeof(kRequestText) - 1> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(kRequestText[i]);
    return bytes;
}();
static_assert(kRequest.size() == 32);

std::wstring valueOf(std::wstring_view text, std::wstring_view key) {
    const auto at = text.find(key);
    if (at == std::wstring_view::npos)
        return {};
    const auto start = at + key.size();
    const auto comma = text.find(L',', start);
    if (comma != std::wstring_view::npos)
        return std::wstring(text.substr(start, comma - start));
    // No comma follows: the text's final character belongs to no value.
    if (start + 1 >= text.size())
        return {};
    return std::wstring(text.substr(start, text.size() - 1 - start));
}

} // namespace

std::span<const std::uint8_t> UdpRequest() {
    return kRequest;
}

std::optional<UdpPrinterInfo> ParseUdpReplyText(std::wstring_view text) {
    if (text.find(L"NET BROADCAST") == std::wstring_view::npos)
        return std::nullopt;
    UdpPrinterInfo info;
    info.netName = valueOf(text, L"NET NAME:");
    info.printerModel = valueOf(text, L"MODEL:");
    info.firmware = valueOf(text, L"SOFT:");
    info.dhcp = valueOf(text, L"DHCP ") == L"OFF" ? 0 : 1;
    info.ipAddr = valueOf(text, L"IP ADDR:");
    info.subnetMask = valueOf(text, L"SUBNET:");
    info.gateway = valueOf(text, L"GATEWAY:");
    info.macAddress = valueOf(text, L"MAC:");
    return info;
}

std::optional<UdpPrinterInfo> ParseUdpReply(std::span<const std::uint8_t> datagram,
                                            ports::SystemInfo& system) {
    const auto end = std::find(datagram.begin(), datagram.end(), std::uint8_t{0});
    std::wstring text;
    if (system.ansiToWide(std::string(datagram.begin(), end), text) != ports::winerr::Success)
        return std::nullopt;
    return ParseUdpReplyText(text);
}

} // namespace discovery
