#include "catalogue/ManufacturerRecords.h"

#include "base/Compare.h"
#include "base/Utf.h"
#include "catalogue/DocumentData.h"

namespace catalogue {
namespace {

pugi::xml_node recordList(const XmlDocument& doc) {
    return doc.data().tree.child("Manufacturers");
}

// An element's text is its first text or CDATA child.
std::wstring field(pugi::xml_node record, const char* name) {
    return text::fromUtf8(record.child(name).text().get());
}

} // namespace

void ForEachManufacturerRecord(const XmlDocument& manufacturerDoc,
                               const std::function<void(RecordElement)>& visitor) {
    const pugi::xml_node list = recordList(manufacturerDoc);
    for (pugi::xml_node m = list.child("Manufacturer"); m; m = m.next_sibling("Manufacturer"))
        visitor(RecordElement{m.internal_object()});
}

RecordElement FindManufacturerRecord(const XmlDocument& manufacturerDoc, std::wstring_view name) {
    const pugi::xml_node list = recordList(manufacturerDoc);
    for (pugi::xml_node m = list.child("Manufacturer"); m; m = m.next_sibling("Manufacturer")) {
        if (text::equalsNoCase(field(m, "Name"), name))
            return RecordElement{m.internal_object()};
    }
    return {};
}

ManufacturerRecord ReadManufacturerRecord(RecordElement record) {
    const pugi::xml_node m(record.node);
    ManufacturerRecord r;
    r.Name = field(m, "Name");
    r.ProductName = field(m, "ProductName");
    r.ProductEnName = field(m, "ProductEnName");
    r.CompanyName = field(m, "CompanyName");
    r.CompanyEnName = field(m, "CompanyEnName");
    r.WebSite = field(m, "WebSite");
    r.Email = field(m, "Email");
    r.Tel = field(m, "Tel");
    r.LogoFile = field(m, "LogoFile");
    r.Manufacturer = field(m, "Manufacturer");
    r.SetupPackageName = field(m, "SetupPackageName");
    r.V0 = m.child("V0").text().as_int();
    r.V1 = m.child("V1").text().as_int();
    r.V2 = m.child("V2").text().as_int();
    r.V3 = m.child("V3").text().as_int();
    r.Time = field(m, "Time");
    r.Disable = m.child("Disable").text().as_bool();
    r.Remark = field(m, "Remark");
    return r;
}

} // namespace catalogue
