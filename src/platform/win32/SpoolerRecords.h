#pragma once
// Conversions between the spooler's records (PRINTER_INFO_n, DRIVER_INFO_n, DEVMODEW, ...) and the
// plain values of ports/SpoolerTypes.h. Reading copies every text out of the system's buffer;
// writing builds a record whose pointers lead into texts the writer object owns, so a writer must
// stay where it was built while the call runs.
#include "platform/ports/SpoolerTypes.h"
#include "platform/ports/Status.h"
#include "platform/win32/MingwGaps.h"

#include <windows.h>
#include <winspool.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace win32 {

// --- reading
std::wstring textOf(const wchar_t* p);
ports::NullableText nullableOf(const wchar_t* p);
std::vector<std::wstring> multiTextOf(const wchar_t* p);
ports::FileTime fileTimeOf(const FILETIME& ft);
std::vector<std::uint8_t> securityDescriptorOf(PSECURITY_DESCRIPTOR sd);

// The record is dmSize + dmDriverExtra bytes long; `raw` keeps all of them.
ports::DevMode devModeOf(const DEVMODEW& dm);
ports::PrinterInfo2 printerInfo2Of(const PRINTER_INFO_2W& pi);
// Any level 1 to 9 from the record GetPrinterW placed at `record`.
ports::PrinterInfoAtLevel printerInfoAtLevelOf(DWORD level, const BYTE* record);
// Level 1 to 6 or 8, from the record at `record`.
ports::DriverInfo driverInfoOf(DWORD level, const BYTE* record);
std::size_t driverInfoSize(DWORD level); // 0 for a level the spooler does not have
ports::FormInfo1 formInfo1Of(const FORM_INFO_1W& f);

// --- writing
// The whole record as the caller gave it, or one built from the decoded fields when `raw` is empty.
std::vector<std::uint8_t> devModeBytes(const ports::DevMode& dm);

class PrinterInfo2Writer {
public:
    explicit PrinterInfo2Writer(const ports::PrinterInfo2& info);
    PrinterInfo2Writer(const PrinterInfo2Writer&) = delete;
    PrinterInfo2Writer& operator=(const PrinterInfo2Writer&) = delete;
    PRINTER_INFO_2W* get() { return &record_; }

private:
    ports::PrinterInfo2 info_; // owns the texts the record points into
    std::vector<std::uint8_t> devMode_;
    PRINTER_INFO_2W record_{};
};

// A DRIVER_INFO_8W filled from `info`: levels 2, 3, 4, 6 and 8 are prefixes of it, so the same
// record serves AddPrinterDriverW at each of them.
class DriverInfoWriter {
public:
    explicit DriverInfoWriter(const ports::DriverInfo& info);
    DriverInfoWriter(const DriverInfoWriter&) = delete;
    DriverInfoWriter& operator=(const DriverInfoWriter&) = delete;
    BYTE* get() { return reinterpret_cast<BYTE*>(&record_); }
    static bool writableLevel(DWORD level) {
        return level == 2 || level == 3 || level == 4 || level == 6 || level == 8;
    }

private:
    ports::DriverInfo info_;
    std::wstring dependentFiles_, previousNames_, colorProfiles_, coreDependencies_;
    DRIVER_INFO_8W record_{};
};

// PORT_DATA_1 and DELETE_PORT_DATA_1 from their values. A text longer than its field is refused
// with ERROR_INVALID_PARAMETER: cutting it would create or delete another port than the one named.
ports::Status portData1Of(const ports::PortData1& data, PORT_DATA_1& out);
ports::Status deletePortData1Of(std::wstring_view portName, DELETE_PORT_DATA_1& out);

} // namespace win32
