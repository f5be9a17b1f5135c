#include "platform/sim/SimBluetooth.h"

#include "base/Compare.h"
#include "platform/sim/SimDevNodes.h"
#include "platform/sim/SimJson.h"
#include "platform/sim/SimPrintSystem.h"

#include <thread>

namespace sim {
namespace winerr = ports::winerr;
using ports::Status;

namespace {

constexpr std::wstring_view kSerialPort = L"{00001101-0000-1000-8000-00805F9B34FB}";
constexpr std::uint32_t kPageTimeoutMs = 5000; // how long a pairing waits for a device out of range

const Json& bluetoothOf(const Json& s) {
    return memberOf(s, "bluetooth");
}

const Json* findDevice(const Json& s, std::uint64_t address) {
    const Json& devices = memberOf(bluetoothOf(s), "devices");
    return findNamed(devices, "address", SimBluetooth::addressText(address));
}

Json* findDevice(Json& s, std::uint64_t address) {
    return findNamed(arrayAt(objectAt(s, "bluetooth"), "devices"), "address",
                     SimBluetooth::addressText(address));
}

std::vector<std::wstring> offeredServices(const Json& device) {
    auto offers = textsOf(device, "offers");
    if (!device.contains("offers"))
        offers.push_back(std::wstring(kSerialPort));
    return offers;
}

bool hasText(const std::vector<std::wstring>& list, std::wstring_view text) {
    for (const auto& t : list) {
        if (text::equalsNoCase(t, text))
            return true;
    }
    return false;
}

std::wstring comNodeId(std::wstring_view address) {
    return L"BTHENUM\\{00001101-0000-1000-8000-00805f9b34fb}_LOCALMFG&0002\\7&2F3A6B1C&0&" +
           std::wstring(address) + L"_C00000000";
}

// The first COMn from COM3 on that neither the device map nor the spooler knows.
std::wstring freeComPort(const Json& s) {
    const auto taken = textsOf(memberOf(s, "devices"), "serialComm");
    for (int n = 3;; ++n) {
        const std::wstring name = L"COM" + std::to_wstring(n);
        if (!hasText(taken, name) && !findPort(s, name + L":"))
            return name;
    }
}

void addComPort(Json& s, Json& device) {
    const std::wstring address = textOf(device, "address");
    std::wstring port = textOf(device, "comPort");
    if (port.empty()) {
        port = freeComPort(s);
        device["comPort"] = u8(port);
    }
    const std::wstring id = comNodeId(address);
    if (!findNode(s, id)) {
        nodesOf(s).push_back(
            Json{{"instanceId", u8(id)},
                 {"present", true},
                 {"class", "Ports"},
                 {"service", "BTHMODEM"},
                 {"description", "Standard Serial over Bluetooth link"},
                 {"friendlyName", u8(L"Standard Serial over Bluetooth link (" + port + L")")},
                 {"hardwareIds", {"BTHENUM\\{00001101-0000-1000-8000-00805f9b34fb}_LOCALMFG&0002"}},
                 {"interfaces", {u8(kSerialPort)}},
                 {"deviceKey", {{"PortName", regText(port)}}}});
    }
    Json& devices = objectAt(s, "devices");
    if (!hasText(textsOf(devices, "serialComm"), port))
        arrayAt(devices, "serialComm").push_back(u8(port));
    // The local port monitor learns of new serial ports when the spooler starts; some machines tell
    // it at once.
    if (flagOf(device, "spoolerSeesPortAtOnce", true))
        ensurePort(s, port + L":", L"Local Port");
}

void removeComPort(Json& s, const Json& device) {
    eraseNamed(nodesOf(s), "instanceId", comNodeId(textOf(device, "address")));
    Json& list = arrayAt(objectAt(s, "devices"), "serialComm");
    const std::wstring port = textOf(device, "comPort");
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].is_string() && text::equalsNoCase(wide(list[i].get<std::string>()), port)) {
            list.erase(i);
            break;
        }
    }
}

