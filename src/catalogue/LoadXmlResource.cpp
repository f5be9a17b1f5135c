#include "catalogue/LoadXmlResource.h"

#include "base/Utf.h"
#include "catalogue/DocumentData.h"

namespace catalogue {

void LoadXmlResource(ports::Resources& resources, ports::SystemInfo& system, std::uint16_t id,
                     XmlDocument& doc) {
    DocumentData& data = doc.data();
    if (data.loaded)
        return;
    const auto bytes = resources.find(ports::kResourceTypeXml, id);
    if (!bytes)
        return;
    // A resource that is found but gives no bytes to read is one the module could not load.
    if (bytes->data() == nullptr) {
        system.debugOutput(L"load packaga resource error");
        return;
    }
    if (bytes->empty()) {
        system.debugOutput(L"load packaga resource error size == 0");
        return;
    }
    // The parser copies the bytes; default options, encoding detected from the bytes.
    const pugi::xml_parse_result result = data.tree.load_buffer(bytes->data(), bytes->size());
    data.loaded = true;
    if (!result)
        system.debugOutput(text::fromUtf8(result.description()));
}

} // namespace catalogue
