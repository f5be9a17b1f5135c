#pragma once
// The size and the telling offsets of every record this code hands to the system, written down
// for each width from the documented layouts: pointers are 4 bytes on i686 and 8 on x64, 64-bit
// fields are 8-aligned on both, and setupapi.h packs its records to 1 byte on i686 (8 on x64).
// Only the 64-bit build runs here, so the i686 build has to prove its records at compile time: a
// header that lays one out differently from the system's own is an error, not a corrupt call.
#include "platform/win32/MingwGaps.h"

#include <windows.h>

#include <bluetoothapis.h>
#include <richedit.h>
#include <setupapi.h>
#include <winspool.h>
#include <winsvc.h>

#include <cstddef>

namespace win32::layout {

#if defined(_WIN64)
inline constexpr std::size_t P = 8; // a pointer, a handle, a ULONG_PTR
#else
inline constexpr std::size_t P = 4;
#endif
static_assert(sizeof(void*) == P);
inline constexpr bool kWide = P == 8;

// --- the Standard TCP/IP monitor's Xcv records (no pointers: the same on both widths)
static_assert(sizeof(PORT_DATA_1) == 964, "the monitor checks cbSize against its own record");
static_assert(offsetof(PORT_DATA_1, dwVersion) == 128);
static_assert(offsetof(PORT_DATA_1, sztHostAddress) == 144);
static_assert(offsetof(PORT_DATA_1, dwPortNumber) == 952);
static_assert(sizeof(DELETE_PORT_DATA_1) == 236);
static_assert(offsetof(DELETE_PORT_DATA_1, dwVersion) == 228);

// --- spooler records
static_assert(sizeof(DEVMODEW) == 220);
static_assert(offsetof(DEVMODEW, dmSize) == 68 && offsetof(DEVMODEW, dmDriverExtra) == 70);
static_assert(offsetof(DEVMODEW, dmFields) == 72 && offsetof(DEVMODEW, dmPaperSize) == 78);
static_assert(offsetof(DEVMODEW, dmFormName) == 102 && offsetof(DEVMODEW, dmPanningHeight) == 216);

static_assert(sizeof(PRINTER_INFO_1W) == (kWide ? 32 : 16));
static_assert(offsetof(PRINTER_INFO_1W, pName) == (kWide ? 16 : 8));
// Thirteen pointers, then eight DWORDs.
static_assert(sizeof(PRINTER_INFO_2W) == (kWide ? 136 : 84));
static_assert(offsetof(PRINTER_INFO_2W, pDevMode) == 7 * P);
static_assert(offsetof(PRINTER_INFO_2W, pSecurityDescriptor) == 12 * P);
static_assert(offsetof(PRINTER_INFO_2W, Attributes) == (kWide ? 104 : 52));
static_assert(offsetof(PRINTER_INFO_2W, AveragePPM) == (kWide ? 132 : 80));
static_assert(sizeof(PRINTER_INFO_3) == P);
static_assert(sizeof(PRINTER_INFO_4W) == (kWide ? 24 : 12));
static_assert(offsetof(PRINTER_INFO_4W, Attributes) == (kWide ? 16 : 8));
static_assert(sizeof(PRINTER_INFO_5W) == (kWide ? 32 : 20));
static_assert(offsetof(PRINTER_INFO_5W, TransmissionRetryTimeout) == (kWide ? 24 : 16));
static_assert(sizeof(PRINTER_INFO_6) == 4);
static_assert(sizeof(PRINTER_INFO_7W) == (kWide ? 16 : 8));
static_assert(offsetof(PRINTER_INFO_7W, dwAction) == (kWide ? 8 : 4));
static_assert(sizeof(PRINTER_INFO_8W) == P && sizeof(PRINTER_INFO_9W) == P);

// Each driver level extends the one before (levels 2, 3, 4, 6 and 8 share one record here).
static_assert(sizeof(DRIVER_INFO_1W) == P);
static_assert(sizeof(DRIVER_INFO_2W) == (kWide ? 48 : 24));
static_assert(offsetof(DRIVER_INFO_2W, pName) == (kWide ? 8 : 4));
static_assert(offsetof(DRIVER_INFO_2W, pConfigFile) == (kWide ? 40 : 20));
static_assert(sizeof(DRIVER_INFO_3W) == (kWide ? 80 : 40));
static_assert(offsetof(DRIVER_INFO_3W, pDefaultDataType) == (kWide ? 72 : 36));
static_assert(sizeof(DRIVER_INFO_4W) == (kWide ? 88 : 44));
static_assert(sizeof(DRIVER_INFO_5W) == (kWide ? 64 : 36));
static_assert(offsetof(DRIVER_INFO_5W, dwDriverVersion) == (kWide ? 56 : 32));
static_assert(sizeof(DRIVER_INFO_6W) == (kWide ? 136 : 80));
static_assert(offsetof(DRIVER_INFO_6W, ftDriverDate) == (kWide ? 88 : 44));
static_assert(offsetof(DRIVER_INFO_6W, dwlDriverVersion) == (kWide ? 96 : 56)); // 8-aligned on i686 too
static_assert(offsetof(DRIVER_INFO_6W, pszProvider) == (kWide ? 128 : 76));
static_assert(sizeof(DRIVER_INFO_8W) == (kWide ? 200 : 120));
static_assert(offsetof(DRIVER_INFO_8W, pszInfPath) == (kWide ? 160 : 92));
static_assert(offsetof(DRIVER_INFO_8W, dwPrinterDriverAttributes) == (kWide ? 168 : 96));
static_assert(offsetof(DRIVER_INFO_8W, pszzCoreDriverDependencies) == (kWide ? 176 : 100));
static_assert(offsetof(DRIVER_INFO_8W, dwlMinInboxDriverVerVersion) == (kWide ? 192 : 112));

static_assert(sizeof(FORM_INFO_1W) == (kWide ? 40 : 32));
static_assert(offsetof(FORM_INFO_1W, Size) == (kWide ? 16 : 8));
static_assert(offsetof(FORM_INFO_1W, ImageableArea) == (kWide ? 24 : 16));
static_assert(sizeof(MONITOR_INFO_2W) == 3 * P);
static_assert(sizeof(PORT_INFO_1W) == P);
static_assert(sizeof(PORT_INFO_2W) == (kWide ? 32 : 20));
static_assert(offsetof(PORT_INFO_2W, fPortType) == 3 * P);

// --- SetupAPI: packed to 1 byte on i686, so no padding before a ULONG_PTR there
static_assert(sizeof(SP_DEVINFO_DATA) == (kWide ? 32 : 28));
static_assert(offsetof(SP_DEVINFO_DATA, DevInst) == 20 && offsetof(SP_DEVINFO_DATA, Reserved) == 24);
static_assert(sizeof(SP_DEVICE_INTERFACE_DATA) == (kWide ? 32 : 28));
static_assert(offsetof(SP_DEVICE_INTERFACE_DATA, Flags) == 20);
// The cbSize SetupAPI expects in the detail record: the fixed part, padded on x64 only.
static_assert(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) == (kWide ? 8 : 6));
static_assert(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath) == 4);
static_assert(sizeof(SP_CLASSINSTALL_HEADER) == 8);
static_assert(sizeof(SP_REMOVEDEVICE_PARAMS) == 16);
static_assert(sizeof(SP_DEVINSTALL_PARAMS_W) == (kWide ? 584 : 556));
static_assert(offsetof(SP_DEVINSTALL_PARAMS_W, hwndParent) == (kWide ? 16 : 12));
static_assert(offsetof(SP_DEVINSTALL_PARAMS_W, DriverPath) == (kWide ? 60 : 36));
static_assert(sizeof(DEVPROPKEY) == 20);

