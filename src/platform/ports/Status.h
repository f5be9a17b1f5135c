#pragma once
// Results of the platform ports: plain Windows status codes, never exceptions.
#include <cstdint>

namespace ports {

// A Windows error code as GetLastError or a spooler call reports it; 0 is success.
using Status = std::uint32_t;

// The codes the wizard and the simulated machine use, with their Windows values. Named apart from
// the winerror.h macros so that this header never needs windows.h.
namespace winerr {
inline constexpr Status Success = 0;
inline constexpr Status FileNotFound = 2;
inline constexpr Status PathNotFound = 3;
inline constexpr Status AccessDenied = 5;
inline constexpr Status InvalidHandle = 6;
inline constexpr Status NotEnoughMemory = 8;
inline constexpr Status InvalidData = 13;
inline constexpr Status NotSupported = 50;
inline constexpr Status FileExists = 80;
inline constexpr Status InvalidParameter = 87;
inline constexpr Status CallNotImplemented = 120;
inline constexpr Status InsufficientBuffer = 122;
inline constexpr Status InvalidName = 123;
inline constexpr Status InvalidLevel = 124;
inline constexpr Status ModNotFound = 126;
inline constexpr Status ProcNotFound = 127;
inline constexpr Status DirNotEmpty = 145;
inline constexpr Status AlreadyExists = 183;
inline constexpr Status FilenameExcedRange = 206;
inline constexpr Status MoreData = 234;
inline constexpr Status NoMoreItems = 259;
inline constexpr Status ServiceAlreadyRunning = 1056;
inline constexpr Status ServiceDoesNotExist = 1060;
inline constexpr Status ServiceNotActive = 1062;
inline constexpr Status NotFound = 1168;
inline constexpr Status Timeout = 1460;
inline constexpr Status UnknownPort = 1796;
inline constexpr Status UnknownPrinterDriver = 1797;
inline constexpr Status InvalidPrinterName = 1801;
inline constexpr Status PrinterAlreadyExists = 1802;
inline constexpr Status UnknownPrintMonitor = 3000;
inline constexpr Status PrinterDriverInUse = 3001;
inline constexpr Status PrintMonitorInUse = 3008;
inline constexpr Status SuccessRebootRequired = 3010;
inline constexpr Status PrinterDriverPackageInUse = 3015;

// Added for the spooler, device, Bluetooth, service and process ports.
inline constexpr Status InvalidFunction = 1;
inline constexpr Status NoMoreFiles = 18;
inline constexpr Status GenFailure = 31;
inline constexpr Status BrokenPipe = 109;
inline constexpr Status NoData = 232; // a write into a pipe whose read end is closed
inline constexpr Status WaitTimeout = 258;
inline constexpr Status BluetoothAuthUnavailable = 632; // what the wizard reports without the entry points
inline constexpr Status OperationAborted = 995;
inline constexpr Status IoIncomplete = 996;
inline constexpr Status IoPending = 997;
inline constexpr Status InvalidServiceControl = 1052;
inline constexpr Status ServiceRequestTimeout = 1053;
inline constexpr Status ServiceDisabled = 1058;
inline constexpr Status ServiceCannotAcceptCtrl = 1061;
inline constexpr Status ServiceMarkedForDelete = 1072;
inline constexpr Status DeviceNotConnected = 1167;
inline constexpr Status BadDevice = 1200;
inline constexpr Status Cancelled = 1223;
inline constexpr Status UnknownPrintProcessor = 1798;
inline constexpr Status InvalidPrinterCommand = 1803;
inline constexpr Status InvalidDatatype = 1804;
inline constexpr Status InvalidEnvironment = 1805;
inline constexpr Status InvalidFormName = 1902;
inline constexpr Status InvalidFormSize = 1903;
inline constexpr Status PrintMonitorAlreadyInstalled = 3006;
inline constexpr Status InvalidPrintMonitor = 3007;
inline constexpr Status PrinterHasJobsQueued = 3009;
inline constexpr Status DeviceNotAvailable = 4319;
inline constexpr Status Busy = 170;
inline constexpr Status BadExeFormat = 193;
inline constexpr Status InvalidFlags = 1004;
inline constexpr Status NotAuthenticated = 1244;
inline constexpr Status RpcServerUnavailable = 1722; // what the spooler's clients get while it is stopped
// GetExitCodeProcess's answer while the process runs (STILL_ACTIVE, the value of NoMoreItems).
inline constexpr std::uint32_t StillActive = 259;
// SetupAPI's own codes (APPLICATION_ERROR_MASK | ERROR_SEVERITY_ERROR | n), reported through GetLastError.
inline constexpr Status WrongInfStyle = 0xE0000100;
inline constexpr Status SectionNotFound = 0xE0000101;
inline constexpr Status LineNotFound = 0xE0000102;
inline constexpr Status ClassMismatch = 0xE0000201;
inline constexpr Status NoDriverSelected = 0xE0000203;
inline constexpr Status KeyDoesNotExist = 0xE0000204;
inline constexpr Status InvalidClass = 0xE0000206;
inline constexpr Status InvalidRegProperty = 0xE0000209;
inline constexpr Status NoSuchDevinst = 0xE000020B;
inline constexpr Status NoDeviceSelected = 0xE0000211;
inline constexpr Status NoSuchDeviceInterface = 0xE0000225;
inline constexpr Status NoCompatDrivers = 0xE0000228;
inline constexpr Status InWow64 = 0xE0000235;
} // namespace winerr

// HRESULTs, as the driver-store functions return them. Negative (high bit set) means failure.
using HResult = std::uint32_t;
namespace hresult {
inline constexpr HResult SOk = 0;
inline constexpr HResult SFalse = 1;
inline constexpr HResult EPending = 0x8000000A;
inline constexpr HResult ENotImpl = 0x80004001;
inline constexpr HResult ENoInterface = 0x80004002;
inline constexpr HResult EPointer = 0x80004003;
inline constexpr HResult EAbort = 0x80004004;
inline constexpr HResult EFail = 0x80004005;
inline constexpr HResult EUnexpected = 0x8000FFFF;
inline constexpr HResult EAccessDenied = 0x80070005;
inline constexpr HResult EHandle = 0x80070006;
inline constexpr HResult EOutOfMemory = 0x8007000E;
inline constexpr HResult EInvalidArg = 0x80070057;
// HRESULT_FROM_WIN32 for the codes above zero.
[[nodiscard]] constexpr HResult fromWin32(Status code) noexcept {
    return code == 0 || (code & 0x80000000u) ? code : (0x80070000u | (code & 0xFFFFu));
}
inline constexpr HResult PrinterDriverPackageInUse = 0x80070BC7;
[[nodiscard]] constexpr bool failed(HResult hr) noexcept {
    return (hr & 0x80000000u) != 0;
}
} // namespace hresult

// CONFIGRET codes of the Configuration Manager (CM_*) functions; 0 is success.
using ConfigRet = std::uint32_t;
namespace cr {
inline constexpr ConfigRet Success = 0x00;
inline constexpr ConfigRet OutOfMemory = 0x02;
inline constexpr ConfigRet InvalidPointer = 0x03;
inline constexpr ConfigRet InvalidFlag = 0x04;
inline constexpr ConfigRet InvalidDevNode = 0x05;
inline constexpr ConfigRet NoSuchDevNode = 0x0D;
inline constexpr ConfigRet AlreadySuchDevNode = 0x10;
inline constexpr ConfigRet Failure = 0x13;
inline constexpr ConfigRet RemoveVetoed = 0x17;
inline constexpr ConfigRet BufferSmall = 0x1A;
inline constexpr ConfigRet RegistryError = 0x1D;
inline constexpr ConfigRet InvalidDeviceId = 0x1E;
inline constexpr ConfigRet InvalidData = 0x1F;
inline constexpr ConfigRet NeedRestart = 0x22;
inline constexpr ConfigRet NoSuchValue = 0x25;
inline constexpr ConfigRet WrongType = 0x26;
inline constexpr ConfigRet NoSuchRegistryKey = 0x2E;
inline constexpr ConfigRet AccessDenied = 0x33;
inline constexpr ConfigRet CallNotImplemented = 0x34;
inline constexpr ConfigRet InvalidProperty = 0x35;
inline constexpr ConfigRet NoSuchDeviceInterface = 0x37;
inline constexpr ConfigRet InvalidIndex = 0x3A;
inline constexpr ConfigRet InvalidStructureSize = 0x3B; // the last CONFIGRET code
} // namespace cr

[[nodiscard]] constexpr bool succeeded(Status s) noexcept {
    return s == winerr::Success;
}

} // namespace ports
