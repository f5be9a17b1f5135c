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
} // namespace winerr

[[nodiscard]] constexpr bool succeeded(Status s) noexcept {
    return s == winerr::Success;
}

} // namespace ports