// --- Bluetooth (the callback parameters come from the stack, the rest go to it)
static_assert(sizeof(BLUETOOTH_ADDRESS) == 8);
static_assert(sizeof(BLUETOOTH_DEVICE_INFO) == 560, "the stack checks dwSize against its own record");
static_assert(offsetof(BLUETOOTH_DEVICE_INFO, Address) == 8);
static_assert(offsetof(BLUETOOTH_DEVICE_INFO, ulClassofDevice) == 16);
static_assert(offsetof(BLUETOOTH_DEVICE_INFO, stLastSeen) == 32);
static_assert(offsetof(BLUETOOTH_DEVICE_INFO, szName) == 64);
static_assert(sizeof(BLUETOOTH_FIND_RADIO_PARAMS) == 4);
static_assert(sizeof(BLUETOOTH_DEVICE_SEARCH_PARAMS) == (kWide ? 40 : 32));
static_assert(offsetof(BLUETOOTH_DEVICE_SEARCH_PARAMS, cTimeoutMultiplier) == 24);
static_assert(offsetof(BLUETOOTH_DEVICE_SEARCH_PARAMS, hRadio) == (kWide ? 32 : 28));
static_assert(sizeof(BLUETOOTH_AUTHENTICATE_RESPONSE) == 48);
static_assert(offsetof(BLUETOOTH_AUTHENTICATE_RESPONSE, authMethod) == 8);
static_assert(offsetof(BLUETOOTH_AUTHENTICATE_RESPONSE, pinInfo) == 12);
static_assert(offsetof(BLUETOOTH_AUTHENTICATE_RESPONSE, negativeResponse) == 44);
static_assert(sizeof(BLUETOOTH_AUTHENTICATION_CALLBACK_PARAMS) == 576);
static_assert(offsetof(BLUETOOTH_AUTHENTICATION_CALLBACK_PARAMS, authenticationMethod) == 560);

