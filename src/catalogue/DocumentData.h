#pragma once
// Inside an XmlDocument: the parsed tree and, for the catalogue, an index of its manufacturers and
// models with their names as wide text. The index is built on first use, so start-up pays for the
// parse alone; afterwards walks and name lookups never touch the parser's UTF-8 text again.
#include <pugixml.hpp>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace catalogue {

inline constexpr std::uint32_t kNone = UINT32_MAX;

struct ManufacturerEntry {
    pugi::xml_node node;
    std::wstring mode; // "" when the attribute is missing
    std::uint32_t firstModel = 0;
    std::uint32_t endModel = 0;
};

struct ModelEntry {
    pugi::xml_node node;
    std::wstring name; // "" when the attribute is missing
    std::uint32_t manufacturer = 0;
    std::uint32_t parent = kNone;
    // How many distinct models the inheritance chain visits from this one (itself included) before
    // it ends or returns to a model already visited: a cyclic chain stops at the first repeat.
    std::uint32_t chainLength = 1;
    std::wstring usbName; // resolved through the chain; "" when absent
};

// Manufacturer elements are the children of the first Manufacturers under the root Drivers; models
// are their Driver children. Both in document order, so a manufacturer's models are contiguous.
struct ModelIndex {
    std::vector<ManufacturerEntry> manufacturers;
    std::vector<ModelEntry> models;

    // The first manufacturer whose mode equals mode exactly, or kNone.
    std::uint32_t findManufacturer(std::wstring_view mode) const;
    // The first model of that manufacturer whose name equals name exactly, or kNone.
    std::uint32_t findModel(std::uint32_t manufacturer, std::wstring_view name) const;
    // The attribute on the model or, when it lacks it, up its chain; an empty attribute when none.
    pugi::xml_attribute inherited(std::uint32_t model, const char* attribute) const;
};

class DocumentData {
public:
    pugi::xml_document tree;
    bool loaded = false;

    // The catalogue index of the parsed tree; empty until the document is loaded. Every query starts
    // here, so once built it costs one atomic load.
    const ModelIndex& models() const {
        if (const ModelIndex* built = built_.load(std::memory_order_acquire))
            return *built;
        return buildModels();
    }

private:
    const ModelIndex& buildModels() const;

    mutable std::mutex building_;
    mutable std::atomic<const ModelIndex*> built_{nullptr};
    mutable ModelIndex index_;
    const ModelIndex empty_;
};

} // namespace catalogue
