#pragma once
// A GUID as plain data, so that class and interface GUIDs cross the ports without windows.h.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ports {

struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};
    friend bool operator==(const Guid&, const Guid&) = default;
};

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in either letter case (as IIDFromString accepts it).
inline std::optional<Guid> parseGuid(std::wstring_view text) {
    if (text.size() != 38 || text.front() != L'{' || text.back() != L'}')
        return std::nullopt;
    auto hex = [&](std::size_t pos, std::size_t digits, std::uint64_t& out) {
        out = 0;
        for (std::size_t i = 0; i < digits; ++i) {
            wchar_t c = text[pos + i];
            int d = c >= L'0' && c <= L'9'   ? c - L'0'
                    : c >= L'a' && c <= L'f' ? c - L'a' + 10
                    : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                             : -1;
            if (d < 0)
                return false;
            out = out * 16 + static_cast<std::uint64_t>(d);
        }
        return true;
    };
    if (text[9] != L'-' || text[14] != L'-' || text[19] != L'-' || text[24] != L'-')
        return std::nullopt;
    Guid g;
    std::uint64_t v = 0;
    if (!hex(1, 8, v))
        return std::nullopt;
    g.data1 = static_cast<std::uint32_t>(v);
    if (!hex(10, 4, v))
        return std::nullopt;
    g.data2 = static_cast<std::uint16_t>(v);
    if (!hex(15, 4, v))
        return std::nullopt;
    g.data3 = static_cast<std::uint16_t>(v);
    for (std::size_t i = 0; i < 8; ++i) {
        std::size_t pos = i < 2 ? 20 + 2 * i : 25 + 2 * (i - 2);
        if (!hex(pos, 2, v))
            return std::nullopt;
        g.data4[i] = static_cast<std::uint8_t>(v);
    }
    return g;
}

namespace guids {
// GUID_DEVINTERFACE_USBPRINT {28D78FAD-5A12-11D1-AE5B-0000F803A8C2}
inline constexpr Guid DevInterfaceUsbPrint{
    0x28D78FAD, 0x5A12, 0x11D1, {0xAE, 0x5B, 0x00, 0x00, 0xF8, 0x03, 0xA8, 0xC2}};
// SerialPortServiceClass_UUID {00001101-0000-1000-8000-00805F9B34FB}: a Bluetooth service and the
// interface class of the COM ports Windows creates for it.
inline constexpr Guid SerialPortServiceClass{
    0x00001101, 0x0000, 0x1000, {0x80, 0x00, 0x00, 0x80, 0x5F, 0x9B, 0x34, 0xFB}};
// GUID_DEVCLASS_USB {36FC9E60-C465-11CF-8056-444553540000}
inline constexpr Guid DevClassUsb{
    0x36FC9E60, 0xC465, 0x11CF, {0x80, 0x56, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// GUID_DEVCLASS_PRINTER {4D36E979-E325-11CE-BFC1-08002BE10318}
inline constexpr Guid DevClassPrinter{
    0x4D36E979, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
// GUID_DEVCLASS_PORTS {4D36E978-E325-11CE-BFC1-08002BE10318}
inline constexpr Guid DevClassPorts{
    0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
} // namespace guids

} // namespace ports
