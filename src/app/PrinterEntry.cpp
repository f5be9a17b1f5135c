#include "app/PrinterEntry.h"

#include "base/Format.h"

void PrinterEntry::reset() {
    printerName.clear();
    usbDeviceId.clear();
    printDeviceId.clear();
    vid.clear();
    pid.clear();
    hardwareId.clear();
    portName.clear();
    installed = 0;
    btRadio = 0;
    btPin = kDefaultBluetoothPin;
    ipAddress = kDefaultPrinterIpAddress;
}

std::wstring bluetoothAddressText(const ports::BluetoothDeviceInfo& info) {
    auto byte = [&](int i) { return static_cast<unsigned>((info.address >> (8 * i)) & 0xFF); };
    return text::format(L"%02X%02X%02X%02X%02X%02X", byte(5), byte(4), byte(3), byte(2), byte(1), byte(0));
}
