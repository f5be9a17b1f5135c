#include "platform/sim/SimPrintSystem.h"

#include "platform/ports/PrinterName.h"
#include "platform/sim/HostPath.h"

#include "base/Compare.h"
#include "platform/sim/SimJson.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace sim {
namespace fs = std::filesystem;
namespace winerr = ports::winerr;
using ports::Status;

std::wstring nativeEnvironment(const Json& state) {
    const std::string arch = u8(textOf(memberOf(state, "system"), "architecture", L"x64"));
    if (arch == "x86")
        return L"Windows NT x86";
    if (arch == "ARM64" || arch == "arm64")
        return L"Windows ARM64";
    return L"Windows x64";
}

std::wstring windowsFolder(const Json& state) {
    std::wstring folder = textOf(memberOf(state, "system"), "windowsFolder", L"C:\\Windows");
    while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
    return folder;
}

bool resolveEnvironment(std::wstring_view environment, std::wstring& out) {
    static constexpr std::wstring_view known[] = {L"Windows NT x86", L"Windows x64", L"Windows ARM64"};
    if (environment.empty()) {
        out = kCallerEnvironment;
        return true;
    }
    for (auto k : known) {
        if (text::equalsNoCase(k, environment)) {
            out = k;
            return true;
        }
    }
    return false;
}

std::wstring driverDirectory(std::wstring_view environment) {
    std::wstring folder = L"W32X86";
    if (environment == L"Windows x64")
        folder = L"x64";
    else if (environment == L"Windows ARM64")
        folder = L"ARM64";
    return L"C:\\Windows\\system32\\spool\\DRIVERS\\" + folder;
}

bool validPrinterName(std::wstring_view name) {
    return ports::validPrinterName(name);
}

namespace {
Json& spoolerOf(Json& state) {
    return objectAt(state, "spooler");
}
const Json& spoolerOf(const Json& state) {
    return memberOf(state, "spooler");
}
} // namespace

Json* findPrinter(Json& state, std::wstring_view name) {
    return findNamed(arrayAt(spoolerOf(state), "printers"), "name", name);
}
const Json* findPrinter(const Json& state, std::wstring_view name) {
    return findNamed(memberOf(spoolerOf(state), "printers"), "name", name);
}

Json* findDriver(Json& state, std::wstring_view name, std::wstring_view environment) {
    for (auto& d : arrayAt(spoolerOf(state), "drivers")) {
        if (text::equalsNoCase(textOf(d, "name"), name) &&
            text::equalsNoCase(textOf(d, "environment"), environment))
            return &d;
    }
    return nullptr;
}
const Json* findDriver(const Json& state, std::wstring_view name, std::wstring_view environment) {
    const Json& drivers = memberOf(spoolerOf(state), "drivers");
    if (!drivers.is_array())
        return nullptr;
    for (const auto& d : drivers) {
        if (text::equalsNoCase(textOf(d, "name"), name) &&
            text::equalsNoCase(textOf(d, "environment"), environment))
            return &d;
    }
    return nullptr;
}

Json* findPort(Json& state, std::wstring_view name) {
    return findNamed(arrayAt(spoolerOf(state), "ports"), "name", name);
}
const Json* findPort(const Json& state, std::wstring_view name) {
    return findNamed(memberOf(spoolerOf(state), "ports"), "name", name);
}
Json* findMonitor(Json& state, std::wstring_view name) {
    return findNamed(arrayAt(spoolerOf(state), "monitors"), "name", name);
}
const Json* findMonitor(const Json& state, std::wstring_view name) {
    return findNamed(memberOf(spoolerOf(state), "monitors"), "name", name);
}

bool portInUse(const Json& state, std::wstring_view port) {
    const Json& printers = memberOf(spoolerOf(state), "printers");
    if (!printers.is_array())
        return false;
    for (const auto& p : printers) {
        // A printer may print to several ports ("LPT1:,LPT2:").
        const std::wstring ports = textOf(p, "port");
        std::size_t start = 0;
        while (start <= ports.size()) {
            std::size_t end = ports.find(L',', start);
            if (end == std::wstring::npos)
                end = ports.size();
            if (text::equalsNoCase(std::wstring_view(ports).substr(start, end - start), port))
                return true;
            start = end + 1;
        }
    }
    return false;
}

void ensurePort(Json& state, std::wstring_view name, std::wstring_view monitor) {
    if (findPort(state, name))
        return;
    arrayAt(spoolerOf(state), "ports").push_back(Json{{"name", u8(name)}, {"monitor", u8(monitor)}});
}

