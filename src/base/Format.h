#pragma once
// A type-safe formatter with printf's syntax (%s %d %u %x %X %02X %04d %c %p %f %%, flags, width,
// precision, '*', and the h, hh, l, ll, I64, I32, I, z, j, t, L and w length modifiers).
//
// Formats are data: translated message texts go through here. A conversion that has no argument,
// an argument of the wrong kind (a text for %d, a number for %s), an unknown conversion, or
// arguments left over never read a wrong argument or crash; they show a visible marker instead:
//   "{?%d}"  no argument for this conversion
//   "{!%d}"  the argument does not fit the conversion (or the conversion is unknown)
//   "{+N}"   N arguments were not used, appended at the end
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace text {

class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Real, Text, Pointer };

    template <typename T>
    requires(std::is_integral_v<T> || std::is_enum_v<T>) FormatArg(T value)
    noexcept {
        using U = typename std::conditional_t<std::is_enum_v<T>, std::underlying_type<T>,
                                              std::type_identity<T>>::type;
        if constexpr (std::is_signed_v<U>) {
            kind_ = Kind::Signed;
            bits_ = static_cast<std::uint64_t>(static_cast<std::int64_t>(static_cast<U>(value)));
        } else {
            kind_ = Kind::Unsigned;
            bits_ = static_cast<std::uint64_t>(static_cast<U>(value));
        }
    }
    FormatArg(double value) noexcept : kind_(Kind::Real), real_(value) {}
    FormatArg(float value) noexcept : kind_(Kind::Real), real_(value) {}
    FormatArg(const wchar_t* value) noexcept : kind_(Kind::Text), text_(value ? value : L"(null)") {}
    FormatArg(wchar_t* value) noexcept : FormatArg(static_cast<const wchar_t*>(value)) {}
    FormatArg(std::wstring_view value) noexcept : kind_(Kind::Text), text_(value) {}
    FormatArg(const std::wstring& value) noexcept : kind_(Kind::Text), text_(value) {}
    FormatArg(const void* value) noexcept
        : kind_(Kind::Pointer), bits_(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(value))) {}
    FormatArg(std::nullptr_t) noexcept : kind_(Kind::Pointer) {}

    Kind kind() const noexcept { return kind_; }
    std::uint64_t bits() const noexcept { return bits_; }
    double real() const noexcept { return real_; }
    std::wstring_view text() const noexcept { return text_; }

private:
    Kind kind_;
    std::uint64_t bits_ = 0;
    double real_ = 0;
    std::wstring_view text_;
};

std::wstring formatArgs(std::wstring_view format, std::span<const FormatArg> args);

template <typename... Args> std::wstring format(std::wstring_view fmt, const Args&... args) {
    if constexpr (sizeof...(Args) == 0) {
        return formatArgs(fmt, {});
    } else {
        const FormatArg list[] = {FormatArg(args)...};
        return formatArgs(fmt, list);
    }
}

} // namespace text
