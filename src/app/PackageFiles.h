#pragma once
// The names of the driver package's files: the manufacturer's Name followed by an ending that
// depends on whether the package carries the newer file set (newPackage). For "CorvaneEx" with the
// newer set: "CorvaneExUiNew.dll", "CorvaneExUniNew.dll", "CorvaneExNew.inf", "CorvaneExNew.cat".
#include "app/SetupSession.h"

#include <string>

namespace app {

std::wstring userInterfaceDll(const SetupSession& session); // "UiNew.dll" or "UI.dll"
std::wstring renderingDll(const SetupSession& session);     // "UniNew.dll" or "UNI.dll"
std::wstring infFile(const SetupSession& session);          // "New.inf" or ".inf"
std::wstring catalogueFile(const SetupSession& session);    // "New.cat" or ".cat"

} // namespace app
