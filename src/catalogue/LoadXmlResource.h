#pragma once
// Start-up loading of an embedded XML resource ("XML" 131 the catalogue, 132 the manufacturer
// records) into its document.
#include "catalogue/XmlDocument.h"
#include "platform/ports/Resources.h"
#include "platform/ports/SystemInfo.h"

#include <cstdint>

namespace catalogue {

// Parses resource "XML" id into doc, once: a document already parsed (successfully or not) is left
// alone. A missing resource leaves the document empty without a word; a resource that cannot be read
// or is empty, and a parse error, are reported on the debugger output of system.
void LoadXmlResource(ports::Resources& resources, ports::SystemInfo& system, std::uint16_t id,
                     XmlDocument& doc);

} // namespace catalogue
