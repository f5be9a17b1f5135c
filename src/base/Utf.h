#pragma once
// UTF-8 <-> wide text (UTF-16 where wchar_t has 16 bits, UTF-32 otherwise). Invalid input becomes
// U+FFFD; nothing is dropped silently.
#include <string>
#include <string_view>

namespace text {

std::wstring fromUtf8(std::string_view s);
std::string toUtf8(std::wstring_view s);

} // namespace text
