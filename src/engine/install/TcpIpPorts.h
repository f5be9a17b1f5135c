#pragma once
// Standard TCP/IP ports (raw, TCP 9100) through the Standard TCP/IP monitor's data channel: the port
// of a network installation, and the removal of the ports of deleted printers. Ports of other
// monitors are never created or deleted here.
#include "engine/install/InstallContext.h"

#include <cstddef>
#include <string_view>

namespace engine {

inline constexpr std::wstring_view kTcpIpXcvName = L",XcvMonitor Standard TCP/IP Port";
inline constexpr std::wstring_view kTcpIpMonitorDll = L"TCPMON.DLL";
inline constexpr std::uint32_t kRawPrinterPort = 9100;
// The records' text fields hold this many characters before their NUL.
inline constexpr std::size_t kMaxTcpIpPortName = 63;
inline constexpr std::size_t kMaxIpAddressText = 15;

// The PORT_DATA_1 of the chosen printer's port: raw on 9100, double spooling on, SNMP off, host and
// IP address both the chosen address.
ports::PortData1 NewTcpIpPortRecord(const InstallContext& ctx);
// Creates the chosen printer's port. True when the installation goes on: the port was added, or the
// call itself failed (reported; the port may exist from an earlier installation). False, reported,
// when the channel does not open, the monitor refuses the port (an existing name among others), or
// the name or address does not fit the record, in which case nothing is sent.
bool AddTcpIpPort(const InstallContext& ctx);
// Deletes a port of the Standard TCP/IP monitor; failures are reported, a success only in debug mode.
bool DeleteTcpIpPort(const app::AppContext& ctx, std::wstring_view portName);
// Deletes the port only when the spooler lists it (in any letter case) under TCPMON.DLL; other ports
// are left alone without a word.
bool DeletePortIfTcpIp(const app::AppContext& ctx, std::wstring_view portName);

} // namespace engine
