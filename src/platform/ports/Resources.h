#pragma once
// The resources embedded in the program: the catalogue ("XML" 131), the manufacturer records
// ("XML" 132) and the skin archive ("ZIPRES" 129).
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ports {

inline constexpr std::uint16_t kResourceCatalogue = 131;
inline constexpr std::uint16_t kResourceManufacturers = 132;
inline constexpr std::uint16_t kResourceSkin = 129;
inline constexpr std::wstring_view kResourceTypeXml = L"XML";
inline constexpr std::wstring_view kResourceTypeZip = L"ZIPRES";

class Resources {
public:
    virtual ~Resources() = default;
    // The bytes of one resource, valid for the life of the program; nothing when it is absent, an
    // empty span when it exists but cannot be loaded.
    [[nodiscard]] virtual std::optional<std::span<const std::uint8_t>> find(std::wstring_view type,
                                                                            std::uint16_t id) noexcept = 0;
};

} // namespace ports
