#include "ui/core/Attributes.h"

#include "base/Compare.h"

#include <vector>

namespace ui {
namespace {

std::vector<std::wstring_view> splitComma(std::wstring_view text) {
    std::vector<std::wstring_view> parts;
    for (;;) {
        auto comma = text.find(L',');
        parts.push_back(text.substr(0, comma));
        if (comma == std::wstring_view::npos)
            return parts;
        text.remove_prefix(comma + 1);
    }
}

std::wstring_view trim(std::wstring_view s) {
    while (!s.empty() && s.front() == L' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == L' ')
        s.remove_suffix(1);
    return s;
}

} // namespace

std::optional<int> parseInt(std::wstring_view text) {
    text = trim(text);
    bool negative = !text.empty() && text.front() == L'-';
    if (negative)
        text.remove_prefix(1);
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    return negative ? -value : value;
}

std::optional<bool> parseBool(std::wstring_view text) {
    text = trim(text);
    if (text::equalsNoCase(text, L"true"))
        return true;
    if (text::equalsNoCase(text, L"false"))
        return false;
    return std::nullopt;
}

AttrResult assignBool(bool& field, std::wstring_view text) {
    auto b = parseBool(text);
    if (!b)
        return AttrResult::BadValue;
    field = *b;
    return AttrResult::Ok;
}

AttrResult assignInt(int& field, std::wstring_view text, int min) {
    auto n = parseInt(text);
    if (!n || *n < min)
        return AttrResult::BadValue;
    field = *n;
    return AttrResult::Ok;
}

std::optional<Edges> parseEdges(std::wstring_view text) {
    auto parts = splitComma(text);
    if (parts.size() != 1 && parts.size() != 4)
        return std::nullopt;
    int v[4];
    for (std::size_t i = 0; i < parts.size(); ++i) {
        auto n = parseInt(parts[i]);
        if (!n || *n < 0)
            return std::nullopt;
        v[i] = *n;
    }
    if (parts.size() == 1)
        return Edges{v[0], v[0], v[0], v[0]};
    return Edges{v[0], v[1], v[2], v[3]};
}

std::optional<Size> parseSize(std::wstring_view text) {
    auto parts = splitComma(text);
    if (parts.size() != 2)
        return std::nullopt;
    auto w = parseInt(parts[0]);
    auto h = parseInt(parts[1]);
    if (!w || !h || *w < 0 || *h < 0)
        return std::nullopt;
    return Size{*w, *h};
}

std::optional<Colour> parseColour(std::wstring_view text) {
    text = trim(text);
    if (text.starts_with(L"#"))
        text.remove_prefix(1);
    else if (text.starts_with(L"0x") || text.starts_with(L"0X"))
        text.remove_prefix(2);
    else
        return std::nullopt;
    if (text.size() != 6 && text.size() != 8)
        return std::nullopt;
    std::uint32_t argb = 0;
    for (wchar_t c : text) {
        int d = c >= L'0' && c <= L'9'   ? c - L'0'
                : c >= L'a' && c <= L'f' ? c - L'a' + 10
                : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                         : -1;
        if (d < 0)
            return std::nullopt;
        argb = argb << 4 | static_cast<std::uint32_t>(d);
    }
    // Layouts write RGB; a COLORREF holds BGR.
    std::uint32_t r = argb >> 16 & 0xFF, g = argb >> 8 & 0xFF, b = argb & 0xFF;
    return b << 16 | g << 8 | r;
}

} // namespace ui
