#pragma once
// Whether a driver of one of a manufacturer's models is installed: the main page then starts with
// the removal chosen.
#include "app/AppContext.h"
#include "catalogue/XmlDocument.h"

#include <string_view>

namespace engine {

// True when an installed driver of the current environment (level 3) is named exactly like a model of
// `mode` in the catalogue; false when none is, or the drivers cannot be listed.
bool ModelDriverInstalled(const app::AppContext& ctx, const catalogue::XmlDocument& catalogue,
                          std::wstring_view mode);

} // namespace engine
