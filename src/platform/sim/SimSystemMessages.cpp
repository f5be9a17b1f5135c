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
    {50, L"The request is not supported."},
    {80, L"The file exists."},
    {87, L"The parameter is incorrect."},
    {120, L"This function is not supported on this system."},
    {122, L"The data area passed to a system call is too small."},
    {123, L"The filename, directory name, or volume label syntax is incorrect."},
    {124, L"The system call level is not correct."},
    {126, L"The specified module could not be found."},
    {127, L"The specified procedure could not be found."},
    {145, L"The directory is not empty."},
    {183, L"Cannot create a file when that file already exists."},
    {206, L"The filename or extension is too long."},
    {234, L"More data is available."},
    {258, L"The wait operation timed out."},
    {259, L"No more data is available."},
    {1056, L"An instance of the service is already running."},
    {1060, L"The specified service does not exist as an installed service."},
    {1062, L"The service has not been started."},
    {1168, L"Element not found."},
    {1313, L"A specified privilege does not exist."},
    {1460, L"This operation returned because the timeout period expired."},
    {1796, L"The specified port is unknown."},
    {1797, L"The printer driver is unknown."},
    {1801, L"The printer name is invalid."},
    {1802, L"The printer already exists."},
    {3000, L"The specified print monitor is unknown."},
    {3001, L"The specified printer driver is currently in use."},
    {3008, L"The specified print monitor is currently in use."},
    {3010, L"The requested operation is successful. Changes will not be effective until the system is "
           L"rebooted."},
    {3015, L"The specified printer driver package is currently in use."},
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
