#pragma once
// The paper names of the catalogue, which tell the catalogue's own forms from the user's when a
// printer is removed.
#include "catalogue/XmlDocument.h"

#include <functional>
#include <string>

namespace catalogue {

// Calls visitor with the name of every Paper of every Papers group under Form, in document order
// ("" for a Paper without name). A name found in several groups is visited each time.
void ForEachCataloguePaper(const XmlDocument& catalogueDoc,
                           const std::function<void(const std::wstring&)>& visitor);

} // namespace catalogue
