#pragma once
// The handle of one catalogue model (a Driver element). Small, copied by value, and valid for the
// life of the process because the catalogue document is never changed or freed before exit.
#include <cstdint>

namespace catalogue {
class XmlDocument;
}

struct DriverRef {
    // The document the model belongs to; null for the empty reference (no model).
    const catalogue::XmlDocument* document = nullptr;
    // Position of the model among the catalogue's models, in document order.
    std::uint32_t index = 0;

    bool empty() const noexcept { return document == nullptr; }
    explicit operator bool() const noexcept { return document != nullptr; }
    friend bool operator==(const DriverRef&, const DriverRef&) = default;
};
