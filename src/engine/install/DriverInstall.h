#pragma once
// The three ways a printer driver gets into the print system once the package is unpacked below the
// working folder:
//   - from the driver store (the INF is uploaded, then the named driver installed from it), on
//     Windows 8 and later when the spooler offers those calls;
//   - by copying the driver files into the print system's driver folder and adding the driver with a
//     DRIVER_INFO_3 record (the fall-back of the first, and the route for older systems);
//   - by the device-console tool, which updates the driver of a connected USB printer; Windows then
//     creates the printer's queue itself.
// Each reports its outcome to the message log; none stops the operation thread.
#include "engine/install/InstallContext.h"
#include "platform/ports/Status.h"

#include <string_view>

namespace engine {

// Logs "写入文件: %s. 失败. 错误码: %d. 错误描述: %s." in red with the path, the error (the port's
// result of the failed write or copy) and its system text, and returns false.
bool ReportWriteFailure(const InstallContext& ctx, std::wstring_view path, ports::Status error);

// The driver store route when the system is 6.2 or later and the spooler has the driver-store calls,
// otherwise InstallDriverByCopy. A failing store call is reported (its HRESULT by name) and ends the
// route with false: it never falls back to copying.
bool InstallDriverFromPackage(const InstallContext& ctx, std::wstring_view mode,
                              std::wstring_view driverName);

// Copies the package's files for its generation (session.newPackage) into the driver folder, in a
// fixed order; a failed copy is reported and the next one follows. Registers the model's language
// monitor when the catalogue asks for one, then adds the driver at level 3. True when the spooler
// took the driver.
bool InstallDriverByCopy(const InstallContext& ctx, std::wstring_view driverName, std::wstring_view mode);

// Runs the device-console tool's update with the package INF and the chosen model's hardware ID and
// reports its exit code. True when the operation succeeded: exit code 0, and 1 (done, but a restart
// is needed, reported in red).
bool InstallWithDeviceTool(const InstallContext& ctx);

} // namespace engine
