#include "catalogue/CataloguePapers.h"

#include "base/Utf.h"
#include "catalogue/DocumentData.h"

namespace catalogue {

void ForEachCataloguePaper(const XmlDocument& catalogueDoc,
                           const std::function<void(const std::wstring&)>& visitor) {
    const pugi::xml_node form = catalogueDoc.data().tree.child("Drivers").child("Form");
    for (pugi::xml_node group = form.child("Papers"); group; group = group.next_sibling("Papers")) {
        for (pugi::xml_node paper = group.child("Paper"); paper; paper = paper.next_sibling("Paper"))
            visitor(text::fromUtf8(paper.attribute("name").value()));
    }
}

} // namespace catalogue