std::uint32_t methodOf(const Json& device) {
    const std::string m =
        memberOf(device, "authMethod").is_string() ? device["authMethod"].get<std::string>() : "";
    if (m == "oob")
        return ports::btauth::Oob;
    if (m == "numericComparison")
        return ports::btauth::NumericComparison;
    if (m == "passkeyNotification")
        return ports::btauth::PasskeyNotification;
    if (m == "passkey")
        return ports::btauth::Passkey;
    return ports::btauth::Legacy;
}

} // namespace

std::wstring SimBluetooth::addressText(std::uint64_t address) {
    wchar_t buf[16];
    std::swprintf(buf, 16, L"%012llX", static_cast<unsigned long long>(address & 0xFFFFFFFFFFFFULL));
    return buf;
}

std::uint64_t SimBluetooth::addressOf(std::wstring_view text) {
    std::uint64_t a = 0;
    for (wchar_t c : text) {
        const int d = c >= L'0' && c <= L'9'   ? c - L'0'
                      : c >= L'a' && c <= L'f' ? c - L'a' + 10
                      : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                               : -1;
        if (d >= 0)
            a = (a << 4) | static_cast<std::uint64_t>(d);
    }
    return a & 0xFFFFFFFFFFFFULL;
}

ports::BluetoothDeviceInfo SimBluetooth::infoOf(const Json& d) {
    ports::BluetoothDeviceInfo i;
    i.address = addressOf(textOf(d, "address"));
    i.classOfDevice = static_cast<std::uint32_t>(numberOf(d, "classOfDevice"));
    i.connected = flagOf(d, "connected");
    i.remembered = i.authenticated = flagOf(d, "paired");
    i.lastSeen = clock_.localTime();
    if (i.remembered)
        i.lastUsed = i.lastSeen;
    i.name = textOf(d, "name");
    return i;
}

Status SimBluetooth::findFirstRadio(ports::BluetoothRadio& out) noexcept {
    out.reset();
    if (Status f = machine_.fault("BluetoothFindFirstRadio"))
        return f;
    const bool radio =
        machine_.read([](const Json& s) { return memberOf(bluetoothOf(s), "radio").is_object(); });
    if (!radio)
        return winerr::NoMoreItems;
    out = ports::BluetoothRadio(*this, handles_.add({}));
    return winerr::Success;
}

Status SimBluetooth::findFirstDevice(const ports::BluetoothSearchParams& params, ports::BluetoothRadio& radio,
                                     ports::BluetoothDeviceSearch& search,
                                     ports::BluetoothDeviceInfo& out) noexcept {
    search.reset();
    out = {};
    if (radio && !handles_.find(radio, this))
        return winerr::InvalidHandle;
    if (Status f = machine_.fault("BluetoothFindFirstDevice"))
        return f;
    const auto [haveRadio, inquiryMs] = machine_.read([&](const Json& s) {
        const Json& bt = bluetoothOf(s);
        return std::pair{
            memberOf(bt, "radio").is_object(),
            static_cast<std::uint32_t>(numberOf(bt, "inquiryMs", params.timeoutMultiplier * 1280u))};
    });
    if (!haveRadio)
        return winerr::NoMoreItems;
    if (params.issueInquiry)
        clock_.sleepMs(inquiryMs);
    Opened o;
    o.kind = Opened::Kind::Search;
    machine_.read([&](const Json& s) {
        const Json& devices = memberOf(bluetoothOf(s), "devices");
        if (!devices.is_array())
            return;
        for (const auto& d : devices) {
            const bool paired = flagOf(d, "paired"), connected = flagOf(d, "connected");
            const bool seen = params.issueInquiry && flagOf(d, "inRange", true);
            if ((paired && (params.returnRemembered || params.returnAuthenticated)) ||
                (connected && params.returnConnected) || (!paired && seen && params.returnUnknown))
                o.found.push_back(infoOf(d));
        }
    });
    if (o.found.empty())
        return winerr::NoMoreItems;
    out = o.found[0];
    o.next = 1;
    search = ports::BluetoothDeviceSearch(*this, handles_.add(std::move(o)));
    return winerr::Success;
}

