#pragma once
// The folders the wizard works in: the working folder below Program Files where the driver package
// is unpacked, the print system's driver folder, and emptying a folder.
#include "platform/ports/FileSystem.h"
#include "platform/ports/PrintSpooler.h"
#include "platform/ports/SystemInfo.h"

#include <functional>
#include <string>
#include <string_view>

namespace app {

// How a helper shows a failure the user must see: a message box owned by the main window
// (CApp::errorBox() gives the real one).
using ErrorBox = std::function<void(std::wstring_view text, std::wstring_view caption)>;

// The print system's driver folder of a print environment (GetPrinterDriverDirectoryW for the
// local machine, level 1); the spooler port answers it.
using DriverDirectoryQuery =
    std::function<ports::Status(std::wstring_view environment, std::wstring& folder)>;

// The query answered by `spooler`, which must outlive it.
DriverDirectoryQuery driverDirectoryQuery(ports::PrintSpooler& spooler);

// The Program Files folder as this 32-bit program sees it (CSIDL_PROGRAM_FILES: "Program Files
// (x86)" on a 64-bit system) with a backslash, then "LabelPrinterDriver\". When the folder cannot be
// found: the message box "SHGetSpecialFolderPath failed" (caption "Error") and "".
std::wstring workingFolder(ports::SystemInfo& system, const ErrorBox& errorBox);

// The driver folder for this machine's print environment, ending in a backslash. On failure: the
// message box "GetPrinterDriverDirectory failed" (caption "Error") and "".
std::wstring printerDriverFolder(ports::SystemInfo& system, const DriverDirectoryQuery& query,
                                 const ErrorBox& errorBox);

// Removes every file and subfolder below `folder`, depth first, and leaves `folder` itself. Entries
// that cannot be removed are skipped. An empty name is ERROR_INVALID_PARAMETER.
ports::Status deleteFolderContents(ports::FileSystem& files, std::wstring_view folder);

} // namespace app
