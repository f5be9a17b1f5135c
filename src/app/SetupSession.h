#pragma once
// The wizard's shared state: the chosen operation and connection, the printer being set up, the
// current manufacturer, the choices remembered from the previous run and the discovered printers.
// Pages write their choices here and the engine reads them. It has no lock: the UI thread writes
// it, and the operation thread reads it only while the modal progress window blocks the pages.
#include "app/CPrinterDevices.h"
#include "app/PrinterEntry.h"
#include "catalogue/ManufacturerRecord.h"

#include <cstdint>
#include <string>

// setupMode values.
namespace setup_mode {
inline constexpr std::int32_t Install = 0;
inline constexpr std::int32_t Upgrade = 1;
inline constexpr std::int32_t Delete = 2;
} // namespace setup_mode

// portType values, with the port page option that sets each.
namespace port_type {
inline constexpr std::int32_t Usb = 0;              // chk_port_usb
inline constexpr std::int32_t Network = 1;          // chk_port_net
inline constexpr std::int32_t Bluetooth = 2;        // chk_port_blue_tooth
inline constexpr std::int32_t BluetoothAdapter = 3; // chk_port_blue_tooth_adapter, handled as USB
inline constexpr std::int32_t Parallel = 4;         // chk_port_parallel_port
inline constexpr std::int32_t Serial = 5;           // chk_port_serial_port
inline constexpr std::int32_t Custom = 6;           // chk_port_custom
} // namespace port_type

struct SetupSession {
    std::int32_t setupMode = setup_mode::Install;
    std::int32_t portType = port_type::Usb;
    // 1 when the packaged driver carries the newer file set (its INF ends in "New.inf").
    std::int32_t newPackage = 1;
    ManufacturerRecord manufacturer;
    PrinterEntry chosen;
    std::wstring savedManufacturer;
    std::wstring savedUpgradePrinter;
    std::wstring savedDeletePrinter;
    CPrinterDevices devices;
};
