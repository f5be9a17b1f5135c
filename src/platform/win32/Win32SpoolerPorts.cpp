// Ports, port monitors, the monitors' Xcv channel and the shell calls of the spooler port.
#include "platform/win32/Win32PrintSpooler.h"

#include "platform/win32/SizedBuffer.h"
#include "platform/win32/SpoolerRecords.h"

#include <shlobj.h>

#include <string>

namespace win32 {
namespace {
using ports::Status;
namespace winerr = ports::winerr;

Status enumPorts(DWORD level, RecordBuffer& buf, DWORD& count) {
    return fillRecordBuffer(buf, [&](BYTE* b, DWORD size, DWORD* needed) {
        return EnumPortsW(nullptr, level, b, size, needed, &count);
    });
}

// XcvDataW with no output buffer: TRUE only says that the monitor was reached; what it did is the
// status it wrote.
ports::XcvResult xcvData(HANDLE xcv, const wchar_t* command, void* input, DWORD inputSize) {
    DWORD needed = 0, status = 0;
    if (!XcvDataW(xcv, command, static_cast<BYTE*>(input), inputSize, nullptr, 0, &needed, &status))
        return {lastError(), status};
    return {winerr::Success, status};
}

} // namespace

Status Win32PrintSpooler::enumPorts1(std::vector<ports::PortInfo1>& out) noexcept {
    out.clear();
    RecordBuffer buf;
    DWORD count = 0;
    if (Status s = enumPorts(1, buf, count))
        return s;
    const auto* records = reinterpret_cast<const PORT_INFO_1W*>(bytes(buf));
    for (DWORD i = 0; i < count; ++i)
        out.push_back({textOf(records[i].pName)});
    return winerr::Success;
}

Status Win32PrintSpooler::enumPorts2(std::vector<ports::PortInfo2>& out) noexcept {
    out.clear();
    RecordBuffer buf;
    DWORD count = 0;
    if (Status s = enumPorts(2, buf, count))
        return s;
    const auto* records = reinterpret_cast<const PORT_INFO_2W*>(bytes(buf));
    for (DWORD i = 0; i < count; ++i) {
        const PORT_INFO_2W& r = records[i];
        out.push_back({textOf(r.pPortName), nullableOf(r.pMonitorName), nullableOf(r.pDescription),
                       r.fPortType, r.Reserved});
    }
    return winerr::Success;
}

Status Win32PrintSpooler::addPortUi(ports::WindowId owner, std::wstring_view monitorName) noexcept {
    std::wstring m(monitorName);
    return AddPortW(nullptr, reinterpret_cast<HWND>(owner), m.data()) ? winerr::Success : lastError();
}

Status Win32PrintSpooler::configurePortUi(ports::WindowId owner, std::wstring_view portName) noexcept {
    std::wstring p(portName);
    return ConfigurePortW(nullptr, reinterpret_cast<HWND>(owner), p.data()) ? winerr::Success : lastError();
}

Status Win32PrintSpooler::deletePortUi(ports::WindowId owner, std::wstring_view portName) noexcept {
    std::wstring p(portName);
    return DeletePortW(nullptr, reinterpret_cast<HWND>(owner), p.data()) ? winerr::Success : lastError();
}

ports::XcvResult Win32PrintSpooler::xcvAddPort(ports::SpoolerHandle& xcv,
                                               const ports::PortData1& data) noexcept {
    const auto h = handleOf(xcv);
    if (!h)
        return {ERROR_INVALID_HANDLE, 0};
    PORT_DATA_1 record;
    if (Status s = portData1Of(data, record))
        return {s, 0};
    return xcvData(h, L"AddPort", &record, sizeof record);
}

ports::XcvResult Win32PrintSpooler::xcvDeletePort(ports::SpoolerHandle& xcv,
                                                  std::wstring_view portName) noexcept {
    const auto h = handleOf(xcv);
    if (!h)
        return {ERROR_INVALID_HANDLE, 0};
    DELETE_PORT_DATA_1 record;
    if (Status s = deletePortData1Of(portName, record))
        return {s, 0};
    return xcvData(h, L"DeletePort", &record, sizeof record);
}

Status Win32PrintSpooler::enumMonitors2(std::vector<ports::MonitorInfo2>& out) noexcept {
    out.clear();
    RecordBuffer buf;
    DWORD count = 0;
    if (Status s = fillRecordBuffer(buf, [&](BYTE* b, DWORD size, DWORD* needed) {
            return EnumMonitorsW(nullptr, 2, b, size, needed, &count);
        }))
        return s;
    const auto* records = reinterpret_cast<const MONITOR_INFO_2W*>(bytes(buf));
    for (DWORD i = 0; i < count; ++i)
        out.push_back(
            {textOf(records[i].pName), textOf(records[i].pEnvironment), textOf(records[i].pDLLName)});
    return winerr::Success;
}

Status Win32PrintSpooler::addMonitor(const ports::MonitorInfo2& info) noexcept {
    std::wstring name(info.name), env(info.environment), dll(info.dllName);
    MONITOR_INFO_2W record{name.empty() ? nullptr : name.data(), env.empty() ? nullptr : env.data(),
                           dll.empty() ? nullptr : dll.data()};
    return AddMonitorW(nullptr, 2, reinterpret_cast<BYTE*>(&record)) ? winerr::Success : lastError();
}

Status Win32PrintSpooler::deleteMonitor(std::wstring_view environment, std::wstring_view name) noexcept {
    std::wstring env(environment), n(name);
    return DeleteMonitorW(nullptr, env.empty() ? nullptr : env.data(), n.data()) ? winerr::Success
                                                                                 : lastError();
}

void Win32PrintSpooler::announcePrinterChange(std::wstring_view printerName) noexcept {
    const std::wstring n(printerName);
    SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PRINTERW, n.c_str(), nullptr);
}

Status Win32PrintSpooler::invokePrinterCommand(ports::WindowId owner, std::uint32_t action,
                                               std::wstring_view printerPath) noexcept {
    if (!invokeCommand_)
        return ERROR_PROC_NOT_FOUND;
    const std::wstring path(printerPath);
    return invokeCommand_(reinterpret_cast<HWND>(owner), action, path.c_str()) ? winerr::Success
                                                                               : lastError();
}

} // namespace win32
