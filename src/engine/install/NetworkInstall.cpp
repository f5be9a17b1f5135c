#include "engine/install/NetworkInstall.h"

#include "catalogue/DriverCatalogue.h"
#include "engine/install/DirectCopyModels.h"
#include "engine/install/DriverInstall.h"
#include "engine/install/PrinterQueue.h"
#include "engine/install/TcpIpPorts.h"

namespace engine {

bool InstallNetworkPrinter(const InstallContext& ctx) {
    if (!AddTcpIpPort(ctx))
        return false;
    const auto& chosen = ctx.session.chosen;
    if (!InstallDriverFromPackage(ctx, catalogue::DriverManufacturerMode(chosen.driverNode),
                                  chosen.modelName)) {
        (void)DeleteTcpIpPort(ctx.app, chosen.portName);
        return false;
    }
    return AddPrinterQueue(ctx);
}

bool InstallOnExistingPort(const InstallContext& ctx) {
    const auto& chosen = ctx.session.chosen;
    const auto& mode = catalogue::DriverManufacturerMode(chosen.driverNode);
    const bool driver = IsTovanaHardwareId(catalogue::DriverUsbName(chosen.driverNode))
                            ? InstallDriverByCopy(ctx, chosen.modelName, mode)
                            : InstallDriverFromPackage(ctx, mode, chosen.modelName);
    return driver && AddPrinterQueue(ctx);
}

} // namespace engine
