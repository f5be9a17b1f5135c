#pragma once
// A typed registry-style value: printer data, device registry properties and device key values all
// come as a REG_* type plus bytes. Texts are UTF-16LE in the bytes whatever the width of wchar_t, so
// the simulated machine stores what Windows stores.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ports {

namespace regtype {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t Sz = 1;
inline constexpr std::uint32_t ExpandSz = 2;
inline constexpr std::uint32_t Binary = 3;
inline constexpr std::uint32_t Dword = 4;
inline constexpr std::uint32_t MultiSz = 7;
inline constexpr std::uint32_t Qword = 11;
} // namespace regtype

// UTF-16LE bytes of a text, without a terminating NUL.
inline std::vector<std::uint8_t> utf16leBytes(std::wstring_view text) {
    std::vector<std::uint8_t> out;
    out.reserve(text.size() * 2);
    auto unit = [&out](std::uint32_t u) {
        out.push_back(static_cast<std::uint8_t>(u & 0xFF));
        out.push_back(static_cast<std::uint8_t>((u >> 8) & 0xFF));
    };
    for (wchar_t ch : text) {
        auto c = static_cast<std::uint32_t>(ch);
        if (c >= 0x10000 && c <= 0x10FFFF) { // only with a 32-bit wchar_t
            c -= 0x10000;
            unit(0xD800 | (c >> 10));
            unit(0xDC00 | (c & 0x3FF));
        } else {
            unit(c & 0xFFFF);
        }
    }
    return out;
}

// The text of UTF-16LE bytes up to the first NUL unit (or the end); an odd last byte is ignored.
inline std::wstring textFromUtf16le(std::span<const std::uint8_t> bytes) {
    std::wstring out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        std::uint32_t u = bytes[i] | (static_cast<std::uint32_t>(bytes[i + 1]) << 8);
        if (u == 0)
            break;
        if constexpr (sizeof(wchar_t) == 4) {
            if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
                std::uint32_t lo = bytes[i + 2] | (static_cast<std::uint32_t>(bytes[i + 3]) << 8);
                if (lo >= 0xDC00 && lo < 0xE000) {
                    out.push_back(static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00)));
                    i += 2;
                    continue;
                }
            }
        }
        out.push_back(static_cast<wchar_t>(u));
    }
    return out;
}

struct RegValue {
    std::uint32_t type = regtype::None;
    std::vector<std::uint8_t> bytes;

    // REG_SZ as the wizard writes printer data: the code units without the terminating NUL.
    static RegValue fromString(std::wstring_view text, bool withNul = false) {
        RegValue v{regtype::Sz, utf16leBytes(text)};
        if (withNul)
            v.bytes.insert(v.bytes.end(), {0, 0});
        return v;
    }
    static RegValue fromDword(std::uint32_t value) {
        return {regtype::Dword,
                {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                 static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)}};
    }
    // Each string followed by a NUL, then one more NUL.
    static RegValue fromMultiString(const std::vector<std::wstring>& texts) {
        RegValue v{regtype::MultiSz, {}};
        for (const auto& t : texts) {
            auto b = utf16leBytes(t);
            v.bytes.insert(v.bytes.end(), b.begin(), b.end());
            v.bytes.insert(v.bytes.end(), {0, 0});
        }
        v.bytes.insert(v.bytes.end(), {0, 0});
        return v;
    }

    // The text up to the first NUL, whatever the type (as a caller reading into a text buffer sees it).
    std::wstring asString() const { return textFromUtf16le(bytes); }
    // 0 when there are fewer than four bytes.
    std::uint32_t asDword() const {
        if (bytes.size() < 4)
            return 0;
        return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    }
    // The strings of a NUL-separated list, stopping at the first empty one.
    std::vector<std::wstring> asMultiString() const {
        std::vector<std::wstring> out;
        std::size_t start = 0;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            if (bytes[i] != 0 || bytes[i + 1] != 0)
                continue;
            if (i == start)
                break;
            out.push_back(textFromUtf16le(std::span(bytes).subspan(start, i - start)));
            start = i + 2;
        }
        return out;
    }
};

} // namespace ports
