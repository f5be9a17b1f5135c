#include "engine/printers/ModelDriverInstalled.h"

#include "app/Architecture.h"
#include "catalogue/DriverCatalogue.h"

#include <set>
#include <string>
#include <vector>

namespace engine {

bool ModelDriverInstalled(const app::AppContext& ctx, const catalogue::XmlDocument& catalogue,
                          std::wstring_view mode) {
    std::vector<ports::DriverInfo> drivers;
    const std::wstring environment = app::printEnvironment(ctx.platform.system());
    if (ctx.platform.spooler().enumDrivers(environment, 3, drivers) != ports::winerr::Success)
        return false;
    std::set<std::wstring, std::less<>> installed;
    for (const auto& d : drivers)
        installed.insert(d.name);
    DriverRef model;
    for (bool more = catalogue::FirstDriver(mode, catalogue, model); more;
         more = catalogue::NextDriver(mode, model))
        if (installed.contains(catalogue::DriverName(model)))
            return true;
    return false;
}

} // namespace engine