Status SimBluetooth::findNextDevice(ports::BluetoothDeviceSearch& search,
                                    ports::BluetoothDeviceInfo& out) noexcept {
    out = {};
    auto o = handles_.find(search, this);
    if (!o || o->kind != Opened::Kind::Search)
        return winerr::InvalidHandle;
    if (Status f = machine_.fault("BluetoothFindNextDevice"))
        return f;
    if (o->next >= o->found.size())
        return winerr::NoMoreItems;
    out = o->found[o->next++];
    return winerr::Success;
}

Status SimBluetooth::installedServices(const ports::BluetoothDeviceInfo& device,
                                       std::vector<ports::Guid>& out) noexcept {
    out.clear();
    if (Status f = machine_.fault("BluetoothEnumerateInstalledServices"))
        return f;
    return machine_.read([&](const Json& s) -> Status {
        const Json* d = findDevice(s, device.address);
        if (!d)
            return winerr::NotFound;
        for (const auto& g : textsOf(*d, "services")) {
            if (auto guid = ports::parseGuid(g))
                out.push_back(*guid);
        }
        return winerr::Success;
    });
}

Status SimBluetooth::setServiceState(const ports::BluetoothDeviceInfo& device, const ports::Guid& service,
                                     bool enable) noexcept {
    const std::wstring guid = guidText(service);
    return machine_.write([&](Json& s) -> Status {
        if (Status f = SimMachine::takeFault(s, "BluetoothSetServiceState"))
            return f;
        Json* d = findDevice(s, device.address);
        if (!d)
            return winerr::NotFound;
        if (!flagOf(*d, "paired"))
            return winerr::InvalidParameter;
        if (!hasText(offeredServices(*d), guid))
            return winerr::ServiceDoesNotExist;
        auto services = textsOf(*d, "services");
        const bool serial = text::equalsNoCase(guid, kSerialPort);
        if (enable && !hasText(services, guid)) {
            services.push_back(guid);
            if (serial)
                addComPort(s, *d);
        } else if (!enable) {
            std::erase_if(services, [&](const std::wstring& g) { return text::equalsNoCase(g, guid); });
            if (serial)
                removeComPort(s, *d);
        }
        (*d)["services"] = fromTexts(services);
        return winerr::Success;
    });
}

Status SimBluetooth::removeDevice(std::uint64_t address) noexcept {
    return machine_.write([&](Json& s) -> Status {
        if (Status f = SimMachine::takeFault(s, "BluetoothRemoveDevice"))
            return f;
        Json* d = findDevice(s, address);
        if (!d || !flagOf(*d, "paired"))
            return winerr::NotFound;
        if (hasText(textsOf(*d, "services"), kSerialPort))
            removeComPort(s, *d);
        (*d)["paired"] = false;
        (*d)["connected"] = false;
        (*d)["services"] = Json::array();
        return winerr::Success;
    });
}

bool SimBluetooth::authenticationAvailable() noexcept {
    return machine_.read(
        [](const Json& s) { return flagOf(bluetoothOf(s), "authenticationFunctions", true); });
}

Status SimBluetooth::registerForAuthentication(const ports::BluetoothDeviceInfo& device,
                                               ports::BluetoothAuthCallback callback,
                                               ports::BluetoothAuthRegistration& out) noexcept {
    out.reset();
    if (!authenticationAvailable())
        return winerr::ProcNotFound;
    if (Status f = machine_.fault("BluetoothRegisterForAuthenticationEx"))
        return f;
    Opened o;
    o.kind = Opened::Kind::Registration;
    o.address = device.address;
    o.callback = std::move(callback);
    const std::uint64_t id = handles_.add(std::move(o));
    {
        std::lock_guard lock(pendingMutex_);
        registrations_[device.address] = id;
    }
    out = ports::BluetoothAuthRegistration(*this, id);
    return winerr::Success;
}

