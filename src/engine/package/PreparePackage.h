#pragma once
// Unpacking the driver package from the skin archive ("Drivers\" inside it) below the working
// folder before an installation or upgrade: the device-console tools, the INF and catalogue of one
// manufacturer's package and the files the INF lists for this machine's architecture. Every file
// that cannot be read or written gives one red message and the preparation goes on.
#include "app/skin/SkinFiles.h"
#include "engine/install/InstallContext.h"

#include <string>
#include <string_view>

// Empties the working folder's "Drivers\" and unpacks the package of `mode` into
// "Drivers\<mode>\", which becomes `packageFolder`. Sets the session's newPackage from the INF
// names the archive holds.
void PreparePackage(const engine::InstallContext& ctx, const SkinFiles& skin, std::wstring_view mode,
                    std::wstring& packageFolder);
// Copies the archive entry "Drivers\" + subPath + fileName to destinationFolder + fileName,
// creating the folder. False, reported, when the entry is missing, the names would leave the
// folder, or the file cannot be written.
bool ExtractArchiveFile(const app::AppContext& ctx, const SkinFiles& skin, std::wstring_view subPath,
                        std::wstring_view fileName, std::wstring_view destinationFolder);
// Copies every file of the INF's source-file section for this machine's architecture, each into the
// package folder or the subfolder its line names. Silent when the INF cannot be read or lacks the
// sections.
void ExtractInfSourceFiles(const engine::InstallContext& ctx, const SkinFiles& skin,
                           std::wstring_view packageFolder, std::wstring_view mode,
                           std::wstring_view infFileName);
