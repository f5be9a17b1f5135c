#include "catalogue/DocumentData.h"

#include "base/Utf.h"

#include <optional>
#include <unordered_map>

namespace catalogue {
namespace {

using NameMap = std::unordered_map<std::wstring_view, std::uint32_t>;

void collectModels(const pugi::xml_document& tree, ModelIndex& index) {
    const pugi::xml_node list = tree.child("Drivers").child("Manufacturers");
    for (pugi::xml_node m = list.child("Manufacturer"); m; m = m.next_sibling("Manufacturer")) {
        const auto manufacturer = static_cast<std::uint32_t>(index.manufacturers.size());
        ManufacturerEntry entry;
        entry.node = m;
        entry.mode = text::fromUtf8(m.attribute("mode").value());
        entry.firstModel = static_cast<std::uint32_t>(index.models.size());
        for (pugi::xml_node d = m.child("Driver"); d; d = d.next_sibling("Driver")) {
            ModelEntry& model = index.models.emplace_back();
            model.node = d;
            model.name = text::fromUtf8(d.attribute("name").value());
            model.manufacturer = manufacturer;
        }
        entry.endModel = static_cast<std::uint32_t>(index.models.size());
        index.manufacturers.push_back(std::move(entry));
    }
}

// Every model's parent, with a name table per manufacturer that parents are looked up in (in
// practice only the base mode), instead of a scan of its models for each of the ~900 children.
void resolveParents(ModelIndex& index) {
    std::vector<std::optional<NameMap>> names(index.manufacturers.size());
    const std::uint32_t native = index.findManufacturer(L"Native");
    for (auto& model : index.models) {
        const pugi::xml_attribute pm = model.node.attribute("parentmanufacturer");
        const std::uint32_t m = pm ? index.findManufacturer(text::fromUtf8(pm.value())) : native;
        if (m == kNone)
            continue;
        if (!names[m]) {
            NameMap& table = names[m].emplace();
            const auto& man = index.manufacturers[m];
            for (std::uint32_t i = man.firstModel; i < man.endModel; ++i)
                table.try_emplace(index.models[i].name, i); // the first of equal names wins
        }
        const auto found = names[m]->find(text::fromUtf8(model.node.attribute("parent").value()));
        if (found != names[m]->end())
            model.parent = found->second;
    }
}

void measureChains(ModelIndex& index) {
    std::vector<std::uint32_t> visitedFrom(index.models.size(), kNone);
    for (std::uint32_t start = 0; start < index.models.size(); ++start) {
        std::uint32_t length = 0;
        for (std::uint32_t i = start; i != kNone && visitedFrom[i] != start; i = index.models[i].parent) {
            visitedFrom[i] = start;
            ++length;
        }
        index.models[start].chainLength = length;
    }
}

void build(const pugi::xml_document& tree, ModelIndex& index) {
    collectModels(tree, index);
    resolveParents(index);
    measureChains(index);
    // USB discovery and the delete page match hardware IDs against every model of a walk.
    for (std::uint32_t i = 0; i < index.models.size(); ++i)
        index.models[i].usbName = text::fromUtf8(index.inherited(i, "usbname").value());
}

} // namespace

std::uint32_t ModelIndex::findManufacturer(std::wstring_view mode) const {
    for (std::uint32_t m = 0; m < manufacturers.size(); ++m) {
        if (manufacturers[m].mode == mode)
            return m;
    }
    return kNone;
}

std::uint32_t ModelIndex::findModel(std::uint32_t manufacturer, std::wstring_view name) const {
    const auto& man = manufacturers[manufacturer];
    for (std::uint32_t i = man.firstModel; i < man.endModel; ++i) {
        if (models[i].name == name)
            return i;
    }
    return kNone;
}

pugi::xml_attribute ModelIndex::inherited(std::uint32_t model, const char* attribute) const {
    std::uint32_t at = model;
    for (std::uint32_t step = 0; step < models[model].chainLength; ++step) {
        if (const pugi::xml_attribute a = models[at].node.attribute(attribute))
            return a;
        at = models[at].parent;
    }
    return {};
}

const ModelIndex& DocumentData::buildModels() const {
    if (!loaded)
        return empty_;
    std::lock_guard lock(building_);
    if (!built_.load(std::memory_order_relaxed)) {
        build(tree, index_);
        built_.store(&index_, std::memory_order_release);
    }
    return index_;
}

} // namespace catalogue