void refreshDsSpooler(Json& printer) {
    Json& data = objectAt(printer, "data");
    Json* ds = findMember(data, L"DsSpooler");
    if (!ds) {
        data["DsSpooler"] = Json::object();
        ds = &data["DsSpooler"];
    }
    auto set = [&](const char* name, std::wstring_view value) {
        if (Json* v = findMember(*ds, wide(name)))
            *v = regText(value);
        else
            (*ds)[name] = regText(value);
    };
    set("printerName", textOf(printer, "name"));
    set("driverName", textOf(printer, "driver"));
    set("portName", textOf(printer, "port"));
    set("location", textOf(printer, "location"));
    set("description", textOf(printer, "comment"));
    set("printShareName", textOf(printer, "share"));
    set("serverName", L"localhost");
    set("shortServerName", L"localhost");
    set("uNCName", L"\\\\localhost\\" + textOf(printer, "name"));
    if (!findMember(*ds, L"versionNumber"))
        (*ds)["versionNumber"] = regDword(4);
}

void addDriverForms(Json& state, const Json& driver) {
    const Json& papers = memberOf(driver, "papers");
    if (!papers.is_array())
        return;
    Json& forms = arrayAt(spoolerOf(state), "forms");
    for (const auto& p : papers) {
        const std::wstring name = textOf(p, "name");
        if (name.empty() || findNamed(forms, "name", name))
            continue;
        const auto cx = static_cast<std::int64_t>(numberOf(p, "width")) * 100; // tenths of a mm to µm
        const auto cy = static_cast<std::int64_t>(numberOf(p, "length")) * 100;
        forms.push_back(
            Json{{"name", u8(name)}, {"flags", 2}, {"cx", cx}, {"cy", cy}, {"area", {0, 0, cx, cy}}});
    }
}

std::wstring uniquePrinterName(const Json& state, std::wstring_view base) {
    if (!findPrinter(state, base))
        return std::wstring(base);
    for (int n = 1;; ++n) {
        std::wstring name = std::wstring(base) + L" (Copy " + std::to_wstring(n) + L")";
        if (!findPrinter(state, name))
            return name;
    }
}

bool simFileExists(SimMachine& machine, std::wstring_view path) {
    const fs::path p = machine.hostPath(path);
    std::error_code ec;
    return !p.empty() && fs::is_regular_file(p, ec);
}

Status readInf(SimMachine& machine, std::wstring_view path, InfFile& out) {
    const fs::path p = machine.hostPath(path);
    std::error_code ec;
    if (p.empty() || !fs::is_regular_file(p, ec))
        return fs::is_directory(p.parent_path(), ec) ? winerr::FileNotFound : winerr::PathNotFound;
    std::ifstream in(p, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    out = InfFile::parse(bytes);
    return winerr::Success;
}

namespace {

std::wstring fileNameOf(std::wstring_view path) {
    const auto slash = path.find_last_of(L"\\/");
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

std::wstring folderOf(std::wstring_view path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash));
}

std::uint32_t contentHash(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::uint32_t h = 2166136261u;
    char c;
    while (in.get(c)) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return h;
}

// "05/01/2024,3.0.2.465" -> FILETIME of that date and the four-part version.
void parseDriverVer(std::wstring_view text, std::uint64_t& date, std::uint64_t& version) {
    unsigned mo = 0, d = 0, y = 0, a = 0, b = 0, c = 0, e = 0;
    std::swscanf(std::wstring(text).c_str(), L"%u/%u/%u,%u.%u.%u.%u", &mo, &d, &y, &a, &b, &c, &e);
    version = (std::uint64_t(a) << 48) | (std::uint64_t(b) << 32) | (std::uint64_t(c) << 16) | e;
    if (y < 1601 || mo < 1 || mo > 12) {
        date = 0;
        return;
    }
    // Days from 1601-01-01, then 100-ns units.
    std::int64_t yy = y - (mo <= 2);
    const std::int64_t era = yy / 400;
    const auto yoe = static_cast<unsigned>(yy - era * 400);
    const unsigned doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t days1970 = era * 146097 + doe - 719468;
    date = static_cast<std::uint64_t>(days1970 + 134774) * 864000000000ULL;
}

std::wstring archFolderOf(std::wstring_view environment) {
    if (environment == L"Windows x64")
        return L"amd64";
    if (environment == L"Windows ARM64")
        return L"arm64";
    return L"x86";
}

} // namespace

