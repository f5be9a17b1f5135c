#pragma once
// The seam between start-up and the catalogue layer: loading the two embedded XML documents and
// reading the catalogue's header into the current manufacturer. The catalogue layer implements it
// (LoadXmlResource for "XML" 131 and 132, ReadCatalogueHeader) and owns the two documents for the
// whole run; NoCatalogue stands in until then and leaves the pages with empty lists.
#include "app/CatalogueTypes.h"
#include "platform/ports/Platform.h"

namespace app {

class CatalogueLoader {
public:
    virtual ~CatalogueLoader() = default;
    // The catalogue (131), then the manufacturer records (132). Failures reach the debugger output
    // only and never stop start-up.
    virtual void loadDocuments(ports::Platform& platform) = 0;
    // The catalogue root's attributes into the manufacturer's Name, product, company, contact and
    // version fields.
    virtual void readCatalogueHeader(ManufacturerRecord& manufacturer) = 0;
};

class NoCatalogue final : public CatalogueLoader {
public:
    void loadDocuments(ports::Platform&) override {}
    void readCatalogueHeader(ManufacturerRecord&) override {}
};

} // namespace app
