#include "app/PackageFiles.h"

namespace app {

namespace {

std::wstring packageFile(const SetupSession& s, const wchar_t* newer, const wchar_t* older) {
    return s.manufacturer.Name + (s.newPackage == 1 ? newer : older);
}

} // namespace

std::wstring userInterfaceDll(const SetupSession& s) {
    return packageFile(s, L"UiNew.dll", L"UI.dll");
}

std::wstring renderingDll(const SetupSession& s) {
    return packageFile(s, L"UniNew.dll", L"UNI.dll");
}

std::wstring infFile(const SetupSession& s) {
    return packageFile(s, L"New.inf", L".inf");
}

std::wstring catalogueFile(const SetupSession& s) {
    return packageFile(s, L"New.cat", L".cat");
}

} // namespace app