// --- the rich edit control's character format. In C++ it derives from CHARFORMATW (90 bytes,
// padded to 92), so wWeight sits at 92, not at 90 as in the C declaration; from crBackColor on,
// and in size, the two agree.
static_assert(sizeof(CHARFORMATW) == 92);
static_assert(sizeof(CHARFORMAT2W) == 116);
// A derived record is not standard-layout; GCC's offsetof on it is exact all the same.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(CHARFORMAT2W, szFaceName) == 26);
static_assert(offsetof(CHARFORMAT2W, wWeight) == 92);
static_assert(offsetof(CHARFORMAT2W, crBackColor) == 96);
static_assert(offsetof(CHARFORMAT2W, bUnderlineColor) == 115);
#pragma GCC diagnostic pop

// --- services, time, processes, versions, privileges
static_assert(sizeof(SERVICE_STATUS) == 28);
static_assert(offsetof(SERVICE_STATUS, dwWaitHint) == 24);
static_assert(sizeof(SYSTEMTIME) == 16 && offsetof(SYSTEMTIME, wMilliseconds) == 14);
static_assert(sizeof(FILETIME) == 8);
static_assert(sizeof(STARTUPINFOW) == (kWide ? 104 : 68));
static_assert(offsetof(STARTUPINFOW, wShowWindow) == (kWide ? 64 : 48));
static_assert(offsetof(STARTUPINFOW, hStdInput) == (kWide ? 80 : 56));
static_assert(sizeof(PROCESS_INFORMATION) == (kWide ? 24 : 16));
static_assert(sizeof(SECURITY_ATTRIBUTES) == (kWide ? 24 : 12));
static_assert(offsetof(SECURITY_ATTRIBUTES, bInheritHandle) == (kWide ? 16 : 8));
static_assert(sizeof(OVERLAPPED) == (kWide ? 32 : 20));
static_assert(offsetof(OVERLAPPED, hEvent) == (kWide ? 24 : 16));
static_assert(sizeof(OSVERSIONINFOW) == 276);
static_assert(sizeof(TOKEN_PRIVILEGES) == 16);

} // namespace win32::layout
