#include "base/Compare.h"

#include <algorithm>

namespace text {
namespace {

// Latin Extended-A pairs an upper letter with the next code point; these runs pair odd with even.
bool oddIsUpper(unsigned c) {
    return (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
}

} // namespace

wchar_t upperOrdinal(wchar_t ch) noexcept {
    const unsigned c = static_cast<unsigned>(ch);
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? static_cast<wchar_t>(c - 0x20) : ch;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<wchar_t>(c - 0x20);
    if (c == 0xFF)
        return static_cast<wchar_t>(0x178);
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) {
        if (oddIsUpper(c))
            return (c % 2 == 0) ? static_cast<wchar_t>(c - 1) : ch;
        return (c % 2 == 1) ? static_cast<wchar_t>(c - 1) : ch;
    }
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2)
        return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x430 && c <= 0x44F)
        return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F)
        return static_cast<wchar_t>(c - 0x50);
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F))
        return (c % 2 == 1) ? static_cast<wchar_t>(c - 1) : ch;
    if (c >= 0xFF41 && c <= 0xFF5A)
        return static_cast<wchar_t>(c - 0x20);
    return ch;
}

wchar_t lowerOrdinal(wchar_t ch) noexcept {
    const unsigned c = static_cast<unsigned>(ch);
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? static_cast<wchar_t>(c + 0x20) : ch;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<wchar_t>(c + 0x20);
    if (c == 0x178)
        return static_cast<wchar_t>(0xFF);
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) {
        if (oddIsUpper(c))
            return (c % 2 == 1) ? static_cast<wchar_t>(c + 1) : ch;
        return (c % 2 == 0) ? static_cast<wchar_t>(c + 1) : ch;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return static_cast<wchar_t>(c + 0x20);
    if (c >= 0x410 && c <= 0x42F)
        return static_cast<wchar_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F)
        return static_cast<wchar_t>(c + 0x50);
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F))
        return (c % 2 == 0) ? static_cast<wchar_t>(c + 1) : ch;
    if (c >= 0xFF21 && c <= 0xFF3A)
        return static_cast<wchar_t>(c + 0x20);
    return ch;
}

int compareNoCase(std::wstring_view a, std::wstring_view b) noexcept {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned x = static_cast<unsigned>(upperOrdinal(a[i]));
        const unsigned y = static_cast<unsigned>(upperOrdinal(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool equalsNoCase(std::wstring_view a, std::wstring_view b) noexcept {
    return a.size() == b.size() && compareNoCase(a, b) == 0;
}

bool startsWithNoCase(std::wstring_view text, std::wstring_view prefix) noexcept {
    return text.size() >= prefix.size() && compareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

bool containsNoCase(std::wstring_view text, std::wstring_view part) noexcept {
    if (part.empty())
        return true;
    if (part.size() > text.size())
        return false;
    const wchar_t first = upperOrdinal(part[0]);
    for (size_t i = 0; i + part.size() <= text.size(); ++i) {
        if (upperOrdinal(text[i]) == first && compareNoCase(text.substr(i, part.size()), part) == 0)
            return true;
    }
    return false;
}

std::wstring toLower(std::wstring_view s) {
    std::wstring out(s);
    for (auto& c : out)
        c = lowerOrdinal(c);
    return out;
}

std::wstring toUpper(std::wstring_view s) {
    std::wstring out(s);
    for (auto& c : out)
        c = upperOrdinal(c);
    return out;
}

} // namespace text