Status stagePackage(SimMachine& machine, Json& state, std::wstring_view infPath,
                    std::wstring_view environment, std::wstring& dest) {
    const fs::path src = machine.hostPath(infPath);
    std::error_code ec;
    if (src.empty() || !fs::is_regular_file(src, ec))
        return fs::is_directory(src.parent_path(), ec) ? winerr::FileNotFound : winerr::PathNotFound;
    const std::wstring name = text::toLower(fileNameOf(infPath));
    wchar_t hash[16];
    std::swprintf(hash, 16, L"%08x", contentHash(src));
    const std::wstring folder = L"C:\\Windows\\System32\\DriverStore\\FileRepository\\" + name + L"_" +
                                archFolderOf(environment) + L"_" + hash;
    dest = folder + L"\\" + name;
    Json& packages = arrayAt(objectAt(spoolerOf(state), "driverStore"), "packages");
    if (findNamed(packages, "infPath", dest))
        return winerr::Success;
    const fs::path target = machine.hostPath(folder);
    fs::create_directories(target, ec);
    const fs::path from = src.parent_path();
    for (auto it = fs::recursive_directory_iterator(from, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::path to = target / fs::relative(it->path(), from, ec);
        if (it->is_directory(ec))
            fs::create_directories(to, ec);
        else
            host::copyFileReplacing(it->path(), to, ec);
    }
    ec.clear();
    if (!fs::is_regular_file(machine.hostPath(dest), ec))
        return winerr::AccessDenied;
    packages.push_back(
        Json{{"infPath", u8(dest)}, {"source", u8(infPath)}, {"environment", u8(environment)}});
    return winerr::Success;
}

const Json* findPackage(const Json& state, std::wstring_view storeInf) {
    return findNamed(memberOf(memberOf(spoolerOf(state), "driverStore"), "packages"), "infPath", storeInf);
}

Status installDriverFromStore(SimMachine& machine, Json& state, std::wstring_view storeInf,
                              const InfFile& inf, const InfFile::Model& model,
                              std::wstring_view environment) {
    const std::wstring section = model.installSection;
    auto directive = [&](const wchar_t* key, std::wstring def) {
        std::wstring v = inf.value(section, key);
        return v.empty() ? def : v;
    };
    const std::wstring dir = driverDirectory(environment) + L"\\3\\";
    Json driver{{"name", u8(model.description)},
                {"environment", u8(environment)},
                {"version", 3},
                {"driverPath", u8(dir + directive(L"DriverFile", L"UNIDRV.DLL"))},
                {"dataFile", u8(dir + directive(L"DataFile", model.description + L".gpd"))},
                {"configFile", u8(dir + directive(L"ConfigFile", L"UNIDRVUI.DLL"))},
                {"helpFile", nullptr},
                {"defaultDataType", "RAW"},
                {"printProcessor", "winprint"},
                {"manufacturer", u8(model.manufacturer)},
                {"provider", u8(inf.value(L"Version", L"Provider"))},
                {"hardwareId",
                 model.hardwareIds.empty() ? Json(nullptr) : Json(u8(text::toLower(model.hardwareIds[0])))},
                {"infPath", u8(storeInf)}};
    std::uint64_t date = 0, version = 0;
    if (const auto* lines = inf.section(L"Version")) {
        for (const auto& l : *lines) {
            // "DriverVer=date,version" is two fields.
            if (text::equalsNoCase(l.key, L"DriverVer") && l.fields.size() > 1)
                parseDriverVer(l.fields[0] + L"," + l.fields[1], date, version);
        }
    }
    driver["date"] = date;
    driver["versionQuad"] = version;
    // "LanguageMonitor=name,dll": the spooler registers the monitor with the driver.
    if (const auto* lines = inf.section(section)) {
        for (const auto& l : *lines) {
            if (!text::equalsNoCase(l.key, L"LanguageMonitor") || l.fields.empty())
                continue;
            // "name,dll" as two fields, or as one quoted text (often a %string%).
            std::vector<std::wstring> parts = l.fields;
            if (parts.size() == 1 && parts[0].find(L',') != std::wstring::npos)
                parts = {parts[0].substr(0, parts[0].find(L',')), parts[0].substr(parts[0].find(L',') + 1)};
            const std::wstring monitor = parts[0];
            driver["monitor"] = u8(monitor);
            if (!findMonitor(state, monitor)) {
                arrayAt(spoolerOf(state), "monitors")
                    .push_back(Json{{"name", u8(monitor)},
                                    {"environment", u8(environment)},
                                    {"dll", u8(parts.size() > 1 ? parts[1] : L"")}});
            }
        }
    }
    // The package's files of this driver go into the driver folder when the store has them.
    std::error_code ec;
    const fs::path store = machine.hostPath(folderOf(storeInf));
    const fs::path target = machine.hostPath(dir);
    fs::create_directories(target, ec);
    for (const char* key : {"driverPath", "dataFile", "configFile"}) {
        const std::wstring file = fileNameOf(textOf(driver, key));
        for (auto it = fs::recursive_directory_iterator(store, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (it->is_regular_file(ec) && text::equalsNoCase(wideOf(it->path().filename()), file)) {
                host::copyFileReplacing(it->path(), target / it->path().filename(), ec);
                break;
            }
        }
        ec.clear();
    }
    Json& drivers = arrayAt(spoolerOf(state), "drivers");
    if (Json* existing = findDriver(state, model.description, environment))
        *existing = std::move(driver);
    else
        drivers.push_back(std::move(driver));
    return winerr::Success;
}

Status takeFaultAny(Json& state, std::initializer_list<std::string_view> operations) {
    for (auto op : operations) {
        if (Status f = SimMachine::takeFault(state, op))
            return f;
    }
    return winerr::Success;
}

} // namespace sim
