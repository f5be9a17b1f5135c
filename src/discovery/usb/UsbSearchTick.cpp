#include "discovery/usb/UsbSearchTick.h"

namespace discovery {
namespace {

void call(const std::function<void()>& hook) {
    if (hook)
        hook();
}

} // namespace

void SearchTick(const UsbScanContext& scan, const UsbSearchPages& pages) {
    auto& devices = scan.session.devices;
    switch (scan.session.portType) {
    case port_type::Usb:
    case port_type::BluetoothAdapter:
        ScanUsbPrinters(scan);
        call(devices.empty() ? pages.showSearchPage : pages.showModelPage);
        if (devices.listChanged) {
            call(pages.refreshModelList);
            devices.listChanged = false;
        }
        break;
    case port_type::Custom:
        ScanUsbPrinters(scan);
        if (devices.listChanged) {
            call(pages.refreshCustomModels);
            devices.listChanged = false;
        }
        break;
    default:
        break;
    }
}

void EnterSearch(const UsbScanContext& scan, const UsbSearchPages& pages) {
    scan.session.devices.clear();
    SearchTick(scan, pages);
}

} // namespace discovery
