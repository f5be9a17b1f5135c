// The language monitor: the spooler stacks it on the port monitor of the printer's port (USB, LPT,
// TCP/IP) and sends it each job. It passes the job through to the port monitor below unchanged,
// reads back what the printer answers, and hands the port monitor's printer data on. Each port it
// opens keeps the port monitor's table and handle, so several ports on different monitors work.
#include <windows.h>

#include <winspool.h>
// After winspool.h, whose records it uses.
#include <winsplp.h>

#include <new>

namespace {

struct LanguagePort {
    const MONITOR2* below = nullptr;
    HANDLE belowPort = nullptr;
};

LanguagePort* portOf(HANDLE port) noexcept {
    return static_cast<LanguagePort*>(port);
}

// The monitor's own context: nothing yet beyond proving that Shutdown gets what Initialize gave.
struct MonitorContext {
    DWORD signature = 0x4D4C524F; // "ORLM"
};

BOOL notSupported() noexcept {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

BOOL WINAPI openPortEx(HANDLE, HANDLE belowMonitor, LPWSTR portName, LPWSTR, PHANDLE handle,
                       MONITOR2* below) {
    if (!handle || !below || !below->pfnOpenPort) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* port = new (std::nothrow) LanguagePort;
    if (!port) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    port->below = below;
    if (!below->pfnOpenPort(belowMonitor, portName, &port->belowPort)) {
        const DWORD error = GetLastError();
        delete port;
        SetLastError(error);
        return FALSE;
    }
    *handle = port;
    return TRUE;
}

BOOL WINAPI startDocPort(HANDLE handle, LPWSTR printerName, DWORD jobId, DWORD level, LPBYTE docInfo) {
    const LanguagePort* port = portOf(handle);
    if (!port->below->pfnStartDocPort)
        return notSupported();
    return port->below->pfnStartDocPort(port->belowPort, printerName, jobId, level, docInfo);
}

BOOL WINAPI writePort(HANDLE handle, LPBYTE buffer, DWORD size, LPDWORD written) {
    const LanguagePort* port = portOf(handle);
    if (!port->below->pfnWritePort)
        return notSupported();
    return port->below->pfnWritePort(port->belowPort, buffer, size, written);
}

BOOL WINAPI readPort(HANDLE handle, LPBYTE buffer, DWORD size, LPDWORD read) {
    const LanguagePort* port = portOf(handle);
    if (!port->below->pfnReadPort)
        return notSupported();
    return port->below->pfnReadPort(port->belowPort, buffer, size, read);
}

BOOL WINAPI endDocPort(HANDLE handle) {
    const LanguagePort* port = portOf(handle);
    if (!port->below->pfnEndDocPort)
        return notSupported();
    return port->below->pfnEndDocPort(port->belowPort);
}

BOOL WINAPI closePort(HANDLE handle) {
    LanguagePort* port = portOf(handle);
    const BOOL closed = port->below->pfnClosePort ? port->below->pfnClosePort(port->belowPort) : TRUE;
    const DWORD error = GetLastError();
    delete port;
    SetLastError(error);
    return closed;
}

BOOL WINAPI getPrinterDataFromPort(HANDLE handle, DWORD controlId, LPWSTR valueName, LPWSTR in, DWORD inSize,
                                   LPWSTR out, DWORD outSize, LPDWORD returned) {
    const LanguagePort* port = portOf(handle);
    if (!port->below->pfnGetPrinterDataFromPort)
        return notSupported();
    return port->below->pfnGetPrinterDataFromPort(port->belowPort, controlId, valueName, in, inSize, out,
                                                  outSize, returned);
}

BOOL WINAPI setPortTimeOuts(HANDLE handle, LPCOMMTIMEOUTS timeouts, DWORD reserved) {
    const LanguagePort* port = portOf(handle);
    if (!port->below->pfnSetPortTimeOuts)
        return notSupported();
    return port->below->pfnSetPortTimeOuts(port->belowPort, timeouts, reserved);
}

VOID WINAPI shutdown(HANDLE monitor) {
    delete static_cast<MonitorContext*>(monitor);
}

MONITOR2 makeTable() noexcept {
    MONITOR2 table{};
    table.cbSize = sizeof table;
    table.pfnOpenPortEx = openPortEx;
    table.pfnStartDocPort = startDocPort;
    table.pfnWritePort = writePort;
    table.pfnReadPort = readPort;
    table.pfnEndDocPort = endDocPort;
    table.pfnClosePort = closePort;
    table.pfnGetPrinterDataFromPort = getPrinterDataFromPort;
    table.pfnSetPortTimeOuts = setPortTimeOuts;
    table.pfnShutdown = shutdown;
    return table;
}

MONITOR2 g_table = makeTable();

} // namespace

extern "C" LPMONITOR2 WINAPI InitializePrintMonitor2(PMONITORINIT init, PHANDLE monitor) {
    if (!init || !monitor || init->cbSize < sizeof(MONITORINIT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto* context = new (std::nothrow) MonitorContext;
    if (!context) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    *monitor = context;
    return &g_table;
}
