#include "base/Format.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace text {
namespace {

// Hostile formats ("%999999999d") must not allocate without bound.
constexpr int kMaxWidth = 1024;

struct Directive {
    std::wstring_view source; // the whole conversion, for markers
    std::string flags;
    int width = -1;
    int precision = -1;
    int lengthBits = 32; // size of the integer printf would read
    bool lengthLongDouble = false;
    wchar_t conversion = 0;
};

std::wstring widen(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

std::wstring pad(std::wstring body, const Directive& spec, bool zeroAllowed) {
    if (spec.width <= static_cast<int>(body.size()))
        return body;
    const size_t fill = static_cast<size_t>(spec.width) - body.size();
    if (spec.flags.find('-') != std::string::npos)
        return body + std::wstring(fill, L' ');
    if (zeroAllowed && spec.flags.find('0') != std::string::npos)
        return std::wstring(fill, L'0') + body;
    return std::wstring(fill, L' ') + body;
}

std::string narrowSpec(const Directive& spec, const char* length, char conversion) {
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about "%" + std::string.
    std::string f(1, '%');
    f += spec.flags;
    if (spec.width >= 0)
        f += std::to_string(spec.width);
    if (spec.precision >= 0) {
        f += '.';
        f += std::to_string(spec.precision);
    }
    f += length;
    f += conversion;
    return f;
}

std::wstring formatInteger(const Directive& spec, std::uint64_t bits) {
    const wchar_t c = spec.conversion;
    const bool isSigned = c == L'd' || c == L'i';
    std::string fmt = narrowSpec(spec, "ll", static_cast<char>(c));
    long long sv = 0;
    unsigned long long uv = 0;
    switch (spec.lengthBits) {
    case 8:
        sv = static_cast<std::int8_t>(bits);
        uv = static_cast<std::uint8_t>(bits);
        break;
    case 16:
        sv = static_cast<std::int16_t>(bits);
        uv = static_cast<std::uint16_t>(bits);
        break;
    case 64:
        sv = static_cast<std::int64_t>(bits);
        uv = bits;
        break;
    default:
        sv = static_cast<std::int32_t>(bits);
        uv = static_cast<std::uint32_t>(bits);
        break;
    }
    char buf[kMaxWidth * 2 + 64];
    if (isSigned)
        std::snprintf(buf, sizeof buf, fmt.c_str(), sv);
    else
        std::snprintf(buf, sizeof buf, fmt.c_str(), uv);
    return widen(buf);
}

std::wstring formatReal(const Directive& spec, double value) {
    std::string fmt = narrowSpec(spec, "", static_cast<char>(spec.conversion));
    char buf[kMaxWidth * 2 + 400];
    std::snprintf(buf, sizeof buf, fmt.c_str(), value);
    return widen(buf);
}

std::wstring formatPointer(const Directive& spec, std::uint64_t bits) {
    // As Windows prints %p: uppercase hexadecimal, all digits of the pointer size.
    char buf[32];
    if (sizeof(void*) == 8)
        std::snprintf(buf, sizeof buf, "%016llX", static_cast<unsigned long long>(bits));
    else
        std::snprintf(buf, sizeof buf, "%08lX", static_cast<unsigned long>(bits & 0xFFFFFFFFu));
    return pad(widen(buf), spec, false);
}

std::wstring formatText(const Directive& spec, std::wstring_view text) {
    if (spec.precision >= 0 && static_cast<size_t>(spec.precision) < text.size())
        text = text.substr(0, static_cast<size_t>(spec.precision));
    return pad(std::wstring(text), spec, false);
}

std::wstring marker(wchar_t kind, std::wstring_view source) {
    std::wstring m = L"{";
    m += kind;
    m.append(source);
    m += L'}';
    return m;
}

bool isIntegerConversion(wchar_t c) {
    return c == L'd' || c == L'i' || c == L'u' || c == L'x' || c == L'X' || c == L'o';
}
bool isRealConversion(wchar_t c) {
    return c == L'f' || c == L'F' || c == L'e' || c == L'E' || c == L'g' || c == L'G' || c == L'a' ||
           c == L'A';
}

class Formatter {
public:
    Formatter(std::wstring_view fmt, std::span<const FormatArg> args) : fmt_(fmt), args_(args) {}

    std::wstring run() {
        size_t i = 0;
        while (i < fmt_.size()) {
            const size_t pct = fmt_.find(L'%', i);
            if (pct == std::wstring_view::npos) {
                out_.append(fmt_.substr(i));
                break;
            }
            out_.append(fmt_.substr(i, pct - i));
            i = conversion(pct);
        }
        if (next_ < args_.size())
            out_ += L"{+" + std::to_wstring(args_.size() - next_) + L"}";
        return std::move(out_);
    }

private:
    const FormatArg* take() { return next_ < args_.size() ? &args_[next_++] : nullptr; }

    // Reads a '*' width or precision from the arguments; false when that argument is missing or wrong.
    bool starValue(int& value, bool& missing) {
        const FormatArg* a = take();
        if (!a) {
            missing = true;
            return false;
        }
        if (a->kind() != FormatArg::Kind::Signed && a->kind() != FormatArg::Kind::Unsigned)
            return false;
        value = static_cast<std::int32_t>(a->bits());
        return true;
    }

    size_t conversion(size_t pct) {
        size_t i = pct + 1;
        Directive spec;
        bool starMissing = false, starWrong = false;
        while (i < fmt_.size() && std::wstring_view(L"-+ #0").find(fmt_[i]) != std::wstring_view::npos)
            spec.flags += static_cast<char>(fmt_[i++]);
        if (i < fmt_.size() && fmt_[i] == L'*') {
            ++i;
            int w = 0;
            if (starValue(w, starMissing)) {
                if (w < 0) {
                    spec.flags += '-';
                    w = -w;
                }
                spec.width = w;
            } else {
                starWrong = true;
            }
        } else {
            spec.width = digits(i);
        }
        if (i < fmt_.size() && fmt_[i] == L'.') {
            ++i;
            if (i < fmt_.size() && fmt_[i] == L'*') {
                ++i;
                int p = 0;
                if (starValue(p, starMissing))
                    spec.precision = p < 0 ? -1 : p;
                else
                    starWrong = true;
            } else {
                spec.precision = std::max(digits(i), 0);
            }
        }
        spec.width = std::min(spec.width, kMaxWidth);
        spec.precision = std::min(spec.precision, kMaxWidth);
        length(i, spec);
        if (i >= fmt_.size()) { // a lone '%' at the end
            spec.source = fmt_.substr(pct);
            out_ += marker(L'!', spec.source);
            return fmt_.size();
        }
        spec.conversion = fmt_[i++];
        spec.source = fmt_.substr(pct, i - pct);
        if (spec.conversion == L'%') {
            out_ += L'%';
            return i;
        }
        const bool known = isIntegerConversion(spec.conversion) || isRealConversion(spec.conversion) ||
                           spec.conversion == L's' || spec.conversion == L'S' || spec.conversion == L'c' ||
                           spec.conversion == L'C' || spec.conversion == L'p';
        if (!known) { // includes %n, which must never write anything
            out_ += marker(L'!', spec.source);
            return i;
        }
        const FormatArg* a = take();
        if (starMissing || !a) {
            out_ += marker(L'?', spec.source);
            return i;
        }
        if (starWrong) {
            out_ += marker(L'!', spec.source);
            return i;
        }
        out_ += render(spec, *a);
        return i;
    }

    int digits(size_t& i) {
        if (i >= fmt_.size() || fmt_[i] < L'0' || fmt_[i] > L'9')
            return -1;
        long v = 0;
        while (i < fmt_.size() && fmt_[i] >= L'0' && fmt_[i] <= L'9') {
            v = std::min<long>(v * 10 + (fmt_[i] - L'0'), kMaxWidth);
            ++i;
        }
        return static_cast<int>(v);
    }

    void length(size_t& i, Directive& spec) {
        auto at = [&](std::wstring_view s) { return fmt_.substr(i, s.size()) == s; };
        if (at(L"hh")) {
            spec.lengthBits = 8;
            i += 2;
        } else if (at(L"h")) {
            spec.lengthBits = 16;
            i += 1;
        } else if (at(L"ll") || at(L"I64")) {
            spec.lengthBits = 64;
            i += at(L"ll") ? 2 : 3;
        } else if (at(L"I32")) {
            i += 3;
        } else if (at(L"l") || at(L"w")) {
            i += 1;
        } else if (at(L"I") || at(L"z") || at(L"t")) {
            spec.lengthBits = sizeof(void*) * 8;
            i += 1;
        } else if (at(L"j") || at(L"q")) {
            spec.lengthBits = 64;
            i += 1;
        } else if (at(L"L")) {
            spec.lengthLongDouble = true;
            i += 1;
        }
    }

    std::wstring render(const Directive& spec, const FormatArg& a) {
        using K = FormatArg::Kind;
        const bool integer = a.kind() == K::Signed || a.kind() == K::Unsigned;
        const wchar_t c = spec.conversion;
        if (isIntegerConversion(c) && integer)
            return formatInteger(spec, a.bits());
        if (isRealConversion(c) && a.kind() == K::Real)
            return formatReal(spec, a.real());
        if ((c == L's' || c == L'S') && a.kind() == K::Text)
            return formatText(spec, a.text());
        if ((c == L'c' || c == L'C') && integer) {
            const wchar_t ch = static_cast<wchar_t>(a.bits() & (sizeof(wchar_t) == 2 ? 0xFFFFu : 0x10FFFFu));
            return pad(std::wstring(1, ch), spec, false);
        }
        if (c == L'p' && (a.kind() == K::Pointer || integer))
            return formatPointer(spec, a.bits());
        return marker(L'!', spec.source);
    }

    std::wstring_view fmt_;
    std::span<const FormatArg> args_;
    size_t next_ = 0;
    std::wstring out_;
};

} // namespace

std::wstring formatArgs(std::wstring_view format, std::span<const FormatArg> args) {
    return Formatter(format, args).run();
}

} // namespace text
