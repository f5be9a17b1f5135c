#pragma once
// The USB half of printer discovery: which label printers are plugged in, which catalogue model each
// one is, and whether a queue for it exists already. One scan runs on the UI thread every 500 ms
// while a search or model page is shown and keeps the session's `devices` current: a printer that
// is plugged in is appended, one that is pulled out is removed, one that stays keeps its place.
#include "app/AppContext.h"
#include "app/PrinterEntry.h"
#include "app/SetupSession.h"
#include "catalogue/XmlDocument.h"
#include "platform/ports/DeviceTree.h"
#include "platform/ports/PrintSpooler.h"
#include "platform/ports/SystemInfo.h"

#include <optional>
#include <string>
#include <vector>
#include <string_view>

namespace discovery {

struct UsbScanContext {
    const app::AppContext& app;
    const catalogue::XmlDocument& catalogue;
    SetupSession& session;
};

// One scan: finds the printers, identifies their models for the session's port type and manufacturer,
// and merges them into session.devices, setting devices.listChanged when an entry comes or goes.
// What it does goes to the log file.
void ScanUsbPrinters(const UsbScanContext& scan);

// Sets and returns entry.installed: true when a local queue's Plug and Play data names the device,
// or a queue with a driver on the device's USB port carries its hardware ID.
bool UpdateInstalledFlag(ports::PrintSpooler& spooler, PrinterEntry& entry);

// What the installed check reads of each local queue; none when the queues cannot be listed.
struct QueueIdentity {
    std::wstring deviceInstanceId; // PnPData
    std::wstring driverName;       // DsSpooler
    std::wstring portName;         // DsSpooler
    std::wstring hardwareId;       // PnPData
};
std::optional<std::vector<QueueIdentity>> ReadQueueIdentities(ports::PrintSpooler& spooler);
// The same check against queues read before.
bool UpdateInstalledFlag(const std::vector<QueueIdentity>& queues, PrinterEntry& entry);

// The Bluetooth name a printer of the name-identified family reports over its USB interface: the
// reply up to its first NUL, from the ANSI code page; "" when the device cannot be reached or does
// not answer in time.
std::wstring ReadUsbBluetoothName(ports::DeviceTree& tree, ports::SystemInfo& system,
                                  std::wstring_view devicePath);

} // namespace discovery
