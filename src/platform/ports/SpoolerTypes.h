#pragma once
// The records the print spooler port takes and gives: PRINTER_INFO_n, DRIVER_INFO_n, PORT_INFO_n,
// MONITOR_INFO_2, FORM_INFO_1, DEVMODE and the Standard TCP/IP monitor's PORT_DATA_1, as plain
// values. A field Windows may leave NULL and whose absence matters (a driver without a monitor, a
// printer whose location is "" rather than none) is a NullableText; the others are plain texts
// where "" stands for NULL.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ports {

using NullableText = std::optional<std::wstring>;

// A FILETIME: 100-nanosecond intervals since 1601-01-01 (UTC or local, as Windows stored it).
using FileTime = std::uint64_t;

// The fields of a DEVMODEW, decoded, plus the whole record as the driver returned it (public part
// and driver-private bytes). Whoever writes a DEVMODE back passes `raw`; the decoded fields are for
// reading. The two unions of DEVMODEW appear under both names.
struct DevMode {
    std::wstring deviceName;
    std::uint16_t specVersion = 0;
    std::uint16_t driverVersion = 0;
    std::uint16_t size = 0;
    std::uint16_t driverExtra = 0;
    std::uint32_t fields = 0; // DM_* bits
    std::int16_t orientation = 0;
    std::int16_t paperSize = 0;
    std::int16_t paperLength = 0;
    std::int16_t paperWidth = 0;
    std::int16_t scale = 0;
    std::int16_t copies = 0;
    std::int16_t defaultSource = 0;
    std::int16_t printQuality = 0;
    std::int32_t positionX = 0; // dmPosition shares its bytes with orientation ... scale
    std::int32_t positionY = 0;
    std::uint32_t displayOrientation = 0; // shares copies and defaultSource
    std::uint32_t displayFixedOutput = 0; // shares printQuality's place and the next word
    std::int16_t color = 0;
    std::int16_t duplex = 0;
    std::int16_t yResolution = 0;
    std::int16_t ttOption = 0;
    std::int16_t collate = 0;
    std::wstring formName;
    std::uint16_t logPixels = 0;
    std::uint32_t bitsPerPel = 0;
    std::uint32_t pelsWidth = 0;
    std::uint32_t pelsHeight = 0;
    std::uint32_t displayFlags = 0; // also dmNup
    std::uint32_t displayFrequency = 0;
    std::uint32_t icmMethod = 0;
    std::uint32_t icmIntent = 0;
    std::uint32_t mediaType = 0;
    std::uint32_t ditherType = 0;
    std::uint32_t reserved1 = 0;
    std::uint32_t reserved2 = 0;
    std::uint32_t panningWidth = 0;
    std::uint32_t panningHeight = 0;
    std::vector<std::uint8_t> raw;
};

struct PrinterInfo2 {
    NullableText serverName;
    std::wstring printerName;
    NullableText shareName;
    std::wstring portName;
    std::wstring driverName;
    NullableText comment;
    NullableText location;
    std::optional<DevMode> devMode;
    NullableText sepFile;
    std::wstring printProcessor;
    std::wstring datatype;
    NullableText parameters;
    std::vector<std::uint8_t> securityDescriptor; // self-relative; empty for none
    std::uint32_t attributes = 0;
    std::uint32_t priority = 0;
    std::uint32_t defaultPriority = 0;
    std::uint32_t startTime = 0;
    std::uint32_t untilTime = 0;
    std::uint32_t status = 0;
    std::uint32_t cJobs = 0;
    std::uint32_t averagePPM = 0;
};

struct PrinterInfo4 {
    std::wstring printerName;
    NullableText serverName;
    std::uint32_t attributes = 0;
};

// Any level 1 to 9, for the printer viewer: only the fields of `level` are filled. Pointer fields
// (pDevMode, pSecurityDescriptor) are given as their content; "present" is a non-empty value.
struct PrinterInfoAtLevel {
    std::uint32_t level = 0;
    PrinterInfo2 info2;                           // level 2
    std::uint32_t flags = 0;                      // level 1
    std::wstring description;                     // level 1
    std::wstring name;                            // level 1
    std::wstring comment;                         // level 1
    std::vector<std::uint8_t> securityDescriptor; // level 3
    PrinterInfo4 info4;                           // level 4
    std::wstring printerName;                     // level 5
    std::wstring portName;                        // level 5
    std::uint32_t attributes = 0;                 // level 5
    std::uint32_t deviceNotSelectedTimeout = 0;   // level 5
    std::uint32_t transmissionRetryTimeout = 0;   // level 5
    std::uint32_t status = 0;                     // level 6
    std::wstring objectGuid;                      // level 7
    std::uint32_t action = 0;                     // level 7
    std::optional<DevMode> devMode;               // levels 8 and 9
};

