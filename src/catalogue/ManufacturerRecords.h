#pragma once
// The manufacturer records (resource "XML" 132): one Manufacturer element per manufacturer the
// wizard offers, its fields held as child elements.
#include "catalogue/ManufacturerRecord.h"
#include "catalogue/XmlDocument.h"

#include <functional>
#include <string_view>

namespace pugi {
struct xml_node_struct;
}

namespace catalogue {

// One Manufacturer element of the manufacturer document; empty when it names none.
struct RecordElement {
    pugi::xml_node_struct* node = nullptr;

    explicit operator bool() const noexcept { return node != nullptr; }
};

// Every Manufacturer child of the root Manufacturers, in document order.
void ForEachManufacturerRecord(const XmlDocument& manufacturerDoc,
                               const std::function<void(RecordElement)>& visitor);

// The first record whose Name equals name without regard to letter case; empty when none matches.
RecordElement FindManufacturerRecord(const XmlDocument& manufacturerDoc, std::wstring_view name);

// Every field from the child element of the same name: texts as written, V0..V3 as integers, Disable
// as a boolean; a missing element (or an empty record) gives "", 0 or false.
ManufacturerRecord ReadManufacturerRecord(RecordElement record);

} // namespace catalogue
