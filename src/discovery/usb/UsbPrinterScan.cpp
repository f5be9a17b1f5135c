#include "discovery/usb/UsbPrinterScan.h"

#include "base/Format.h"
#include "catalogue/DriverCatalogue.h"
#include "discovery/usb/UsbNameRules.h"
#include "platform/ports/DeviceTypes.h"
#include "platform/ports/Guid.h"

#include <algorithm>
#include <vector>

namespace discovery {
namespace {

// The four characters after `tag` ("VID_", "PID_") in a USB instance ID; "" when absent.
std::wstring fieldAfter(std::wstring_view id, std::wstring_view tag) {
    const auto at = id.find(tag);
    if (at == std::wstring_view::npos)
        return {};
    return std::wstring(id.substr(at + tag.size(), 4));
}

bool sameDevice(const PrinterEntry& a, const PrinterEntry& b) {
    return a.printDeviceId == b.printDeviceId && a.modelName == b.modelName;
}

class Scanner {
public:
    explicit Scanner(const UsbScanContext& scan)
        : scan_(scan), platform_(scan.app.platform), tree_(platform_.devices()) {}

    std::vector<PrinterEntry> run() {
        ports::DeviceInfoSet set;
        const auto opened = tree_.getClassDevs(ports::guids::DevInterfaceUsbPrint, L"",
                                               ports::digcf::Present | ports::digcf::DeviceInterface, set);
        if (opened != ports::winerr::Success) {
            log(text::format(L"SetupDiGetClassDevs, err=%d, %s", opened, scan_.app.errorText(opened)));
            failed_ = true;
            return {};
        }
        for (std::uint32_t index = 0;; ++index) {
            ports::DeviceInterfaceData iface;
            const auto s = tree_.enumDeviceInterfaces(set, ports::guids::DevInterfaceUsbPrint, index, iface);
            if (s != ports::winerr::Success) {
                log(text::format(L"SetupDiEnumDeviceInterfaces, err=%d, %s", s, scan_.app.errorText(s)));
                break; // the normal end of the set, too
            }
            addDevice(set, iface);
        }
        return std::move(found_);
    }

    bool failed() const { return failed_; }

private:
    void log(const std::wstring& line) const { scan_.app.log(line); }

    // A device that went away between the enumeration and these reads is passed over; the ones
    // after it are still looked at, so they do not drop out of the list for a tick.
    void addDevice(ports::DeviceInfoSet& set, const ports::DeviceInterfaceData& iface) {
        PrinterEntry entry;
        ports::DeviceInfoData device;
        if (const auto s = tree_.getDeviceInterfaceDetail(set, iface, entry.devicePath, device);
            s != ports::winerr::Success) {
            log(text::format(L"SetupDiGetDeviceInterfaceDetail, err=%d, %s", s, scan_.app.errorText(s)));
            return;
        }
        if (const auto cr = tree_.getDeviceId(device.devInst, entry.usbDeviceId); cr != ports::cr::Success) {
            log(text::format(L"CM_Get_Device_ID, err=%d", cr));
            return;
        }
        ports::DevInst child = 0;
        if (const auto cr = tree_.getChild(device.devInst, child); cr != ports::cr::Success) {
            log(text::format(L"CM_Get_Child, err=%d", cr));
            return;
        }
        if (const auto cr = tree_.getDeviceId(child, entry.printDeviceId); cr != ports::cr::Success) {
            log(text::format(L"CM_Get_Device_ID, err=%d", cr));
            return;
        }
        ports::RegValue ids;
        if (tree_.getDevNodeRegistryProperty(child, ports::cmDrp(ports::spdrp::HardwareId), ids) ==
            ports::cr::Success) {
            const auto list = ids.asMultiString();
            if (!list.empty())
                entry.hardwareId = list.front();
        }
        const auto amp = entry.printDeviceId.rfind(L'&');
        entry.portName =
            amp == std::wstring::npos ? entry.printDeviceId : entry.printDeviceId.substr(amp + 1);
        entry.vid = fieldAfter(entry.usbDeviceId, L"VID_");
        entry.pid = fieldAfter(entry.usbDeviceId, L"PID_");
        log(text::format(L"Find printer, HardWareID=%s, sPortName=%s", entry.hardwareId, entry.portName));

        const auto portType = scan_.session.portType;
        const auto& mode = scan_.session.manufacturer.Name;
        if (IsNameIdentifiedHardwareId(entry.hardwareId)) {
            if (portType == port_type::Custom)
                addByName(entry, mode);
            return;
        }
        if (entry.hardwareId.empty())
            return;
        const auto model = catalogue::FindDriverByUsbName(mode, entry.hardwareId, scan_.catalogue);
        if (model.empty())
            return;
        const bool adapter = catalogue::IsBluetoothAdapter(model);
        if ((portType == port_type::Usb && adapter) || (portType == port_type::BluetoothAdapter && !adapter))
            return;
        entry.driverNode = model;
        entry.modelName = catalogue::DriverName(model);
        found_.push_back(std::move(entry));
    }