// DRIVER_INFO_1 to _6 and _8 in one record: `level` says which fields the spooler filled (or which
// the caller means when adding a driver). Multi-string fields are lists.
struct DriverInfo {
    std::uint32_t level = 0;
    std::uint32_t version = 0; // cVersion
    std::wstring name;
    std::wstring environment;
    std::wstring driverPath;
    std::wstring dataFile;
    std::wstring configFile;
    NullableText helpFile;                            // 3+
    std::vector<std::wstring> dependentFiles;         // 3+; empty for none
    NullableText monitorName;                         // 3+
    NullableText defaultDataType;                     // 3+
    std::vector<std::wstring> previousNames;          // 4+
    std::uint32_t driverAttributes = 0;               // 5
    std::uint32_t configVersion = 0;                  // 5
    std::uint32_t driverVersion = 0;                  // 5 (dwDriverVersion)
    FileTime driverDate = 0;                          // 6+
    std::uint64_t driverVersionQuad = 0;              // 6+ (dwlDriverVersion)
    NullableText mfgName;                             // 6+
    NullableText oemUrl;                              // 6+
    NullableText hardwareId;                          // 6+
    NullableText provider;                            // 6+
    NullableText printProcessor;                      // 8
    NullableText vendorSetup;                         // 8
    std::vector<std::wstring> colorProfiles;          // 8
    NullableText infPath;                             // 8: the driver-store INF; none when not from the store
    std::uint32_t printerDriverAttributes = 0;        // 8
    std::vector<std::wstring> coreDriverDependencies; // 8
    FileTime minInboxDriverVerDate = 0;               // 8
    std::uint64_t minInboxDriverVerVersion = 0;       // 8
};

struct PortInfo1 {
    std::wstring name;
};

struct PortInfo2 {
    std::wstring portName;
    NullableText monitorName;
    NullableText description;
    std::uint32_t portType = 0; // PORT_TYPE_WRITE 1, _READ 2, _REDIRECTED 4, _NET_ATTACHED 8
    std::uint32_t reserved = 0;
};

struct MonitorInfo2 {
    std::wstring name;
    std::wstring environment;
    std::wstring dllName;
};

struct FormSize {
    std::int32_t cx = 0; // thousandths of a millimetre
    std::int32_t cy = 0;
};
struct FormRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};
struct FormInfo1 {
    std::uint32_t flags = 0; // FORM_USER 0, FORM_BUILTIN 1, FORM_PRINTER 2
    std::wstring name;
    FormSize size;
    FormRect imageableArea;
};

// PORT_DATA_1 of the Standard TCP/IP monitor (964 bytes on the wire). Texts longer than their field
// (63 characters for the port name, 48 host, 32 community and queue, 15 IP address) are refused by
// the port with winerr::InvalidParameter as the call result.
struct PortData1 {
    std::wstring portName;
    std::uint32_t version = 1;
    std::uint32_t protocol = 1; // PROTOCOL_RAWTCP_TYPE 1, PROTOCOL_LPR_TYPE 2
    std::wstring hostAddress;
    std::wstring snmpCommunity;
    std::uint32_t doubleSpool = 0;
    std::wstring queue;
    std::wstring ipAddress;
    std::uint32_t portNumber = 0;
    std::uint32_t snmpEnabled = 0;
    std::uint32_t snmpDevIndex = 0;
};

// Constants of winspool.h the callers pass through the port.
namespace spool {
inline constexpr std::uint32_t PrinterAllAccess = 0xF000C;
inline constexpr std::uint32_t PrinterAccessUse = 0x8;
inline constexpr std::uint32_t ServerAccessAdminister = 0x1;

inline constexpr std::uint32_t EnumLocal = 0x2;
inline constexpr std::uint32_t EnumConnections = 0x4;

inline constexpr std::uint32_t ControlPurge = 3;      // SetPrinter level 0 command
inline constexpr std::uint32_t DsPrintUpdate = 2;     // PRINTER_INFO_7 action
inline constexpr std::uint32_t AttributeLocal = 0x40; // PRINTER_ATTRIBUTE_LOCAL

inline constexpr std::uint32_t DeleteUnusedFiles = 1; // DPD_DELETE_UNUSED_FILES
inline constexpr std::uint32_t DeleteSpecificVersion = 2;
inline constexpr std::uint32_t DeleteAllFiles = 4;

inline constexpr std::uint32_t UploadSilent = 1; // UPDP_SILENT_UPLOAD
inline constexpr std::uint32_t UploadAlways = 2; // UPDP_UPLOAD_ALWAYS
inline constexpr std::uint32_t UploadCheckDriverStore = 4;
inline constexpr std::uint32_t InstallCopyAllFiles = 1; // IPDFP_COPY_ALL_FILES

inline constexpr std::uint32_t FormUser = 0;
inline constexpr std::uint32_t FormBuiltin = 1;
inline constexpr std::uint32_t FormPrinter = 2;

// DocumentProperties modes and answers.
inline constexpr std::uint32_t DmOutBuffer = 2;
inline constexpr std::uint32_t DmInPrompt = 4;
inline constexpr std::uint32_t DmInBuffer = 8;
inline constexpr std::int32_t IdOk = 1;
inline constexpr std::int32_t IdCancel = 2;

inline constexpr std::uint32_t PrintActionProperties = 1; // SHInvokePrinterCommand
} // namespace spool

} // namespace ports
