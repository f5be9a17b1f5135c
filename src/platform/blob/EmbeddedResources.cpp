#include "platform/blob/EmbeddedResources.h"

#include "base/Compare.h"

namespace blob {

// Resource types compare without regard to case, as FindResource does.
std::optional<std::span<const std::uint8_t>> EmbeddedResources::find(std::wstring_view type,
                                                                     std::uint16_t id) noexcept {
    for (const auto& e : entries_) {
        if (e.id == id && text::equalsNoCase(e.type, type))
            return e.bytes;
    }
    return std::nullopt;
}

} // namespace blob
