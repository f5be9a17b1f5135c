#pragma once
// The Bluetooth device information record as the system reports it (BLUETOOTH_DEVICE_INFO): the
// same fields in the same order and layout, so that the Windows side copies it in and out whole
// and a printer entry copies it bytewise. Its name is UTF-16 on every build.
#include "platform/ports/SystemTime.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace ports {

inline constexpr std::size_t kBluetoothMaxNameSize = 248;

struct BluetoothDeviceInfo {
    std::uint32_t dwSize = 0;
    alignas(8) std::uint64_t Address = 0; // six address bytes, byte 0 the least significant
    std::uint32_t ulClassofDevice = 0;
    std::int32_t fConnected = 0;
    std::int32_t fRemembered = 0;
    std::int32_t fAuthenticated = 0;
    SystemTime stLastSeen;
    SystemTime stLastUsed;
    char16_t szName[kBluetoothMaxNameSize] = {};

    // szName up to its terminator.
    std::wstring name() const {
        std::wstring out;
        for (std::size_t i = 0; i < kBluetoothMaxNameSize && szName[i]; ++i) {
            const char16_t c = szName[i];
            if constexpr (sizeof(wchar_t) == 4) { // join a surrogate pair into one character
                const char16_t next = i + 1 < kBluetoothMaxNameSize ? szName[i + 1] : 0;
                if (c >= 0xD800 && c < 0xDC00 && next >= 0xDC00 && next < 0xE000) {
                    out += static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00));
                    ++i;
                    continue;
                }
            }
            out += static_cast<wchar_t>(c);
        }
        return out;
    }
    // Stores `text` (UTF-16 code units), cut to fit with its terminator.
    void setName(std::wstring_view text) {
        std::size_t n = 0;
        for (wchar_t c : text) {
            if (n + 1 >= kBluetoothMaxNameSize)
                break;
            const auto v = static_cast<std::uint32_t>(c);
            if constexpr (sizeof(wchar_t) == 4) { // beyond the BMP: a surrogate pair
                if (v > 0xFFFF) {
                    if (n + 2 >= kBluetoothMaxNameSize)
                        break;
                    szName[n++] = static_cast<char16_t>(0xD800 + ((v - 0x10000) >> 10));
                    szName[n++] = static_cast<char16_t>(0xDC00 + ((v - 0x10000) & 0x3FF));
                    continue;
                }
            }
            szName[n++] = static_cast<char16_t>(v);
        }
        for (; n < kBluetoothMaxNameSize; ++n)
            szName[n] = 0;
    }
    // The address byte `i` (0 the least significant of the six).
    std::uint8_t addressByte(int i) const { return static_cast<std::uint8_t>(Address >> (8 * i)); }
};

// The Windows record is 560 bytes on every architecture; a copy must be a plain copy of bytes.
static_assert(sizeof(BluetoothDeviceInfo) == 560);
static_assert(offsetof(BluetoothDeviceInfo, Address) == 8);
static_assert(offsetof(BluetoothDeviceInfo, szName) == 64);
static_assert(std::is_trivially_copyable_v<BluetoothDeviceInfo>);

// The radio a device was found on (a HANDLE on Windows); 0 is none. Not owned by the holder.
using BluetoothRadio = std::uintptr_t;

} // namespace ports
