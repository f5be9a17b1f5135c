#pragma once
// One printer, chosen or discovered: its model, the queue to create, its USB identities, port,
// Bluetooth record and IP address. Copying an entry copies every field, the Bluetooth record whole.
#include "catalogue/DriverRef.h"
#include "platform/ports/Bluetooth.h"

#include <cstdint>
#include <string>
#include <string_view>

// The PIN every entry starts with and the pairing tries first, then the second one.
inline constexpr std::wstring_view kDefaultBluetoothPin = L"0000";
inline constexpr std::wstring_view kSecondBluetoothPin = L"1234";
inline constexpr std::wstring_view kDefaultPrinterIpAddress = L"192.168.1.200";

struct PrinterEntry {
    // The catalogue model; the empty reference when none is chosen.
    DriverRef driverNode;
    // Model name, also the driver name given to the print system; a Bluetooth device's name when
    // it comes from the Bluetooth search.
    std::wstring modelName;
    std::wstring printerName;
    std::wstring devicePath;    // USB: the printer interface's device path
    std::wstring usbDeviceId;   // USB: the USB device's instance ID (holds "VID_" and "PID_")
    std::wstring printDeviceId; // USB: the print-class child's instance ID
    std::wstring vid;           // USB: the four characters after "VID_" in usbDeviceId
    std::wstring pid;           // USB: the four characters after "PID_" in usbDeviceId
    std::wstring hardwareId;    // USB: the child's first hardware ID ("USBPRINT\...")
    std::wstring portName;      // USB001, a TCP/IP port, a listed port or the Bluetooth COM port
    std::int32_t installed = 0; // 1 when a queue for this device exists already
    // The radio the device was found on: the id of the discovery's radio handle, which the
    // discovery keeps open; entries only refer to it.
    std::uint64_t btRadio = 0;
    std::wstring btPin;
    ports::BluetoothDeviceInfo btInfo;
    std::wstring btAddress; // twelve upper-case hex digits, most significant byte first
    std::wstring ipAddress;

    // A new entry is empty and then reset.
    PrinterEntry() { reset(); }

    // Clears what identifies a particular device and restores the defaults of the PIN and the IP
    // address. The model (driverNode, modelName), devicePath and the Bluetooth record and address
    // stay.
    void reset();
};

// btAddress of a device: "%02X%02X%02X%02X%02X%02X" of the address bytes 5 down to 0.
std::wstring bluetoothAddressText(const ports::BluetoothDeviceInfo& info);
