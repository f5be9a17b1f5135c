#include "catalogue/DriverCatalogue.h"

#include "base/Compare.h"
#include "base/Utf.h"
#include "catalogue/DocumentData.h"

namespace catalogue {
namespace {

const std::wstring kEmptyText;

// Asked at every step of a walk: the exact spelling and other lengths are settled without the
// case-insensitive comparison.
bool isWholeCatalogue(std::wstring_view mode) {
    return mode.size() == kModeZevrPrt.size() &&
           (mode == kModeZevrPrt || text::equalsNoCase(mode, kModeZevrPrt));
}

// The index holding the model ref names; null for an empty reference.
const ModelIndex* indexOf(DriverRef ref) {
    if (!ref.document)
        return nullptr;
    const ModelIndex& index = ref.document->data().models();
    return ref.index < index.models.size() ? &index : nullptr;
}

std::uint32_t firstModel(std::wstring_view mode, const ModelIndex& index) {
    const std::uint32_t m =
        isWholeCatalogue(mode) ? (index.manufacturers.empty() ? kNone : 0) : index.findManufacturer(mode);
    if (m == kNone || index.manufacturers[m].firstModel == index.manufacturers[m].endModel)
        return kNone;
    return index.manufacturers[m].firstModel;
}

std::uint32_t nextModel(bool wholeCatalogue, std::uint32_t model, const ModelIndex& index) {
    const std::uint32_t m = index.models[model].manufacturer;
    if (model + 1 < index.manufacturers[m].endModel)
        return model + 1;
    if (!wholeCatalogue || m + 1 >= index.manufacturers.size())
        return kNone;
    const auto& next = index.manufacturers[m + 1];
    return next.firstModel < next.endModel ? next.firstModel : kNone;
}

pugi::xml_attribute inherited(DriverRef ref, const char* attribute) {
    const ModelIndex* index = indexOf(ref);
    return index ? index->inherited(ref.index, attribute) : pugi::xml_attribute();
}

std::wstring inheritedText(DriverRef ref, const char* attribute) {
    return text::fromUtf8(inherited(ref, attribute).value());
}

} // namespace

bool FirstDriver(std::wstring_view mode, const XmlDocument& catalogueDoc, DriverRef& ref) {
    const std::uint32_t first = firstModel(mode, catalogueDoc.data().models());
    if (first == kNone)
        return false;
    ref = DriverRef{&catalogueDoc, first};
    return true;
}

bool NextDriver(std::wstring_view mode, DriverRef& ref) {
    const ModelIndex* index = indexOf(ref);
    if (!index)
        return false;
    const std::uint32_t next = nextModel(isWholeCatalogue(mode), ref.index, *index);
    if (next == kNone)
        return false;
    ref.index = next;
    return true;
}

const std::wstring& DriverName(DriverRef ref) {
    const ModelIndex* index = indexOf(ref);
    return index ? index->models[ref.index].name : kEmptyText;
}

DriverRef FindDriver(std::wstring_view mode, std::wstring_view name, const XmlDocument& catalogueDoc) {
    const ModelIndex& index = catalogueDoc.data().models();
    const std::uint32_t m = index.findManufacturer(mode);
    if (m == kNone)
        return {};
    const std::uint32_t model = index.findModel(m, name);
    return model == kNone ? DriverRef{} : DriverRef{&catalogueDoc, model};
}

DriverRef FindDriverByUsbName(std::wstring_view mode, std::wstring_view hardwareId,
                              const XmlDocument& catalogueDoc) {
    const ModelIndex& index = catalogueDoc.data().models();
    const bool whole = isWholeCatalogue(mode);
    for (std::uint32_t i = firstModel(mode, index); i != kNone; i = nextModel(whole, i, index)) {
        if (index.models[i].usbName == hardwareId)
            return DriverRef{&catalogueDoc, i};
    }
    return {};
}

DriverRef ParentDriver(DriverRef ref) {
    const ModelIndex* index = indexOf(ref);
    if (!index)
        return {};
    const std::uint32_t parent = index->models[ref.index].parent;
    return parent == kNone ? DriverRef{} : DriverRef{ref.document, parent};
}

std::optional<std::wstring> InheritedAttribute(DriverRef ref, std::wstring_view attribute) {
    const std::string name = text::toUtf8(attribute);
    // The model's identity and its link to the parent belong to the model alone.
    const bool ownOnly = name == "name" || name == "parent" || name == "parentmanufacturer";
    pugi::xml_attribute found;
    if (!ownOnly)
        found = inherited(ref, name.c_str());
    else if (const ModelIndex* index = indexOf(ref))
        found = index->models[ref.index].node.attribute(name.c_str());
    if (!found)
        return std::nullopt;
    return text::fromUtf8(found.value());
}

const std::wstring& DriverManufacturerMode(DriverRef ref) {
    const ModelIndex* index = indexOf(ref);
    return index ? index->manufacturers[index->models[ref.index].manufacturer].mode : kEmptyText;
}

std::wstring DriverUsbName(DriverRef ref) {
    const ModelIndex* index = indexOf(ref);
    return index ? index->models[ref.index].usbName : std::wstring();
}

std::wstring DriverCustomName(DriverRef ref) {
    return inheritedText(ref, "customname");
}

std::wstring DriverComment(DriverRef ref) {
    return inheritedText(ref, "comment");
}

bool IsBluetoothDriver(DriverRef ref) {
    return inherited(ref, "bluetoothdriver").as_bool(true);
}

bool IsBluetoothAdapter(DriverRef ref) {
    return inherited(ref, "btadapter").as_bool(false);
}

bool SupportsUdp(DriverRef ref) {
    return inherited(ref, "udp").as_bool(false);
}

bool UsesLanguageMonitor(DriverRef ref) {
    return inherited(ref, "languagemonitor").as_bool(false);
}

} // namespace catalogue
