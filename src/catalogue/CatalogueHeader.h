#pragma once
// The attributes of the catalogue's root element Drivers: the start-up manufacturer and the
// catalogue's version and build time.
#include "catalogue/ManufacturerRecord.h"
#include "catalogue/XmlDocument.h"

#include <string>

namespace catalogue {

// Name, ProductName, ProductEnName, CompanyName, CompanyEnName, WebSite, Email, Tel and V0..V3 from
// the root attributes model, product, product_en, company, company_en, website, email, tel and
// version0..version3 ("" or 0 when missing). The other fields are not touched.
void ReadCatalogueHeader(const XmlDocument& catalogueDoc, ManufacturerRecord& record);

// "version0.version1.version2.version3", "0.0.0.0" for an empty catalogue.
std::wstring CatalogueVersion(const XmlDocument& catalogueDoc);

// The root attribute time, "" when absent.
std::wstring CatalogueTime(const XmlDocument& catalogueDoc);

} // namespace catalogue
