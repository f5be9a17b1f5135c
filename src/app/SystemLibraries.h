#pragma once
// The four system libraries loaded at start-up and the newer entry points looked up in them. A
// library or entry point that is missing only makes its feature unavailable: users ask available()
// and skip what is not there.
#include "platform/ports/AppHost.h"

#include <array>
#include <cstddef>
#include <memory>
#include <string_view>

namespace app {

// In the order of loading.
enum class SystemLibrary { WinSpool, SetupApi, Cfgmgr32, BthProps };
inline constexpr std::size_t kSystemLibraryCount = 4;

enum class EntryPoint {
    // "WinSpool.drv": driver installation, upgrade and removal through the driver store
    UploadPrinterDriverPackageW,
    InstallPrinterDriverFromPackageW,
    DeletePrinterDriverPackageW,
    // "SetupAPI.dll": device icons of the diagnostic trees
    SetupDiLoadDeviceIcon,
    // "Cfgmgr32.dll": the device property browser
    CM_Get_Device_Interface_PropertyW,
    CM_Get_Device_Interface_Property_KeysW,
    CM_Get_DevNode_PropertyW,
    CM_Get_Class_PropertyW,
    // "bthprops.cpl": Bluetooth pairing
    BluetoothRegisterForAuthenticationEx,
    BluetoothAuthenticateDeviceEx,
    BluetoothSendAuthenticationResponseEx,
};
inline constexpr std::size_t kEntryPointCount = 11;

class SystemLibraries {
public:
    SystemLibraries() = default;
    ~SystemLibraries() { free(); }
    SystemLibraries(const SystemLibraries&) = delete;
    SystemLibraries& operator=(const SystemLibraries&) = delete;

    // Loads "WinSpool.drv", "SetupAPI.dll", "Cfgmgr32.dll" and "bthprops.cpl" in that order and
    // looks up the entry points of each.
    void load(ports::AppHost& host);
    // Frees the libraries in the order they were loaded and forgets their entry points.
    void free();

    bool loaded(SystemLibrary library) const;
    bool available(EntryPoint entryPoint) const;
    // The loaded library, or null.
    const ports::Module* module(SystemLibrary library) const;

    static std::wstring_view fileName(SystemLibrary library);
    static const char* entryPointName(EntryPoint entryPoint);
    static SystemLibrary libraryOf(EntryPoint entryPoint);

private:
    std::array<std::unique_ptr<ports::Module>, kSystemLibraryCount> modules_;
    std::array<bool, kEntryPointCount> available_{};
};

} // namespace app