Status SimBluetooth::authenticateDevice(ports::WindowId, ports::BluetoothDeviceInfo& device,
                                        std::uint32_t requirements) noexcept {
    if (!authenticationAvailable())
        return winerr::ProcNotFound;
    std::lock_guard serial(authMutex_);
    if (Status f = machine_.fault("BluetoothAuthenticateDeviceEx"))
        return f;
    // The device's side of the pairing, read without holding the machine while the callback runs.
    struct Peer {
        bool known = false, paired = false, inRange = false, timesOut = false;
        std::uint32_t method = 0;
        std::string pin;
        std::uint32_t passkey = 0;
        ports::BluetoothDeviceInfo info;
    } peer;
    machine_.write([&](Json& s) {
        Json* d = findDevice(s, device.address);
        if (!d)
            return;
        peer.known = true;
        peer.paired = flagOf(*d, "paired");
        peer.inRange = flagOf(*d, "inRange", true);
        const std::uint64_t timeouts = numberOf(*d, "timeouts");
        if (timeouts > 0 && !peer.paired) {
            peer.timesOut = true;
            (*d)["timeouts"] = timeouts - 1;
        }
        peer.method = methodOf(*d);
        peer.pin = u8(textOf(*d, "pin"));
        peer.passkey = static_cast<std::uint32_t>(numberOf(*d, "passkey", 123456));
        peer.info = infoOf(*d);
    });
    if (!peer.known)
        return winerr::DeviceNotConnected;
    if (peer.paired) {
        device = peer.info;
        return winerr::NoMoreItems; // already paired
    }
    if (!peer.inRange || peer.timesOut) {
        clock_.sleepMs(kPageTimeoutMs);
        return winerr::WaitTimeout;
    }
    std::shared_ptr<Opened> registration;
    {
        std::lock_guard lock(pendingMutex_);
        auto it = registrations_.find(device.address);
        if (it != registrations_.end())
            registration = handles_.find(it->second);
        pending_ = Pending{device.address, std::nullopt};
    }
    if (!registration || !registration->callback) {
        std::lock_guard lock(pendingMutex_);
        pending_.reset();
        return winerr::Cancelled; // no one to answer the system's question
    }
    ports::BluetoothAuthRequest request;
    request.device = peer.info;
    request.method = peer.method;
    request.ioCapability = 3; // no input, no output
    request.authenticationRequirements = requirements;
    request.numericValue = peer.passkey;
    // The system calls back on a thread of its own and waits for it.
    std::thread caller([&] { registration->callback(request); });
    caller.join();
    std::optional<ports::BluetoothAuthResponse> response;
    {
        std::lock_guard lock(pendingMutex_);
        response = pending_ ? pending_->response : std::nullopt;
        pending_.reset();
    }
    bool accepted = false;
    if (response && !response->negative) {
        if (peer.method == ports::btauth::Legacy) {
            const std::size_t n = response->pinLength;
            accepted = n == peer.pin.size() && n <= response->pin.size() &&
                       std::equal(peer.pin.begin(), peer.pin.end(), response->pin.begin());
        } else if (peer.method == ports::btauth::NumericComparison || peer.method == ports::btauth::Passkey) {
            accepted = response->numericValue == peer.passkey;
        } else {
            accepted = true;
        }
    }
    if (!accepted)
        return ports::winerr::NotAuthenticated;
    machine_.write([&](Json& s) {
        if (Json* d = findDevice(s, device.address)) {
            (*d)["paired"] = true;
            device = infoOf(*d);
        }
    });
    return winerr::Success;
}

Status SimBluetooth::sendAuthenticationResponse(const ports::BluetoothAuthResponse& response) noexcept {
    if (!authenticationAvailable())
        return winerr::ProcNotFound;
    if (Status f = machine_.fault("BluetoothSendAuthenticationResponseEx"))
        return f;
    std::lock_guard lock(pendingMutex_);
    if (!pending_ || pending_->address != response.address)
        return winerr::InvalidParameter;
    pending_->response = response;
    return winerr::Success;
}

} // namespace sim
