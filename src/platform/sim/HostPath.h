#pragma once
// Host paths from the machine's texts and back. The texts are UTF-8 (the state) or UTF-16 (the
// ports); a path is always made from and read as char8_t, so that on Windows the C++ library never
// takes them in the ANSI code page, where a name such as "机器 Café" does not fit.
#include "base/Utf.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace sim {

inline std::filesystem::path hostPathOfUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}
inline std::filesystem::path hostPathOf(std::wstring_view text) {
    return hostPathOfUtf8(text::toUtf8(text));
}
inline std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string u = path.u8string();
    return std::string(u.begin(), u.end());
}
inline std::wstring wideOf(const std::filesystem::path& path) {
    return text::fromUtf8(utf8Of(path));
}

} // namespace sim
