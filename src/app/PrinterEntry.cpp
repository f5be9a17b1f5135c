#include "app/PrinterEntry.h"

#include "app/text/Format.h"

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
    return text::format(L"%02X%02X%02X%02X%02X%02X", info.addressByte(5), info.addressByte(4),
                        info.addressByte(3), info.addressByte(2), info.addressByte(1), info.addressByte(0));
}
