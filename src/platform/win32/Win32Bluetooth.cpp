#include "platform/win32/Win32Bluetooth.h"

#include "platform/win32/Win32Ports.h"

#include "platform/win32/EntryPoints.h"
#include "platform/win32/GuidConvert.h"
#include "platform/win32/SizedBuffer.h"
#include "platform/win32/RecordLayouts.h"

#include <algorithm>
#include <string>

namespace win32 {
namespace {
using ports::Status;
namespace winerr = ports::winerr;

ports::SystemTime systemTimeOf(const SYSTEMTIME& t) {
    return {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}
SYSTEMTIME systemTime(const ports::SystemTime& t) {
    return {t.year, t.month, t.dayOfWeek, t.day, t.hour, t.minute, t.second, t.milliseconds};
}

ports::BluetoothDeviceInfo deviceOf(const BLUETOOTH_DEVICE_INFO& d) {
    ports::BluetoothDeviceInfo out;
    out.address = d.Address.ullLong & 0xFFFFFFFFFFFFull;
    out.classOfDevice = d.ulClassofDevice;
    out.connected = d.fConnected != FALSE;
    out.remembered = d.fRemembered != FALSE;
    out.authenticated = d.fAuthenticated != FALSE;
    out.lastSeen = systemTimeOf(d.stLastSeen);
    out.lastUsed = systemTimeOf(d.stLastUsed);
    std::size_t n = 0;
    while (n < BLUETOOTH_MAX_NAME_SIZE && d.szName[n])
        ++n;
    out.name.assign(d.szName, n);
    return out;
}

// The system's record of a device; a name longer than its field is refused, not cut.
Status deviceRecord(const ports::BluetoothDeviceInfo& in, BLUETOOTH_DEVICE_INFO& out) {
    out = BLUETOOTH_DEVICE_INFO{};
    out.dwSize = sizeof out;
    if (in.name.size() >= BLUETOOTH_MAX_NAME_SIZE)
        return ERROR_INVALID_PARAMETER;
    out.Address.ullLong = in.address & 0xFFFFFFFFFFFFull;
    out.ulClassofDevice = in.classOfDevice;
    out.fConnected = in.connected;
    out.fRemembered = in.remembered;
    out.fAuthenticated = in.authenticated;
    out.stLastSeen = systemTime(in.lastSeen);
    out.stLastUsed = systemTime(in.lastUsed);
    std::copy(in.name.begin(), in.name.end(), out.szName);
    return winerr::Success;
}

} // namespace

Win32Bluetooth::Win32Bluetooth() : module_(LoadLibraryW(L"bthprops.cpl")) {
    HMODULE m = module_.get();
    findFirstRadio_ = entryPoint<FindFirstRadioFn>(m, "BluetoothFindFirstRadio");
    findRadioClose_ = entryPoint<FindRadioCloseFn>(m, "BluetoothFindRadioClose");
    findFirstDevice_ = entryPoint<FindFirstDeviceFn>(m, "BluetoothFindFirstDevice");
    findNextDevice_ = entryPoint<FindNextDeviceFn>(m, "BluetoothFindNextDevice");
    findDeviceClose_ = entryPoint<FindDeviceCloseFn>(m, "BluetoothFindDeviceClose");
    enumServices_ = entryPoint<EnumServicesFn>(m, "BluetoothEnumerateInstalledServices");
    setServiceState_ = entryPoint<SetServiceStateFn>(m, "BluetoothSetServiceState");
    removeDevice_ = entryPoint<RemoveDeviceFn>(m, "BluetoothRemoveDevice");
    register_ = entryPoint<RegisterFn>(m, "BluetoothRegisterForAuthenticationEx");
    unregister_ = entryPoint<UnregisterFn>(m, "BluetoothUnregisterAuthentication");
    authenticate_ = entryPoint<AuthenticateFn>(m, "BluetoothAuthenticateDeviceEx");
    sendResponse_ = entryPoint<SendResponseFn>(m, "BluetoothSendAuthenticationResponseEx");
}

Status Win32Bluetooth::findFirstRadio(ports::BluetoothRadio& out) noexcept {
    out.reset();
    if (!findFirstRadio_ || !findRadioClose_)
        return ERROR_PROC_NOT_FOUND;
    BLUETOOTH_FIND_RADIO_PARAMS params{sizeof params};
    HANDLE radio = nullptr;
    HBLUETOOTH_RADIO_FIND find = findFirstRadio_(&params, &radio);
    if (!find)
        return lastError();
    findRadioClose_(find); // only the first radio is used
    out = ports::BluetoothRadio(*this, handles_.add(Entry(std::in_place_type<UniqueKernelHandle>, radio)));
    return winerr::Success;
}

Status Win32Bluetooth::findFirstDevice(const ports::BluetoothSearchParams& params,
                                       ports::BluetoothRadio& radio, ports::BluetoothDeviceSearch& search,
                                       ports::BluetoothDeviceInfo& out) noexcept {
    search.reset();
    if (!findFirstDevice_ || !findDeviceClose_)
        return ERROR_PROC_NOT_FOUND;
    HANDLE hRadio = nullptr;
    if (radio) {
        const auto r = entryOf<UniqueKernelHandle>(radio);
        if (!r)
            return ERROR_INVALID_HANDLE;
        hRadio = r->get();
    }
    BLUETOOTH_DEVICE_SEARCH_PARAMS sp{};
    sp.dwSize = sizeof sp;
    sp.fReturnAuthenticated = params.returnAuthenticated;
    sp.fReturnRemembered = params.returnRemembered;
    sp.fReturnUnknown = params.returnUnknown;
    sp.fReturnConnected = params.returnConnected;
    sp.fIssueInquiry = params.issueInquiry;
    sp.cTimeoutMultiplier = params.timeoutMultiplier;
    sp.hRadio = hRadio;
    BLUETOOTH_DEVICE_INFO info{};
    info.dwSize = sizeof info;
    HBLUETOOTH_DEVICE_FIND find = findFirstDevice_(&sp, &info);
    if (!find)
        return lastError();
    search = ports::BluetoothDeviceSearch(
        *this, handles_.add(Entry(std::in_place_type<DeviceSearch>, find, findDeviceClose_)));
    out = deviceOf(info);
    return winerr::Success;
}

Status Win32Bluetooth::findNextDevice(ports::BluetoothDeviceSearch& search,
                                      ports::BluetoothDeviceInfo& out) noexcept {
    const auto s = entryOf<DeviceSearch>(search);
    if (!s)
        return ERROR_INVALID_HANDLE;
    if (!findNextDevice_)
        return ERROR_PROC_NOT_FOUND;
    BLUETOOTH_DEVICE_INFO info{};
    info.dwSize = sizeof info;
    if (!findNextDevice_(s->find, &info))
        return lastError();
    out = deviceOf(info);
    return winerr::Success;
}

Status Win32Bluetooth::installedServices(const ports::BluetoothDeviceInfo& device,
                                         std::vector<ports::Guid>& out) noexcept {
    out.clear();
    if (!enumServices_)
        return ERROR_PROC_NOT_FOUND;
    BLUETOOTH_DEVICE_INFO info;
    if (Status s = deviceRecord(device, info))
        return s;
    // A count query first; the list may grow before it is read.
    DWORD count = 0;
    DWORD rc = enumServices_(nullptr, &info, &count, nullptr);
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA)
        return rc;
    std::vector<GUID> services;
    for (int attempt = 0; count > 0; ++attempt) {
        if (attempt == 4)
            return ERROR_MORE_DATA;
        services.assign(count, GUID{});
        DWORD got = count;
        rc = enumServices_(nullptr, &info, &got, services.data());
        if (rc == ERROR_SUCCESS) {
            services.resize(std::min(got, count));
            break;
        }
        if (rc != ERROR_MORE_DATA)
            return rc;
        count = std::max(got, count + 1);
    }
    for (const GUID& g : services)
        out.push_back(fromGuid(g));
    return winerr::Success;
}

Status Win32Bluetooth::setServiceState(const ports::BluetoothDeviceInfo& device, const ports::Guid& service,
                                       bool enable) noexcept {
    if (!setServiceState_)
        return ERROR_PROC_NOT_FOUND;
    BLUETOOTH_DEVICE_INFO info;
    if (Status s = deviceRecord(device, info))
        return s;
    const GUID guid = toGuid(service);
    return setServiceState_(nullptr, &info, &guid,
                            enable ? BLUETOOTH_SERVICE_ENABLE : BLUETOOTH_SERVICE_DISABLE);
}

Status Win32Bluetooth::removeDevice(std::uint64_t address) noexcept {
    if (!removeDevice_)
        return ERROR_PROC_NOT_FOUND;
    BLUETOOTH_ADDRESS a{};
    a.ullLong = address & 0xFFFFFFFFFFFFull;
    return removeDevice_(&a);
}

bool Win32Bluetooth::authenticationAvailable() noexcept {
    return register_ && unregister_ && authenticate_ && sendResponse_;
}

BOOL CALLBACK Win32Bluetooth::onAuthentication(LPVOID context,
                                               BLUETOOTH_AUTHENTICATION_CALLBACK_PARAMS* params) {
    auto* callback = static_cast<ports::BluetoothAuthCallback*>(context);
    if (!callback || !*callback || !params)
        return FALSE;
    ports::BluetoothAuthRequest request;
    request.device = deviceOf(params->deviceInfo);
    request.method = static_cast<std::uint32_t>(params->authenticationMethod);
    request.ioCapability = static_cast<std::uint32_t>(params->ioCapability);
    request.authenticationRequirements = static_cast<std::uint32_t>(params->authenticationRequirements);
    request.numericValue = params->Numeric_Value;
    const bool result = (*callback)(request);
    params->deviceInfo.fAuthenticated = request.device.authenticated;
    return result ? TRUE : FALSE;
}

Status Win32Bluetooth::registerForAuthentication(const ports::BluetoothDeviceInfo& device,
                                                 ports::BluetoothAuthCallback callback,
                                                 ports::BluetoothAuthRegistration& out) noexcept {
    out.reset();
    if (!authenticationAvailable())
        return ERROR_PROC_NOT_FOUND;
    BLUETOOTH_DEVICE_INFO info;
    if (Status s = deviceRecord(device, info))
        return s;
    auto held = std::make_unique<ports::BluetoothAuthCallback>(std::move(callback));
    HBLUETOOTH_AUTHENTICATION_REGISTRATION handle = nullptr;
    if (DWORD rc = register_(&info, &handle, &Win32Bluetooth::onAuthentication, held.get()))
        return rc;
    out = ports::BluetoothAuthRegistration(
        *this, handles_.add(Entry(std::in_place_type<Registration>, handle, unregister_, std::move(held))));
    return winerr::Success;
}

Status Win32Bluetooth::authenticateDevice(ports::WindowId owner, ports::BluetoothDeviceInfo& device,
                                          std::uint32_t requirements) noexcept {
    if (!authenticationAvailable())
        return ERROR_PROC_NOT_FOUND;
    BLUETOOTH_DEVICE_INFO info;
    if (Status s = deviceRecord(device, info))
        return s;
    const DWORD rc = authenticate_(reinterpret_cast<HWND>(owner), nullptr, &info, nullptr,
                                   static_cast<BLUETOOTH_AUTHENTICATION_REQUIREMENTS>(requirements));
    device = deviceOf(info);
    return rc;
}

Status Win32Bluetooth::sendAuthenticationResponse(const ports::BluetoothAuthResponse& response) noexcept {
    if (!authenticationAvailable())
        return ERROR_PROC_NOT_FOUND;
    BLUETOOTH_AUTHENTICATE_RESPONSE r{};
    r.bthAddressRemote.ullLong = response.address & 0xFFFFFFFFFFFFull;
    r.authMethod = static_cast<BLUETOOTH_AUTHENTICATION_METHOD>(response.method);
    switch (response.method) {
    case ports::btauth::Legacy:
        if (response.pin.size() > BTH_MAX_PIN_SIZE)
            return ERROR_INVALID_PARAMETER;
        std::copy(response.pin.begin(), response.pin.end(), r.pinInfo.pin);
        r.pinInfo.pinLength = response.pinLength;
        break;
    case ports::btauth::NumericComparison:
        r.numericCompInfo.NumericValue = response.numericValue;
        break;
    case ports::btauth::Passkey:
        r.passkeyInfo.passkey = response.numericValue;
        break;
    default:
        break;
    }
    r.negativeResponse = response.negative ? 1 : 0;
    return sendResponse_(nullptr, &r);
}

std::unique_ptr<ports::Bluetooth> makeWin32Bluetooth() {
    return std::make_unique<Win32Bluetooth>();
}

} // namespace win32
