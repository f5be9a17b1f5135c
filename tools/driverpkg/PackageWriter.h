#pragma once
// Writes the package folder: the INF and one data file per model.
#include "PackageInf.h"

#include <filesystem>
#include <string>
#include <vector>

namespace driverpkg {

// Writes folder/<mode>New.inf and folder/<model>.dat, creating the folder. False, with a line in
// problems, for a file that cannot be written.
[[nodiscard]] bool writePackage(const std::filesystem::path& folder, const PackageIdentity& identity,
                                const std::vector<PackageModel>& models, std::vector<std::string>& problems);

} // namespace driverpkg
