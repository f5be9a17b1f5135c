#include "platform/win32/SpoolerRecords.h"
#include "platform/win32/RecordLayouts.h"

#include <algorithm>
#include <cstring>

namespace win32 {
namespace {

// "" stands for NULL in the plain text fields.
LPWSTR orNull(const std::wstring& s) {
    return s.empty() ? nullptr : const_cast<LPWSTR>(s.c_str());
}
LPWSTR orNull(const ports::NullableText& s) {
    return s ? const_cast<LPWSTR>(s->c_str()) : nullptr;
}

// Each text followed by a NUL, then one more NUL; an empty list is NULL.
std::wstring multiText(const std::vector<std::wstring>& texts) {
    std::wstring out;
    for (const auto& t : texts) {
        out += t;
        out.push_back(L'\0');
    }
    if (!out.empty())
        out.push_back(L'\0');
    return out;
}

FILETIME fileTime(ports::FileTime t) {
    return {static_cast<DWORD>(t & 0xFFFFFFFFu), static_cast<DWORD>(t >> 32)};
}

std::wstring fixedText(const WCHAR* field, std::size_t capacity) {
    std::size_t n = 0;
    while (n < capacity && field[n])
        ++n;
    return std::wstring(field, n);
}

// Copies `text` with its NUL into a field of `capacity` characters; false when it does not fit.
bool copyFixed(std::wstring_view text, WCHAR* field, std::size_t capacity) {
    if (text.size() >= capacity)
        return false;
    std::copy(text.begin(), text.end(), field);
    field[text.size()] = L'\0';
    return true;
}

} // namespace

std::wstring textOf(const wchar_t* p) {
    return p ? std::wstring(p) : std::wstring();
}

ports::NullableText nullableOf(const wchar_t* p) {
    return p ? ports::NullableText(p) : std::nullopt;
}

std::vector<std::wstring> multiTextOf(const wchar_t* p) {
    std::vector<std::wstring> out;
    while (p && *p) {
        out.emplace_back(p);
        p += out.back().size() + 1;
    }
    return out;
}

ports::FileTime fileTimeOf(const FILETIME& ft) {
    return (static_cast<ports::FileTime>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

std::vector<std::uint8_t> securityDescriptorOf(PSECURITY_DESCRIPTOR sd) {
    if (!sd || !IsValidSecurityDescriptor(sd))
        return {};
    const auto* p = static_cast<const std::uint8_t*>(sd);
    return std::vector<std::uint8_t>(p, p + GetSecurityDescriptorLength(sd));
}

ports::DevMode devModeOf(const DEVMODEW& in) {
    // Drivers built for older systems return a shorter public part: the missing fields read as 0.
    DEVMODEW dm{};
    std::memcpy(&dm, &in, std::min<std::size_t>(in.dmSize, sizeof dm));
    ports::DevMode out;
    out.deviceName = fixedText(dm.dmDeviceName, CCHDEVICENAME);
    out.specVersion = dm.dmSpecVersion;
    out.driverVersion = dm.dmDriverVersion;
    out.size = in.dmSize;
    out.driverExtra = in.dmDriverExtra;
    out.fields = dm.dmFields;
    out.orientation = dm.dmOrientation;
    out.paperSize = dm.dmPaperSize;
    out.paperLength = dm.dmPaperLength;
    out.paperWidth = dm.dmPaperWidth;
    out.scale = dm.dmScale;
    out.copies = dm.dmCopies;
    out.defaultSource = dm.dmDefaultSource;
    out.printQuality = dm.dmPrintQuality;
    out.positionX = dm.dmPosition.x;
    out.positionY = dm.dmPosition.y;
    out.displayOrientation = dm.dmDisplayOrientation;
    out.displayFixedOutput = dm.dmDisplayFixedOutput;
    out.color = dm.dmColor;
    out.duplex = dm.dmDuplex;
    out.yResolution = dm.dmYResolution;
    out.ttOption = dm.dmTTOption;
    out.collate = dm.dmCollate;
    out.formName = fixedText(dm.dmFormName, CCHFORMNAME);
    out.logPixels = dm.dmLogPixels;
    out.bitsPerPel = dm.dmBitsPerPel;
    out.pelsWidth = dm.dmPelsWidth;
    out.pelsHeight = dm.dmPelsHeight;
    out.displayFlags = dm.dmDisplayFlags;
    out.displayFrequency = dm.dmDisplayFrequency;
    out.icmMethod = dm.dmICMMethod;
    out.icmIntent = dm.dmICMIntent;
    out.mediaType = dm.dmMediaType;
    out.ditherType = dm.dmDitherType;
    out.reserved1 = dm.dmReserved1;
    out.reserved2 = dm.dmReserved2;
    out.panningWidth = dm.dmPanningWidth;
    out.panningHeight = dm.dmPanningHeight;
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&in);
    out.raw.assign(raw, raw + in.dmSize + in.dmDriverExtra);
    return out;
}

std::vector<std::uint8_t> devModeBytes(const ports::DevMode& in) {
    if (!in.raw.empty())
        return in.raw;
    DEVMODEW dm{};
    in.deviceName.copy(dm.dmDeviceName, CCHDEVICENAME - 1);
    dm.dmSpecVersion = in.specVersion ? in.specVersion : DM_SPECVERSION;
    dm.dmDriverVersion = in.driverVersion;
    dm.dmSize = sizeof dm;
    dm.dmDriverExtra = 0;
    dm.dmFields = in.fields;
    dm.dmOrientation = in.orientation;
    dm.dmPaperSize = in.paperSize;
    dm.dmPaperLength = in.paperLength;
    dm.dmPaperWidth = in.paperWidth;
    dm.dmScale = in.scale;
    dm.dmCopies = in.copies;
    dm.dmDefaultSource = in.defaultSource;
    dm.dmPrintQuality = in.printQuality;
    dm.dmColor = in.color;
    dm.dmDuplex = in.duplex;
    dm.dmYResolution = in.yResolution;
    dm.dmTTOption = in.ttOption;
    dm.dmCollate = in.collate;
    in.formName.copy(dm.dmFormName, CCHFORMNAME - 1);
    dm.dmLogPixels = in.logPixels;
    dm.dmBitsPerPel = in.bitsPerPel;
    dm.dmPelsWidth = in.pelsWidth;
    dm.dmPelsHeight = in.pelsHeight;
    dm.dmDisplayFlags = in.displayFlags;
    dm.dmDisplayFrequency = in.displayFrequency;
    dm.dmICMMethod = in.icmMethod;
    dm.dmICMIntent = in.icmIntent;
    dm.dmMediaType = in.mediaType;
    dm.dmDitherType = in.ditherType;
    dm.dmPanningWidth = in.panningWidth;
    dm.dmPanningHeight = in.panningHeight;
    const auto* p = reinterpret_cast<const std::uint8_t*>(&dm);
    return std::vector<std::uint8_t>(p, p + sizeof dm);
}

ports::PrinterInfo2 printerInfo2Of(const PRINTER_INFO_2W& pi) {
    ports::PrinterInfo2 out;
    out.serverName = nullableOf(pi.pServerName);
    out.printerName = textOf(pi.pPrinterName);
    out.shareName = nullableOf(pi.pShareName);
    out.portName = textOf(pi.pPortName);
    out.driverName = textOf(pi.pDriverName);
    out.comment = nullableOf(pi.pComment);
    out.location = nullableOf(pi.pLocation);
    if (pi.pDevMode)
        out.devMode = devModeOf(*pi.pDevMode);
    out.sepFile = nullableOf(pi.pSepFile);
    out.printProcessor = textOf(pi.pPrintProcessor);
    out.datatype = textOf(pi.pDatatype);
    out.parameters = nullableOf(pi.pParameters);
    out.securityDescriptor = securityDescriptorOf(pi.pSecurityDescriptor);
    out.attributes = pi.Attributes;
    out.priority = pi.Priority;
    out.defaultPriority = pi.DefaultPriority;
    out.startTime = pi.StartTime;
    out.untilTime = pi.UntilTime;
    out.status = pi.Status;
    out.cJobs = pi.cJobs;
    out.averagePPM = pi.AveragePPM;
    return out;
}

ports::PrinterInfoAtLevel printerInfoAtLevelOf(DWORD level, const BYTE* record) {
    ports::PrinterInfoAtLevel out;
    out.level = level;
    switch (level) {
    case 1: {
        const auto& r = *reinterpret_cast<const PRINTER_INFO_1W*>(record);
        out.flags = r.Flags;
        out.description = textOf(r.pDescription);
        out.name = textOf(r.pName);
        out.comment = textOf(r.pComment);
        break;
    }
    case 2:
        out.info2 = printerInfo2Of(*reinterpret_cast<const PRINTER_INFO_2W*>(record));
        break;
    case 3:
        out.securityDescriptor =
            securityDescriptorOf(reinterpret_cast<const PRINTER_INFO_3*>(record)->pSecurityDescriptor);
        break;
    case 4: {
        const auto& r = *reinterpret_cast<const PRINTER_INFO_4W*>(record);
        out.info4 = {textOf(r.pPrinterName), nullableOf(r.pServerName), r.Attributes};
        break;
    }
    case 5: {
        const auto& r = *reinterpret_cast<const PRINTER_INFO_5W*>(record);
        out.printerName = textOf(r.pPrinterName);
        out.portName = textOf(r.pPortName);
        out.attributes = r.Attributes;
        out.deviceNotSelectedTimeout = r.DeviceNotSelectedTimeout;
        out.transmissionRetryTimeout = r.TransmissionRetryTimeout;
        break;
    }
    case 6:
        out.status = reinterpret_cast<const PRINTER_INFO_6*>(record)->dwStatus;
        break;
    case 7: {
        const auto& r = *reinterpret_cast<const PRINTER_INFO_7W*>(record);
        out.objectGuid = textOf(r.pszObjectGUID);
        out.action = r.dwAction;
        break;
    }
    case 8:
    case 9: {
        // PRINTER_INFO_8W and _9W are the same single pointer.
        const DEVMODEW* dm = reinterpret_cast<const PRINTER_INFO_8W*>(record)->pDevMode;
        if (dm)
            out.devMode = devModeOf(*dm);
        break;
    }
    default:
        break;
    }
    return out;
}

std::size_t driverInfoSize(DWORD level) {
    switch (level) {
    case 1:
        return sizeof(DRIVER_INFO_1W);
    case 2:
        return sizeof(DRIVER_INFO_2W);
    case 3:
        return sizeof(DRIVER_INFO_3W);
    case 4:
        return sizeof(DRIVER_INFO_4W);
    case 5:
        return sizeof(DRIVER_INFO_5W);
    case 6:
        return sizeof(DRIVER_INFO_6W);
    case 8:
        return sizeof(DRIVER_INFO_8W);
    default:
        return 0;
    }
}

ports::DriverInfo driverInfoOf(DWORD level, const BYTE* record) {
    ports::DriverInfo out;
    out.level = level;
    if (level == 1) {
        out.name = textOf(reinterpret_cast<const DRIVER_INFO_1W*>(record)->pName);
        return out;
    }
    if (level == 5) {
        const auto& r = *reinterpret_cast<const DRIVER_INFO_5W*>(record);
        out.version = r.cVersion;
        out.name = textOf(r.pName);
        out.environment = textOf(r.pEnvironment);
        out.driverPath = textOf(r.pDriverPath);
        out.dataFile = textOf(r.pDataFile);
        out.configFile = textOf(r.pConfigFile);
        out.driverAttributes = r.dwDriverAttributes;
        out.configVersion = r.dwConfigVersion;
        out.driverVersion = r.dwDriverVersion;
        return out;
    }
    // Levels 2, 3, 4, 6 and 8 each extend the one before: read the prefix this level has.
    const auto& r = *reinterpret_cast<const DRIVER_INFO_8W*>(record);
    out.version = r.cVersion;
    out.name = textOf(r.pName);
    out.environment = textOf(r.pEnvironment);
    out.driverPath = textOf(r.pDriverPath);
    out.dataFile = textOf(r.pDataFile);
    out.configFile = textOf(r.pConfigFile);
    if (level < 3)
        return out;
    out.helpFile = nullableOf(r.pHelpFile);
    out.dependentFiles = multiTextOf(r.pDependentFiles);
    out.monitorName = nullableOf(r.pMonitorName);
    out.defaultDataType = nullableOf(r.pDefaultDataType);
    if (level < 4)
        return out;
    out.previousNames = multiTextOf(r.pszzPreviousNames);
    if (level < 6)
        return out;
    out.driverDate = fileTimeOf(r.ftDriverDate);
    out.driverVersionQuad = r.dwlDriverVersion;
    out.mfgName = nullableOf(r.pszMfgName);
    out.oemUrl = nullableOf(r.pszOEMUrl);
    out.hardwareId = nullableOf(r.pszHardwareID);
    out.provider = nullableOf(r.pszProvider);
    if (level < 8)
        return out;
    out.printProcessor = nullableOf(r.pszPrintProcessor);
    out.vendorSetup = nullableOf(r.pszVendorSetup);
    out.colorProfiles = multiTextOf(r.pszzColorProfiles);
    out.infPath = nullableOf(r.pszInfPath);
    out.printerDriverAttributes = r.dwPrinterDriverAttributes;
    out.coreDriverDependencies = multiTextOf(r.pszzCoreDriverDependencies);
    out.minInboxDriverVerDate = fileTimeOf(r.ftMinInboxDriverVerDate);
    out.minInboxDriverVerVersion = r.dwlMinInboxDriverVerVersion;
    return out;
}

ports::FormInfo1 formInfo1Of(const FORM_INFO_1W& f) {
    ports::FormInfo1 out;
    out.flags = f.Flags;
    out.name = textOf(f.pName);
    out.size = {f.Size.cx, f.Size.cy};
    out.imageableArea = {f.ImageableArea.left, f.ImageableArea.top, f.ImageableArea.right,
                         f.ImageableArea.bottom};
    return out;
}

PrinterInfo2Writer::PrinterInfo2Writer(const ports::PrinterInfo2& info) : info_(info) {
    if (info_.devMode)
        devMode_ = devModeBytes(*info_.devMode);
    record_.pServerName = orNull(info_.serverName);
    record_.pPrinterName = orNull(info_.printerName);
    record_.pShareName = orNull(info_.shareName);
    record_.pPortName = orNull(info_.portName);
    record_.pDriverName = orNull(info_.driverName);
    record_.pComment = orNull(info_.comment);
    record_.pLocation = orNull(info_.location);
    record_.pDevMode = devMode_.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(devMode_.data());
    record_.pSepFile = orNull(info_.sepFile);
    record_.pPrintProcessor = orNull(info_.printProcessor);
    record_.pDatatype = orNull(info_.datatype);
    record_.pParameters = orNull(info_.parameters);
    record_.pSecurityDescriptor =
        info_.securityDescriptor.empty() ? nullptr : info_.securityDescriptor.data();
    record_.Attributes = info_.attributes;
    record_.Priority = info_.priority;
    record_.DefaultPriority = info_.defaultPriority;
    record_.StartTime = info_.startTime;
    record_.UntilTime = info_.untilTime;
    record_.Status = info_.status;
    record_.cJobs = info_.cJobs;
    record_.AveragePPM = info_.averagePPM;
}

DriverInfoWriter::DriverInfoWriter(const ports::DriverInfo& info)
    : info_(info), dependentFiles_(multiText(info.dependentFiles)),
      previousNames_(multiText(info.previousNames)), colorProfiles_(multiText(info.colorProfiles)),
      coreDependencies_(multiText(info.coreDriverDependencies)) {
    record_.cVersion = info_.version;
    record_.pName = orNull(info_.name);
    record_.pEnvironment = orNull(info_.environment);
    record_.pDriverPath = orNull(info_.driverPath);
    record_.pDataFile = orNull(info_.dataFile);
    record_.pConfigFile = orNull(info_.configFile);
    record_.pHelpFile = orNull(info_.helpFile);
    record_.pDependentFiles = orNull(dependentFiles_);
    record_.pMonitorName = orNull(info_.monitorName);
    record_.pDefaultDataType = orNull(info_.defaultDataType);
    record_.pszzPreviousNames = orNull(previousNames_);
    record_.ftDriverDate = fileTime(info_.driverDate);
    record_.dwlDriverVersion = info_.driverVersionQuad;
    record_.pszMfgName = orNull(info_.mfgName);
    record_.pszOEMUrl = orNull(info_.oemUrl);
    record_.pszHardwareID = orNull(info_.hardwareId);
    record_.pszProvider = orNull(info_.provider);
    record_.pszPrintProcessor = orNull(info_.printProcessor);
    record_.pszVendorSetup = orNull(info_.vendorSetup);
    record_.pszzColorProfiles = orNull(colorProfiles_);
    record_.pszInfPath = orNull(info_.infPath);
    record_.dwPrinterDriverAttributes = info_.printerDriverAttributes;
    record_.pszzCoreDriverDependencies = orNull(coreDependencies_);
    record_.ftMinInboxDriverVerDate = fileTime(info_.minInboxDriverVerDate);
    record_.dwlMinInboxDriverVerVersion = info_.minInboxDriverVerVersion;
}

ports::Status portData1Of(const ports::PortData1& data, PORT_DATA_1& out) {
    out = PORT_DATA_1{};
    if (!copyFixed(data.portName, out.sztPortName, std::size(out.sztPortName)) ||
        !copyFixed(data.hostAddress, out.sztHostAddress, std::size(out.sztHostAddress)) ||
        !copyFixed(data.snmpCommunity, out.sztSNMPCommunity, std::size(out.sztSNMPCommunity)) ||
        !copyFixed(data.queue, out.sztQueue, std::size(out.sztQueue)) ||
        !copyFixed(data.ipAddress, out.sztIPAddress, std::size(out.sztIPAddress)))
        return ERROR_INVALID_PARAMETER;
    out.dwVersion = data.version;
    out.dwProtocol = data.protocol;
    out.cbSize = sizeof(PORT_DATA_1);
    out.dwDoubleSpool = data.doubleSpool;
    out.dwPortNumber = data.portNumber;
    out.dwSNMPEnabled = data.snmpEnabled;
    out.dwSNMPDevIndex = data.snmpDevIndex;
    return ports::winerr::Success;
}

ports::Status deletePortData1Of(std::wstring_view portName, DELETE_PORT_DATA_1& out) {
    out = DELETE_PORT_DATA_1{};
    if (!copyFixed(portName, out.psztPortName, std::size(out.psztPortName)))
        return ERROR_INVALID_PARAMETER;
    out.dwVersion = 1;
    return ports::winerr::Success;
}

} // namespace win32
