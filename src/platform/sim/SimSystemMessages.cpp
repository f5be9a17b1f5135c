// The system message texts of an English Windows, for the codes the simulated machine gives.
#include "platform/sim/SimSystemInfo.h"

#include <algorithm>
#include <iterator>

namespace sim {

namespace {

struct Message {
    std::uint32_t code;
    const wchar_t* text;
};

// Sorted by code.
constexpr Message kMessages[] = {
    {0, L"The operation completed successfully."},
    {1, L"Incorrect function."},
    {2, L"The system cannot find the file specified."},
    {3, L"The system cannot find the path specified."},
    {5, L"Access is denied."},
    {6, L"The handle is invalid."},
    {8, L"Not enough memory resources are available to process this command."},
    {13, L"The data is invalid."},
    {14, L"Not enough memory resources are available to complete this operation."},
    {18, L"There are no more files."},
    {31, L"A device attached to the system is not functioning."},
    {50, L"The request is not supported."},
    {80, L"The file exists."},
    {87, L"The parameter is incorrect."},
    {109, L"The pipe has been ended."},
    {120, L"This function is not supported on this system."},
    {122, L"The data area passed to a system call is too small."},
    {123, L"The filename, directory name, or volume label syntax is incorrect."},
    {124, L"The system call level is not correct."},
    {126, L"The specified module could not be found."},
    {127, L"The specified procedure could not be found."},
    {145, L"The directory is not empty."},
    {170, L"The requested resource is in use."},
    {183, L"Cannot create a file when that file already exists."},
    {193, L"%1 is not a valid Win32 application."},
    {206, L"The filename or extension is too long."},
    {232, L"The pipe is being closed."},
    {234, L"More data is available."},
    {258, L"The wait operation timed out."},
    {259, L"No more data is available."},
    {995, L"The I/O operation has been aborted because of either a thread exit or an application request."},
    {996, L"Overlapped I/O event is not in a signaled state."},
    {997, L"Overlapped I/O operation is in progress."},
    {1004, L"Invalid flags."},
    {1052, L"The requested control is not valid for this service."},
    {1053, L"The service did not respond to the start or control request in a timely fashion."},
    {1056, L"An instance of the service is already running."},
    {1058, L"The service cannot be started, either because it is disabled or because it has no enabled "
           L"devices associated with it."},
    {1060, L"The specified service does not exist as an installed service."},
    {1061, L"The service cannot accept control messages at this time."},
    {1062, L"The service has not been started."},
    {1072, L"The specified service has been marked for deletion."},
    {1167, L"The device is not connected."},
    {1168, L"Element not found."},
    {1200, L"The specified device name is invalid."},
    {1223, L"The operation was canceled by the user."},
    {1244, L"The operation being requested was not performed because the user has not been authenticated."},
    {1313, L"A specified privilege does not exist."},
    {1460, L"This operation returned because the timeout period expired."},
    {1722, L"The RPC server is unavailable."},
    {1796, L"The specified port is unknown."},
    {1797, L"The printer driver is unknown."},
    {1798, L"The print processor is unknown."},
    {1801, L"The printer name is invalid."},
    {1802, L"The printer already exists."},
    {1803, L"The printer command is invalid."},
    {1804, L"The specified datatype is invalid."},
    {1805, L"The environment specified is invalid."},
    {1902, L"The specified form name is invalid."},
    {1903, L"The specified form size is invalid."},
    {3000, L"The specified print monitor is unknown."},
    {3001, L"The specified printer driver is currently in use."},
    {3006, L"The specified print monitor has already been installed."},
    {3007, L"The specified print monitor does not have the required functions."},
    {3008, L"The specified print monitor is currently in use."},
    {3009, L"The requested operation is not allowed when there are jobs queued to the printer."},
    {3010, L"The requested operation is successful. Changes will not be effective until the system is "
           L"rebooted."},
    {3015, L"The specified printer driver package is currently in use."},
    {4319, L"The device is not ready for use."},
    {10092, L"The Windows Sockets version requested is not supported."},
    {10093, L"Either the application has not called WSAStartup, or WSAStartup failed."},
    {0x8000000A, L"The data necessary to complete this operation is not yet available."},
    {0x80004001, L"Not implemented"},
    {0x80004002, L"No such interface supported"},
    {0x80004003, L"Invalid pointer"},
    {0x80004004, L"Operation aborted"},
    {0x80004005, L"Unspecified error"},
    {0x8000FFFF, L"Catastrophic failure"},
};

static_assert(std::is_sorted(std::begin(kMessages), std::end(kMessages),
                             [](const Message& a, const Message& b) { return a.code < b.code; }));

} // namespace

std::wstring englishSystemMessage(std::uint32_t code) {
    if ((code & 0xFFFF0000u) == 0x80070000u) // HRESULT_FROM_WIN32
        code &= 0xFFFFu;
    const auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), code,
                                     [](const Message& m, std::uint32_t c) { return m.code < c; });
    if (it == std::end(kMessages) || it->code != code)
        return {};
    return std::wstring(it->text) + L"\r\n";
}

} // namespace sim
