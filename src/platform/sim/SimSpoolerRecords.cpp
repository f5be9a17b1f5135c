#include "platform/sim/SimSpoolerRecords.h"

#include "platform/sim/SimDevMode.h"
#include "platform/sim/SimJson.h"
#include "platform/sim/SimPrintSystem.h"

namespace sim {

namespace {
std::uint32_t u32(const Json& obj, const char* key, std::uint32_t def = 0) {
    return static_cast<std::uint32_t>(numberOf(obj, key, def));
}
constexpr std::uint32_t kPendingDeletion = 0x4; // PRINTER_STATUS_PENDING_DELETION
} // namespace

ports::PrinterInfo2 printerInfo2(const Json& p) {
    ports::PrinterInfo2 i;
    i.printerName = textOf(p, "name");
    i.shareName = nullableOf(p, "share");
    i.portName = textOf(p, "port");
    i.driverName = textOf(p, "driver");
    i.comment = nullableOf(p, "comment");
    i.location = nullableOf(p, "location");
    i.sepFile = nullableOf(p, "sepFile");
    i.printProcessor = textOf(p, "printProcessor", L"winprint");
    i.datatype = textOf(p, "datatype", L"RAW");
    i.parameters = nullableOf(p, "parameters");
    i.securityDescriptor = bytesOfHex(
        memberOf(p, "securityDescriptor").is_string() ? p["securityDescriptor"].get<std::string>() : "");
    i.attributes = u32(p, "attributes", 0x40);
    i.priority = u32(p, "priority", 1);
    i.defaultPriority = u32(p, "defaultPriority");
    i.startTime = u32(p, "startTime");
    i.untilTime = u32(p, "untilTime");
    i.status = u32(p, "status") | (flagOf(p, "pendingDeletion") ? kPendingDeletion : 0);
    i.cJobs = u32(p, "jobs");
    i.averagePPM = u32(p, "averagePPM");
    return i;
}

void applyPrinterInfo2(Json& p, const ports::PrinterInfo2& i) {
    p["name"] = u8(i.printerName);
    p["share"] = fromNullable(i.shareName);
    p["port"] = u8(i.portName);
    p["driver"] = u8(i.driverName);
    p["comment"] = fromNullable(i.comment);
    p["location"] = fromNullable(i.location);
    p["sepFile"] = fromNullable(i.sepFile);
    p["printProcessor"] = u8(i.printProcessor);
    p["datatype"] = u8(i.datatype.empty() ? L"RAW" : i.datatype);
    p["parameters"] = fromNullable(i.parameters);
    if (!i.securityDescriptor.empty())
        p["securityDescriptor"] = hexOf(i.securityDescriptor);
    p["attributes"] = i.attributes | 0x40; // every printer here is local
    p["priority"] = i.priority ? i.priority : 1;
    p["defaultPriority"] = i.defaultPriority;
    p["startTime"] = i.startTime;
    p["untilTime"] = i.untilTime;
    if (i.devMode && !i.devMode->raw.empty())
        p["devMode"] = hexOf(i.devMode->raw);
}

ports::DevMode printerDevMode(const Json& state, const Json& printer) {
    const Json& own = memberOf(printer, "devMode");
    if (own.is_string())
        return decodeDevMode(bytesOfHex(own.get<std::string>()));
    PaperChoice paper;
    std::int16_t dpi = 203;
    if (const Json* driver = findDriver(state, textOf(printer, "driver"), nativeEnvironment(state))) {
        dpi = static_cast<std::int16_t>(numberOf(*driver, "dpi", 203));
        const Json& papers = memberOf(*driver, "papers");
        if (papers.is_array() && !papers.empty()) {
            const Json& first = papers[0];
            paper.id = static_cast<std::int16_t>(numberOf(first, "id", 256));
            paper.name = textOf(first, "name");
            paper.width = static_cast<std::int16_t>(numberOf(first, "width"));
            paper.length = static_cast<std::int16_t>(numberOf(first, "length"));
        }
    }
    return defaultDevMode(textOf(printer, "name"), paper, dpi);
}

ports::DriverInfo driverInfo(const Json& d, std::uint32_t level) {
    ports::DriverInfo i;
    i.level = level;
    i.name = textOf(d, "name");
    if (level == 1)
        return i;
    i.version = u32(d, "version", 3);
    i.environment = textOf(d, "environment");
    i.driverPath = textOf(d, "driverPath");
    i.dataFile = textOf(d, "dataFile");
    i.configFile = textOf(d, "configFile");
    if (level == 5) {
        i.driverAttributes = u32(d, "attributes");
        i.configVersion = u32(d, "configVersion");
        i.driverVersion = u32(d, "driverVersion");
        return i;
    }
    if (level == 2)
        return i;
    i.helpFile = nullableOf(d, "helpFile");
    i.dependentFiles = textsOf(d, "dependentFiles");
    i.monitorName = nullableOf(d, "monitor");
    i.defaultDataType = nullableOf(d, "defaultDataType");
    if (level == 3)
        return i;
    i.previousNames = textsOf(d, "previousNames");
    if (level == 4)
        return i;
    i.driverDate = numberOf(d, "date");
    i.driverVersionQuad = numberOf(d, "versionQuad");
    i.mfgName = nullableOf(d, "manufacturer");
    i.oemUrl = nullableOf(d, "oemUrl");
    i.hardwareId = nullableOf(d, "hardwareId");
    i.provider = nullableOf(d, "provider");
    if (level == 6)
        return i;
    i.printProcessor = nullableOf(d, "printProcessor");
    i.vendorSetup = nullableOf(d, "vendorSetup");
    i.colorProfiles = textsOf(d, "colorProfiles");
    i.infPath = nullableOf(d, "infPath");
    i.printerDriverAttributes = u32(d, "printerDriverAttributes");
    i.coreDriverDependencies = textsOf(d, "coreDependencies");
    i.minInboxDriverVerDate = numberOf(d, "minInboxDate");
    i.minInboxDriverVerVersion = numberOf(d, "minInboxVersion");
    return i;
}

Json driverRecord(const ports::DriverInfo& i, std::wstring_view environment) {
    Json d{{"name", u8(i.name)},
           {"environment", u8(environment)},
           {"version", i.version},
           {"driverPath", u8(i.driverPath)},
           {"dataFile", u8(i.dataFile)},
           {"configFile", u8(i.configFile)},
           {"helpFile", fromNullable(i.helpFile)},
           {"dependentFiles", fromTexts(i.dependentFiles)},
           {"monitor", fromNullable(i.monitorName)},
           {"defaultDataType", fromNullable(i.defaultDataType)},
           {"previousNames", fromTexts(i.previousNames)},
           {"infPath", nullptr}};
    if (i.level >= 5) {
        d["attributes"] = i.driverAttributes;
        d["configVersion"] = i.configVersion;
        d["driverVersion"] = i.driverVersion;
    }
    if (i.level >= 6) {
        d["date"] = i.driverDate;
        d["versionQuad"] = i.driverVersionQuad;
        d["manufacturer"] = fromNullable(i.mfgName);
        d["oemUrl"] = fromNullable(i.oemUrl);
        d["hardwareId"] = fromNullable(i.hardwareId);
        d["provider"] = fromNullable(i.provider);
    }
    if (i.level >= 8) {
        d["printProcessor"] = fromNullable(i.printProcessor);
        d["vendorSetup"] = fromNullable(i.vendorSetup);
        d["colorProfiles"] = fromTexts(i.colorProfiles);
        d["printerDriverAttributes"] = i.printerDriverAttributes;
        d["coreDependencies"] = fromTexts(i.coreDriverDependencies);
    }
    return d;
}

ports::FormInfo1 formInfo(const Json& f) {
    ports::FormInfo1 i;
    i.flags = u32(f, "flags");
    i.name = textOf(f, "name");
    i.size.cx = static_cast<std::int32_t>(numberOf(f, "cx"));
    i.size.cy = static_cast<std::int32_t>(numberOf(f, "cy"));
    const Json& a = memberOf(f, "area");
    if (a.is_array() && a.size() == 4) {
        i.imageableArea = {a[0].get<std::int32_t>(), a[1].get<std::int32_t>(), a[2].get<std::int32_t>(),
                           a[3].get<std::int32_t>()};
    } else {
        i.imageableArea = {0, 0, i.size.cx, i.size.cy};
    }
    return i;
}

Json builtinForms() {
    auto form = [](const char* name, int cx, int cy) {
        return Json{{"name", name}, {"flags", 1}, {"cx", cx}, {"cy", cy}, {"area", {0, 0, cx, cy}}};
    };
    return Json::array({form("Letter", 215900, 279400), form("Legal", 215900, 355600),
                        form("A4", 210000, 297000), form("A5", 148000, 210000), form("A6", 105000, 148000),
                        form("Envelope #10", 104774, 241300)});
}

} // namespace sim
