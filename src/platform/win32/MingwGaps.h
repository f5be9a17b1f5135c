#pragma once
// What the Windows SDK declares and mingw-w64 10 lacks: the Standard TCP/IP monitor's Xcv records
// (tcpxcv.h), the driver-store constants of winspool.h, one winerror.h code and one Bluetooth
// constant. Kept in one place so that a newer mingw-w64 can replace them by deleting lines here.
#include <windows.h>

namespace win32 {

// tcpxcv.h: the record of the Standard TCP/IP monitor's "AddPort" and "ConfigPort" commands.
struct PORT_DATA_1 {
    WCHAR sztPortName[64];
    DWORD dwVersion;
    DWORD dwProtocol;
    DWORD cbSize;
    DWORD dwReserved;
    WCHAR sztHostAddress[49];
    WCHAR sztSNMPCommunity[33];
    DWORD dwDoubleSpool;
    WCHAR sztQueue[33];
    WCHAR sztIPAddress[16];
    BYTE Reserved[540];
    DWORD dwPortNumber;
    DWORD dwSNMPEnabled;
    DWORD dwSNMPDevIndex;
};

// tcpxcv.h: the record of the "DeletePort" command.
struct DELETE_PORT_DATA_1 {
    WCHAR psztPortName[64];
    BYTE Reserved[98];
    DWORD dwVersion;
    DWORD dwReserved;
};

inline constexpr DWORD PROTOCOL_RAWTCP_TYPE = 1;
inline constexpr DWORD PROTOCOL_LPR_TYPE = 2;

} // namespace win32

// winspool.h: flags of UploadPrinterDriverPackageW and InstallPrinterDriverFromPackageW.
#ifndef UPDP_SILENT_UPLOAD
#define UPDP_SILENT_UPLOAD 0x00000001
#endif
#ifndef UPDP_UPLOAD_ALWAYS
#define UPDP_UPLOAD_ALWAYS 0x00000002
#endif
#ifndef UPDP_CHECK_DRIVERSTORE
#define UPDP_CHECK_DRIVERSTORE 0x00000004
#endif
#ifndef IPDFP_COPY_ALL_FILES
#define IPDFP_COPY_ALL_FILES 0x00000001
#endif

// winerror.h stops at 3014.
#ifndef ERROR_PRINTER_DRIVER_PACKAGE_IN_USE
#define ERROR_PRINTER_DRIVER_PACKAGE_IN_USE 3015L
#endif

// bluetoothapis.h: the service state of BluetoothSetServiceState.
#ifndef BLUETOOTH_SERVICE_DISABLE
#define BLUETOOTH_SERVICE_DISABLE 0x00
#endif
#ifndef BLUETOOTH_SERVICE_ENABLE
#define BLUETOOTH_SERVICE_ENABLE 0x01
#endif
