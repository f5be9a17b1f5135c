#pragma once
// The Bluetooth stack of this machine. Every function comes from the module "bthprops.cpl" through
// GetProcAddress, never from an import of bluetoothapis.dll: Wine's bluetoothapis.dll ends the
// process on most calls, and a missing function must read as "not available".
#include "platform/ports/Bluetooth.h"
#include "platform/common/HandleTable.h"
#include "platform/win32/MingwGaps.h"
#include "platform/win32/UniqueHandle.h"

#include <windows.h>
#include <bluetoothapis.h>

#include <memory>
#include <type_traits>
#include <variant>

namespace win32 {

class Win32Bluetooth final : public ports::Bluetooth, public ports::HandleCloser {
public:
    Win32Bluetooth();

    ports::Status findFirstRadio(ports::BluetoothRadio& out) noexcept override;
    ports::Status findFirstDevice(const ports::BluetoothSearchParams& params, ports::BluetoothRadio& radio,
                                  ports::BluetoothDeviceSearch& search,
                                  ports::BluetoothDeviceInfo& out) noexcept override;
    ports::Status findNextDevice(ports::BluetoothDeviceSearch& search,
                                 ports::BluetoothDeviceInfo& out) noexcept override;
    ports::Status installedServices(const ports::BluetoothDeviceInfo& device,
                                    std::vector<ports::Guid>& out) noexcept override;
    ports::Status setServiceState(const ports::BluetoothDeviceInfo& device, const ports::Guid& service,
                                  bool enable) noexcept override;
    ports::Status removeDevice(std::uint64_t address) noexcept override;

    bool authenticationAvailable() noexcept override;
    ports::Status registerForAuthentication(const ports::BluetoothDeviceInfo& device,
                                            ports::BluetoothAuthCallback callback,
                                            ports::BluetoothAuthRegistration& out) noexcept override;
    ports::Status authenticateDevice(ports::WindowId owner, ports::BluetoothDeviceInfo& device,
                                     std::uint32_t requirements) noexcept override;
    ports::Status sendAuthenticationResponse(const ports::BluetoothAuthResponse& response) noexcept override;

    void closeHandle(std::uint64_t id) noexcept override { handles_.remove(id); }

private:
    using AuthCallbackFn = BOOL(CALLBACK*)(LPVOID, BLUETOOTH_AUTHENTICATION_CALLBACK_PARAMS*);
    // The stack calls it back with the convention of its own declaration (stdcall on i686).
    static_assert(std::is_same_v<AuthCallbackFn, PFN_AUTHENTICATION_CALLBACK_EX>);
    using FindFirstRadioFn = HBLUETOOTH_RADIO_FIND(WINAPI*)(const BLUETOOTH_FIND_RADIO_PARAMS*, HANDLE*);
    using FindRadioCloseFn = BOOL(WINAPI*)(HBLUETOOTH_RADIO_FIND);
    using FindFirstDeviceFn = HBLUETOOTH_DEVICE_FIND(WINAPI*)(const BLUETOOTH_DEVICE_SEARCH_PARAMS*,
                                                              BLUETOOTH_DEVICE_INFO*);
    using FindNextDeviceFn = BOOL(WINAPI*)(HBLUETOOTH_DEVICE_FIND, BLUETOOTH_DEVICE_INFO*);
    using FindDeviceCloseFn = BOOL(WINAPI*)(HBLUETOOTH_DEVICE_FIND);
    using EnumServicesFn = DWORD(WINAPI*)(HANDLE, const BLUETOOTH_DEVICE_INFO*, DWORD*, GUID*);
    using SetServiceStateFn = DWORD(WINAPI*)(HANDLE, const BLUETOOTH_DEVICE_INFO*, const GUID*, DWORD);
    using RemoveDeviceFn = DWORD(WINAPI*)(const BLUETOOTH_ADDRESS*);
    using RegisterFn = DWORD(WINAPI*)(const BLUETOOTH_DEVICE_INFO*, HBLUETOOTH_AUTHENTICATION_REGISTRATION*,
                                      AuthCallbackFn, PVOID);
    using UnregisterFn = BOOL(WINAPI*)(HBLUETOOTH_AUTHENTICATION_REGISTRATION);
    using AuthenticateFn = DWORD(WINAPI*)(HWND, HANDLE, BLUETOOTH_DEVICE_INFO*, BLUETOOTH_OOB_DATA_INFO*,
                                          BLUETOOTH_AUTHENTICATION_REQUIREMENTS);
    using SendResponseFn = DWORD(WINAPI*)(HANDLE, BLUETOOTH_AUTHENTICATE_RESPONSE*);

    // A running device search, closed by BluetoothFindDeviceClose.
    struct DeviceSearch {
        HBLUETOOTH_DEVICE_FIND find = nullptr;
        FindDeviceCloseFn close = nullptr;
        DeviceSearch(HBLUETOOTH_DEVICE_FIND f, FindDeviceCloseFn c) : find(f), close(c) {}
        DeviceSearch(DeviceSearch&& o) noexcept : find(std::exchange(o.find, nullptr)), close(o.close) {}
        DeviceSearch& operator=(DeviceSearch&&) = delete;
        ~DeviceSearch() {
            if (find && close)
                close(find);
        }
    };
    // A registration and the callback it calls; the callback lives on the heap so that its address,
    // handed to the system, stays put.
    struct Registration {
        HBLUETOOTH_AUTHENTICATION_REGISTRATION handle = nullptr;
        UnregisterFn unregister = nullptr;
        std::unique_ptr<ports::BluetoothAuthCallback> callback;
        Registration(HBLUETOOTH_AUTHENTICATION_REGISTRATION h, UnregisterFn u,
                     std::unique_ptr<ports::BluetoothAuthCallback> c)
            : handle(h), unregister(u), callback(std::move(c)) {}
        Registration(Registration&& o) noexcept
            : handle(std::exchange(o.handle, nullptr)), unregister(o.unregister),
              callback(std::move(o.callback)) {}
        Registration& operator=(Registration&&) = delete;
        ~Registration() {
            if (handle && unregister)
                unregister(handle);
        }
    };
    using Entry = std::variant<UniqueKernelHandle, DeviceSearch, Registration>;

    static BOOL CALLBACK onAuthentication(LPVOID context, BLUETOOTH_AUTHENTICATION_CALLBACK_PARAMS* params);
    // The entry behind `h` when it holds a Held, kept alive for the call.
    template <typename Held, typename Tag>
    std::shared_ptr<Held> entryOf(const ports::Handle<Tag>& h) const noexcept {
        std::shared_ptr<Entry> e = handles_.find(h, this);
        Held* held = e ? std::get_if<Held>(e.get()) : nullptr;
        return held ? std::shared_ptr<Held>(std::move(e), held) : nullptr;
    }

    UniqueModule module_;
    FindFirstRadioFn findFirstRadio_ = nullptr;
    FindRadioCloseFn findRadioClose_ = nullptr;
    FindFirstDeviceFn findFirstDevice_ = nullptr;
    FindNextDeviceFn findNextDevice_ = nullptr;
    FindDeviceCloseFn findDeviceClose_ = nullptr;
    EnumServicesFn enumServices_ = nullptr;
    SetServiceStateFn setServiceState_ = nullptr;
    RemoveDeviceFn removeDevice_ = nullptr;
    RegisterFn register_ = nullptr;
    UnregisterFn unregister_ = nullptr;
    AuthenticateFn authenticate_ = nullptr;
    SendResponseFn sendResponse_ = nullptr;
    platform::HandleTable<Entry> handles_;
};

} // namespace win32
