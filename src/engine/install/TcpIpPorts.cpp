#include "engine/install/TcpIpPorts.h"

#include "app/msglog/MessageLog.h"
#include "base/Compare.h"

namespace winerr = ports::winerr;

namespace engine {

namespace {

constexpr std::wstring_view kFailed = L"%s失败. 错误码: %d. 错误描述: %s.";

void reportFailure(const app::AppContext& ctx, std::wstring_view what, ports::Status code) {
    PrintMessageColor(msglog::kRed, ctx.tr(kFailed), what, static_cast<int>(code), ctx.errorText(code));
}

bool openChannel(const app::AppContext& ctx, ports::SpoolerHandle& channel) {
    const auto status =
        ctx.platform.spooler().openPrinter(kTcpIpXcvName, ports::spool::ServerAccessAdminister, channel);
    if (status == winerr::Success)
        return true;
    reportFailure(ctx, kTcpIpXcvName, status);
    return false;
}

// A text cut to fit its field would name another port or address: refuse it whole.
bool fitsRecord(const app::AppContext& ctx, std::wstring_view field, std::wstring_view value,
                std::size_t max) {
    if (value.size() <= max)
        return true;
    reportFailure(ctx,
                  text::format(L"AddPort (%s \"%s\": %d characters, at most %d) ", field, value,
                               static_cast<int>(value.size()), static_cast<int>(max)),
                  winerr::InvalidParameter);
    return false;
}

} // namespace

ports::PortData1 NewTcpIpPortRecord(const InstallContext& ctx) {
    const auto& chosen = ctx.session.chosen;
    ports::PortData1 data;
    data.portName = chosen.portName;
    data.version = 1;
    data.protocol = 1; // PROTOCOL_RAWTCP_TYPE
    data.hostAddress = chosen.ipAddress;
    data.doubleSpool = 1;
    data.ipAddress = chosen.ipAddress;
    data.portNumber = kRawPrinterPort;
    data.snmpEnabled = 0;
    data.snmpDevIndex = 0;
    return data;
}

bool AddTcpIpPort(const InstallContext& ctx) {
    const auto& chosen = ctx.session.chosen;
    if (!fitsRecord(ctx.app, L"port name", chosen.portName, kMaxTcpIpPortName) ||
        !fitsRecord(ctx.app, L"IP address", chosen.ipAddress, kMaxIpAddressText))
        return false;
    ports::SpoolerHandle channel;
    if (!openChannel(ctx.app, channel))
        return false;
    const auto result = ctx.platform().spooler().xcvAddPort(channel, NewTcpIpPortRecord(ctx));
    if (result.call != winerr::Success) {
        reportFailure(ctx.app, L"AddPort", result.call);
        return true;
    }
    if (result.monitor != winerr::Success) {
        reportFailure(ctx.app, L"AddPort dwStatus ", result.monitor);
        return false;
    }
    return true;
}

bool DeleteTcpIpPort(const app::AppContext& ctx, std::wstring_view portName) {
    ports::SpoolerHandle channel;
    if (!openChannel(ctx, channel))
        return false;
    const auto label = text::format(L"Delete Port: %s. ", portName);
    const auto result = ctx.platform.spooler().xcvDeletePort(channel, portName);
    if (result.call == winerr::Success && result.monitor == winerr::Success) {
        channel.reset();
        if (ctx.debug())
            PrintMessage(L"%s", label);
        return true;
    }
    reportFailure(ctx, label, result.call != winerr::Success ? result.call : result.monitor);
    return false;
}

bool DeletePortIfTcpIp(const app::AppContext& ctx, std::wstring_view portName) {
    std::vector<ports::PortInfo2> list;
    if (ctx.platform.spooler().enumPorts2(list) != winerr::Success)
        return false;
    for (const auto& port : list) {
        if (!text::equalsNoCase(port.portName, portName))
            continue;
        if (!port.monitorName || !text::equalsNoCase(*port.monitorName, kTcpIpMonitorDll))
            return false;
        return DeleteTcpIpPort(ctx, portName);
    }
    return false;
}

} // namespace engine
