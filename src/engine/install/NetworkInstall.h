#pragma once
// The installations that create their own queue: a network printer on a new Standard TCP/IP port,
// and a printer on a port that exists already (parallel, serial or one the user picked).
#include "engine/install/InstallContext.h"

namespace engine {

// Port, driver and queue for the chosen network printer. A driver that fails to install takes its
// new port away again; a queue that fails leaves port and driver. True when the queue was created.
bool InstallNetworkPrinter(const InstallContext& ctx);
// Driver (by copy for the Tovana family, else from the package) and queue on chosen.portName; no
// port is created or looked up. True when the queue was created.
bool InstallOnExistingPort(const InstallContext& ctx);

} // namespace engine
