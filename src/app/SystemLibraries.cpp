#include "app/SystemLibraries.h"

namespace app {

namespace {

constexpr std::wstring_view kFileNames[kSystemLibraryCount] = {L"WinSpool.drv", L"SetupAPI.dll",
                                                               L"Cfgmgr32.dll", L"bthprops.cpl"};

struct EntryPointInfo {
    SystemLibrary library;
    const char* name;
};

// In the order of the EntryPoint enumeration.
constexpr EntryPointInfo kEntryPoints[kEntryPointCount] = {
    {SystemLibrary::WinSpool, "UploadPrinterDriverPackageW"},
    {SystemLibrary::WinSpool, "InstallPrinterDriverFromPackageW"},
    {SystemLibrary::WinSpool, "DeletePrinterDriverPackageW"},
    {SystemLibrary::SetupApi, "SetupDiLoadDeviceIcon"},
    {SystemLibrary::Cfgmgr32, "CM_Get_Device_Interface_PropertyW"},
    {SystemLibrary::Cfgmgr32, "CM_Get_Device_Interface_Property_KeysW"},
    {SystemLibrary::Cfgmgr32, "CM_Get_DevNode_PropertyW"},
    {SystemLibrary::Cfgmgr32, "CM_Get_Class_PropertyW"},
    {SystemLibrary::BthProps, "BluetoothRegisterForAuthenticationEx"},
    {SystemLibrary::BthProps, "BluetoothAuthenticateDeviceEx"},
    {SystemLibrary::BthProps, "BluetoothSendAuthenticationResponseEx"},
};

constexpr std::size_t index(SystemLibrary l) {
    return static_cast<std::size_t>(l);
}
constexpr std::size_t index(EntryPoint e) {
    return static_cast<std::size_t>(e);
}

} // namespace

void SystemLibraries::load(ports::AppHost& host) {
    free();
    for (std::size_t i = 0; i < kSystemLibraryCount; ++i) {
        ports::Status status = ports::winerr::Success;
        modules_[i] = host.loadLibrary(kFileNames[i], status); // a failure leaves it null: not available
    }
    for (std::size_t i = 0; i < kEntryPointCount; ++i) {
        const auto& module = modules_[index(kEntryPoints[i].library)];
        available_[i] = module && module->hasEntryPoint(kEntryPoints[i].name);
    }
}

void SystemLibraries::free() {
    available_.fill(false);
    for (auto& m : modules_)
        m.reset();
}

bool SystemLibraries::loaded(SystemLibrary library) const {
    return modules_[index(library)] != nullptr;
}

bool SystemLibraries::available(EntryPoint entryPoint) const {
    return available_[index(entryPoint)];
}

const ports::Module* SystemLibraries::module(SystemLibrary library) const {
    return modules_[index(library)].get();
}

std::wstring_view SystemLibraries::fileName(SystemLibrary library) {
    return kFileNames[index(library)];
}

const char* SystemLibraries::entryPointName(EntryPoint entryPoint) {
    return kEntryPoints[index(entryPoint)].name;
}

SystemLibrary SystemLibraries::libraryOf(EntryPoint entryPoint) {
    return kEntryPoints[index(entryPoint)].library;
}

} // namespace app
