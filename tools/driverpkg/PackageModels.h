#pragma once
// The models of one manufacturer mode of the catalogue, as the driver package carries them: the
// driver name, the hardware ID, whether it needs the language monitor, and its data file.
#include "catalogue/XmlDocument.h"
#include "driver/core/ModelData.h"

#include <string>
#include <string_view>
#include <vector>

namespace driverpkg {

struct PackageModel {
    std::wstring name;       // the driver name, and "<name>.dat"
    std::wstring hardwareId; // "" when the catalogue gives none
    bool languageMonitor = false;
    driver::ModelData data;
};

struct PackageModels {
    std::vector<PackageModel> models; // catalogue order
    // One line per model that cannot be packaged (its name, then why); the package is then wrong.
    std::vector<std::string> problems;
};

[[nodiscard]] PackageModels collectModels(const catalogue::XmlDocument& catalogueDoc, std::wstring_view mode);

// True when name can be a file name on Windows: not empty, no control characters, none of \ / : * ?
// " < > |, not ending in a blank or a point.
[[nodiscard]] bool isFileName(std::wstring_view name) noexcept;
// Text that can stand in one INF line (quoted where needed): no line break or other control character.
[[nodiscard]] bool isInfLineText(std::wstring_view text) noexcept;

} // namespace driverpkg