    // One entry for every model of the mode named like the model the printer's name gives.
    void addByName(const PrinterEntry& entry, std::wstring_view mode) {
        const auto name = ReadUsbBluetoothName(tree_, platform_.system(), entry.devicePath);
        log(text::format(L"GetBluetoothName: %s", name));
        const auto modelName = MapBluetoothNameToModel(name);
        if (!modelName)
            return;
        DriverRef ref;
        for (bool more = catalogue::FirstDriver(mode, scan_.catalogue, ref); more;
             more = catalogue::NextDriver(mode, ref)) {
            if (catalogue::DriverName(ref) != *modelName)
                continue;
            PrinterEntry copy = entry;
            copy.driverNode = ref;
            copy.modelName = *modelName;
            found_.push_back(std::move(copy));
        }
    }

    const UsbScanContext& scan_;
    ports::Platform& platform_;
    ports::DeviceTree& tree_;
    std::vector<PrinterEntry> found_;
    bool failed_ = false;
};

void merge(ports::PrintSpooler& spooler, CPrinterDevices& devices, std::vector<PrinterEntry>& found) {
    // The queues are read once per scan, not once per printer: a tick must stay cheap with many.
    const auto queues = ReadQueueIdentities(spooler);
    const auto updateInstalled = [&](PrinterEntry& entry) {
        entry.installed = 0;
        if (queues)
            UpdateInstalledFlag(*queues, entry);
    };
    for (auto& entry : found) {
        auto listed = std::find_if(devices.begin(), devices.end(),
                                   [&](const PrinterEntry& e) { return sameDevice(e, entry); });
        if (listed != devices.end()) {
            updateInstalled(*listed);
            continue;
        }
        updateInstalled(entry);
        devices.add(entry);
        devices.listChanged = true;
    }
    for (std::size_t i = devices.size(); i-- > 0;) {
        const bool stillThere = std::any_of(found.begin(), found.end(),
                                            [&](const PrinterEntry& e) { return sameDevice(e, devices[i]); });
        if (!stillThere) {
            devices.removeAt(i);
            devices.listChanged = true;
        }
    }
}

std::wstring printerText(ports::PrintSpooler& spooler, ports::SpoolerHandle& printer, std::wstring_view key,
                         std::wstring_view value) {
    ports::RegValue v;
    if (spooler.getPrinterData(printer, key, value, v) != ports::winerr::Success)
        return {};
    return v.asString();
}

} // namespace

void ScanUsbPrinters(const UsbScanContext& scan) {
    Scanner scanner(scan);
    auto found = scanner.run();
    // Without the device set nothing is known: the list stays as it was.
    if (scanner.failed())
        return;
    merge(scan.app.platform.spooler(), scan.session.devices, found);
}

std::optional<std::vector<QueueIdentity>> ReadQueueIdentities(ports::PrintSpooler& spooler) {
    std::vector<ports::PrinterInfo2> printers;
    if (spooler.enumPrinters2(ports::spool::EnumLocal, printers) != ports::winerr::Success)
        return std::nullopt;
    std::vector<QueueIdentity> queues;
    queues.reserve(printers.size());
    for (const auto& info : printers) {
        ports::SpoolerHandle printer;
        if (spooler.openPrinter(info.printerName, ports::spool::PrinterAccessUse, printer) !=
            ports::winerr::Success)
            continue;
        queues.push_back({printerText(spooler, printer, L"PnPData", L"DeviceInstanceId"),
                          printerText(spooler, printer, L"DsSpooler", L"driverName"),
                          printerText(spooler, printer, L"DsSpooler", L"portName"),
                          printerText(spooler, printer, L"PnPData", L"HardWareID")});
    }
    return queues;
}

bool UpdateInstalledFlag(const std::vector<QueueIdentity>& queues, PrinterEntry& entry) {
    std::wstring queueHardwareId = entry.hardwareId;
    if (constexpr std::wstring_view usbPrint = L"USBPRINT\\"; queueHardwareId.starts_with(usbPrint))
        queueHardwareId.replace(0, usbPrint.size(), L"PRINTENUM\\");
    const bool installed = std::any_of(queues.begin(), queues.end(), [&](const QueueIdentity& q) {
        return (!q.deviceInstanceId.empty() && q.deviceInstanceId == entry.printDeviceId) ||
               (!q.driverName.empty() && q.portName == entry.portName && q.hardwareId == queueHardwareId);
    });
    entry.installed = installed ? 1 : 0;
    return installed;
}

bool UpdateInstalledFlag(ports::PrintSpooler& spooler, PrinterEntry& entry) {
    entry.installed = 0;
    const auto queues = ReadQueueIdentities(spooler);
    return queues && UpdateInstalledFlag(*queues, entry);
}

std::wstring ReadUsbBluetoothName(ports::DeviceTree& tree, ports::SystemInfo& system,
                                  std::wstring_view devicePath) {
    ports::UsbNameQuery query;
    query.request = {0x10, 0xFF, 0x30, 0x11};
    std::vector<std::uint8_t> reply;
    if (tree.queryUsbPrinterName(devicePath, query, reply) != ports::winerr::Success)
        return {};
    const auto end = std::find(reply.begin(), reply.end(), std::uint8_t{0});
    std::wstring name;
    if (system.ansiToWide(std::string(reply.begin(), end), name) != ports::winerr::Success)
        return {};
    return name;
}

} // namespace discovery
