#include "catalogue/CatalogueHeader.h"

#include "base/Format.h"
#include "base/Utf.h"
#include "catalogue/DocumentData.h"

namespace catalogue {
namespace {

pugi::xml_node root(const XmlDocument& doc) {
    return doc.data().tree.child("Drivers");
}

std::wstring textOf(pugi::xml_node node, const char* attribute) {
    return text::fromUtf8(node.attribute(attribute).value());
}

} // namespace

void ReadCatalogueHeader(const XmlDocument& catalogueDoc, ManufacturerRecord& record) {
    const pugi::xml_node r = root(catalogueDoc);
    record.Name = textOf(r, "model");
    record.ProductName = textOf(r, "product");
    record.ProductEnName = textOf(r, "product_en");
    record.CompanyName = textOf(r, "company");
    record.CompanyEnName = textOf(r, "company_en");
    record.WebSite = textOf(r, "website");
    record.Email = textOf(r, "email");
    record.Tel = textOf(r, "tel");
    record.V0 = r.attribute("version0").as_int();
    record.V1 = r.attribute("version1").as_int();
    record.V2 = r.attribute("version2").as_int();
    record.V3 = r.attribute("version3").as_int();
}

std::wstring CatalogueVersion(const XmlDocument& catalogueDoc) {
    const pugi::xml_node r = root(catalogueDoc);
    return text::format(L"%d.%d.%d.%d", r.attribute("version0").as_int(), r.attribute("version1").as_int(),
                        r.attribute("version2").as_int(), r.attribute("version3").as_int());
}

std::wstring CatalogueTime(const XmlDocument& catalogueDoc) {
    return textOf(root(catalogueDoc), "time");
}

} // namespace catalogue
