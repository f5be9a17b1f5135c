#include "app/Folders.h"

#include "app/AppConstants.h"
#include "app/Architecture.h"

#include <vector>

namespace app {

namespace {

void addBackslash(std::wstring& path) {
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
}

} // namespace

std::wstring workingFolder(ports::SystemInfo& system, const ErrorBox& errorBox) {
    std::wstring folder = system.knownFolder(ports::KnownFolder::ProgramFilesX86);
    if (folder.empty()) {
        if (errorBox)
            errorBox(L"SHGetSpecialFolderPath failed", kErrorCaption);
        return {};
    }
    addBackslash(folder);
    return folder + L"LabelPrinterDriver\\";
}

DriverDirectoryQuery driverDirectoryQuery(ports::PrintSpooler& spooler) {
    return [&spooler](std::wstring_view environment, std::wstring& folder) {
        return spooler.printerDriverDirectory(environment, folder);
    };
}

std::wstring printerDriverFolder(ports::SystemInfo& system, const DriverDirectoryQuery& query,
                                 const ErrorBox& errorBox) {
    std::wstring folder;
    if (!query || query(printEnvironment(system), folder) != ports::winerr::Success || folder.empty()) {
        if (errorBox)
            errorBox(L"GetPrinterDriverDirectory failed", kErrorCaption);
        return {};
    }
    addBackslash(folder);
    return folder;
}

ports::Status deleteFolderContents(ports::FileSystem& files, std::wstring_view folder) {
    if (folder.empty())
        return ports::winerr::InvalidParameter;
    std::wstring base(folder);
    if (base.back() != L'\\' && base.back() != L'/')
        base += L'\\';
    std::vector<ports::FileEntry> entries;
    if (ports::Status st = files.listDirectory(base, entries))
        return st;
    for (const auto& e : entries) {
        if (e.name == L"." || e.name == L"..")
            continue;
        const std::wstring path = base + e.name;
        if (e.directory) {
            (void)deleteFolderContents(files, path);
            (void)files.removeDirectory(path);
        } else {
            (void)files.deleteFile(path);
        }
    }
    return ports::winerr::Success;
}

} // namespace app
