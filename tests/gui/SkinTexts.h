#pragma once
// What the program ships, read from the source tree: the translations of the skin's .lng tables
// and the catalogue's version, to compare with what the window shows.
#include <map>
#include <string>

namespace gui {

// The texts by id of Lang/<language>/<file>.lng (UTF-8; ids with only a tooltip are left out).
std::map<int, std::string> lngTexts(const std::string& language, const std::string& file);

// The shipped catalogue's version as "v0.v1.v2.v3".
std::string shippedCatalogueVersion();

} // namespace gui
