#include "PackageWriter.h"

#include "app/PackageFiles.h"
#include "base/Utf.h"

#include <fstream>

namespace driverpkg {

namespace {

bool writeFile(const std::filesystem::path& path, const void* data, std::size_t size,
               std::vector<std::string>& problems) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) {
        problems.push_back(path.string() + ": cannot be written");
        return false;
    }
    return true;
}

} // namespace

bool writePackage(const std::filesystem::path& folder, const PackageIdentity& identity,
                  const std::vector<PackageModel>& models, std::vector<std::string>& problems) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    SetupSession session;
    session.manufacturer.Name = identity.mode;
    session.newPackage = 1;
    const auto inf = utf16leWithBom(packageInfText(identity, models));
    bool ok = writeFile(folder / text::toUtf8(app::infFile(session)), inf.data(), inf.size(), problems);
    for (const PackageModel& model : models) {
        const std::string data = driver::writeModelData(model.data);
        ok =
            writeFile(folder / (text::toUtf8(model.name) + ".dat"), data.data(), data.size(), problems) && ok;
    }
    return ok;
}

} // namespace driverpkg
