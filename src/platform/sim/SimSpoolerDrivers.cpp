// The simulated spooler's drivers and its driver store.
#include "platform/sim/SimSpooler.h"

#include "base/Compare.h"
#include "platform/sim/SimJson.h"
#include "platform/sim/SimPrintSystem.h"
#include "platform/sim/SimSpoolerRecords.h"

#include <filesystem>
#include <system_error>

namespace sim {
namespace fs = std::filesystem;
namespace winerr = ports::winerr;
namespace hresult = ports::hresult;
using ports::HResult;
using ports::Status;

namespace {

bool knownLevel(std::uint32_t level) {
    return (level >= 1 && level <= 6) || level == 8;
}

std::wstring fileNameOf(std::wstring_view path) {
    const auto slash = path.find_last_of(L"\\/");
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

// Finds a driver file the way AddPrinterDriver does (the given path, else the driver folder, else its
// version folder 3) and copies it into the version folder; `installed` is its path there.
Status installFile(SimMachine& machine, std::wstring_view directory, std::wstring_view given,
                   std::wstring& installed) {
    const std::wstring name = fileNameOf(given);
    installed = std::wstring(directory) + L"\\3\\" + name;
    std::wstring source;
    for (const std::wstring& candidate :
         {given.find(L'\\') != std::wstring_view::npos ? std::wstring(given) : std::wstring(),
          std::wstring(directory) + L"\\" + name, installed}) {
        if (!candidate.empty() && simFileExists(machine, candidate)) {
            source = candidate;
            break;
        }
    }
    if (source.empty())
        return winerr::FileNotFound;
    std::error_code ec;
    const fs::path target = machine.hostPath(installed);
    fs::create_directories(target.parent_path(), ec);
    if (source != installed)
        host::copyFileReplacing(machine.hostPath(source), target, ec);
    return ec ? winerr::AccessDenied : winerr::Success;
}

std::vector<std::wstring> filesOf(const Json& driver) {
    std::vector<std::wstring> files = {textOf(driver, "driverPath"), textOf(driver, "dataFile"),
                                       textOf(driver, "configFile"), textOf(driver, "helpFile")};
    for (auto& f : textsOf(driver, "dependentFiles"))
        files.push_back(f);
    std::erase(files, std::wstring());
    return files;
}

HResult faultHr(Status code) {
    return hresult::fromWin32(code);
}

} // namespace

Status SimSpooler::enumDrivers(std::wstring_view environment, std::uint32_t level,
                               std::vector<ports::DriverInfo>& out) noexcept {
    out.clear();
    if (Status s = enterRead({"EnumPrinterDriversW"}))
        return s;
    if (!knownLevel(level))
        return winerr::InvalidLevel;
    const bool all = text::equalsNoCase(environment, L"all");
    std::wstring env;
    if (!all && !resolveEnvironment(environment, env))
        return winerr::InvalidEnvironment;
    machine_.read([&](const Json& s) {
        const Json& drivers = memberOf(memberOf(s, "spooler"), "drivers");
        if (!drivers.is_array())
            return;
        for (const auto& d : drivers) {
            if (all || text::equalsNoCase(textOf(d, "environment"), env))
                out.push_back(driverInfo(d, level));
        }
    });
    return winerr::Success;
}

Status SimSpooler::getPrinterDriver(ports::SpoolerHandle& printer, std::wstring_view environment,
                                    std::uint32_t level, ports::DriverInfo& out) noexcept {
    out = {};
    if (!knownLevel(level))
        return winerr::InvalidLevel;
    std::wstring env;
    if (!resolveEnvironment(environment, env))
        return winerr::InvalidEnvironment;
    return readPrinter(printer, {"GetPrinterDriverW"}, [&](const Json& s, const Json& p, const Opened&) {
        const Json* d = findDriver(s, textOf(p, "driver"), env);
        if (!d)
            return winerr::UnknownPrinterDriver;
        out = driverInfo(*d, level);
        return winerr::Success;
    });
}

Status SimSpooler::addPrinterDriver(const ports::DriverInfo& info) noexcept {
    return machine_.write([&](Json& s) -> Status {
        if (Status e = enter(s, {"AddPrinterDriverW", "AddPrinterDriverExW"}))
            return e;
        if (info.level < 2 || !knownLevel(info.level))
            return winerr::InvalidLevel;
        std::wstring env;
        if (!resolveEnvironment(info.environment, env))
            return winerr::InvalidEnvironment;
        if (info.name.empty() || info.driverPath.empty() || info.dataFile.empty() || info.configFile.empty())
            return winerr::InvalidParameter;
        if (info.level >= 3 && info.monitorName && !info.monitorName->empty() &&
            !findMonitor(s, *info.monitorName))
            return winerr::UnknownPrintMonitor;
        const std::wstring dir = driverDirectory(env);
        Json record = driverRecord(info, env);
        if (info.version == 0)
            record["version"] = 3;
        for (const char* key : {"driverPath", "dataFile", "configFile"}) {
            std::wstring installed;
            if (Status e = installFile(machine_, dir, textOf(record, key), installed))
                return e;
            record[key] = u8(installed);
        }
        if (info.level >= 3) {
            if (info.helpFile && !info.helpFile->empty()) {
                std::wstring installed;
                if (Status e = installFile(machine_, dir, *info.helpFile, installed))
                    return e;
                record["helpFile"] = u8(installed);
            }
            std::vector<std::wstring> deps;
            for (const auto& f : info.dependentFiles) {
                std::wstring installed;
                if (Status e = installFile(machine_, dir, f, installed))
                    return e;
                deps.push_back(installed);
            }
            record["dependentFiles"] = fromTexts(deps);
        }
        if (Json* existing = findDriver(s, info.name, env)) {
            // The driver's own facts the record does not carry stay (its papers).
            for (const char* keep : {"papers", "dpi"}) {
                if (existing->contains(keep))
                    record[keep] = (*existing)[keep];
            }
            *existing = std::move(record);
        } else {
            arrayAt(objectAt(s, "spooler"), "drivers").push_back(std::move(record));
        }
        return winerr::Success;
    });
}

Status SimSpooler::deletePrinterDriver(std::wstring_view environment, std::wstring_view name,
                                       std::uint32_t deleteFlags, std::uint32_t version) noexcept {
    return machine_.write([&](Json& s) -> Status {
        if (Status e = enter(s, {"DeletePrinterDriverExW"}))
            return e;
        std::wstring env;
        if (!resolveEnvironment(environment, env))
            return winerr::InvalidEnvironment;
        const Json* d = findDriver(s, name, env);
        if (!d ||
            ((deleteFlags & ports::spool::DeleteSpecificVersion) && numberOf(*d, "version", 3) != version))
            return winerr::UnknownPrinterDriver;
        const Json& printers = memberOf(objectAt(s, "spooler"), "printers");
        if (env == nativeEnvironment(s) && printers.is_array()) {
            for (const auto& p : printers) {
                if (text::equalsNoCase(textOf(p, "driver"), name))
                    return winerr::PrinterDriverInUse;
            }
        }
        std::vector<std::wstring> removable;
        if (deleteFlags & (ports::spool::DeleteUnusedFiles | ports::spool::DeleteAllFiles)) {
            for (const auto& file : filesOf(*d)) {
                bool shared = false;
                for (const auto& other : objectAt(s, "spooler")["drivers"]) {
                    if (&other == d || !text::equalsNoCase(textOf(other, "environment"), env))
                        continue;
                    for (const auto& f : filesOf(other))
                        shared = shared || text::equalsNoCase(f, file);
                }
                if (shared && (deleteFlags & ports::spool::DeleteAllFiles))
                    return winerr::PrinterDriverInUse; // another driver still needs this file
                if (!shared)
                    removable.push_back(file);
            }
        }
        for (const auto& file : removable) {
            std::error_code ec;
            fs::remove(machine_.hostPath(file), ec);
        }
        Json& drivers = objectAt(s, "spooler")["drivers"];
        for (std::size_t i = 0; i < drivers.size(); ++i) {
            if (&drivers[i] == d) {
                drivers.erase(i);
                break;
            }
        }
        return winerr::Success;
    });
}

Status SimSpooler::printerDriverDirectory(std::wstring_view environment, std::wstring& out) noexcept {
    out.clear();
    if (Status s = enterRead({"GetPrinterDriverDirectoryW"}))
        return s;
    std::wstring env;
    if (!resolveEnvironment(environment, env))
        return winerr::InvalidEnvironment;
    out = driverDirectory(env);
    std::error_code ec;
    fs::create_directories(machine_.hostPath(out), ec);
    return winerr::Success;
}

bool SimSpooler::driverStoreAvailable() noexcept {
    return machine_.read([](const Json& s) {
        return flagOf(memberOf(memberOf(s, "spooler"), "driverStore"), "available", true);
    });
}

HResult SimSpooler::uploadPrinterDriverPackage(std::wstring_view infPath, std::wstring_view environment,
                                               std::uint32_t, ports::WindowId,
                                               std::wstring& destInfPath) noexcept {
    destInfPath.clear();
    if (!driverStoreAvailable())
        return winerr::ProcNotFound;
    return machine_.write([&](Json& s) -> HResult {
        if (Status e = enter(s, {"UploadPrinterDriverPackageW"}))
            return faultHr(e);
        std::wstring env;
        if (!resolveEnvironment(environment, env))
            return faultHr(winerr::InvalidEnvironment);
        if (Status e = stagePackage(machine_, s, infPath, env, destInfPath))
            return faultHr(e);
        return hresult::SOk;
    });
}

HResult SimSpooler::installPrinterDriverFromPackage(std::wstring_view infPath, std::wstring_view driverName,
                                                    std::wstring_view environment, std::uint32_t) noexcept {
    if (!driverStoreAvailable())
        return winerr::ProcNotFound;
    return machine_.write([&](Json& s) -> HResult {
        if (Status e = enter(s, {"InstallPrinterDriverFromPackageW"}))
            return faultHr(e);
        std::wstring env;
        if (!resolveEnvironment(environment, env))
            return faultHr(winerr::InvalidEnvironment);
        if (!findPackage(s, infPath))
            return faultHr(winerr::FileNotFound);
        InfFile inf;
        if (Status e = readInf(machine_, infPath, inf))
            return faultHr(e);
        const auto model = inf.modelNamed(driverName, infDecoration(env));
        if (!model)
            return faultHr(winerr::UnknownPrinterDriver);
        if (Status e = installDriverFromStore(machine_, s, infPath, inf, *model, env))
            return faultHr(e);
        return hresult::SOk;
    });
}

HResult SimSpooler::deletePrinterDriverPackage(std::wstring_view infPath,
                                               std::wstring_view environment) noexcept {
    if (!driverStoreAvailable())
        return winerr::ProcNotFound;
    return machine_.write([&](Json& s) -> HResult {
        if (Status e = enter(s, {"DeletePrinterDriverPackageW"}))
            return faultHr(e);
        std::wstring env;
        if (!resolveEnvironment(environment, env))
            return faultHr(winerr::InvalidEnvironment);
        Json& packages = arrayAt(objectAt(objectAt(s, "spooler"), "driverStore"), "packages");
        if (!findNamed(packages, "infPath", infPath))
            return faultHr(winerr::FileNotFound);
        for (const auto& d : objectAt(s, "spooler")["drivers"]) {
            if (text::equalsNoCase(textOf(d, "infPath"), infPath))
                return hresult::PrinterDriverPackageInUse;
        }
        eraseNamed(packages, "infPath", infPath);
        std::error_code ec;
        fs::remove_all(machine_.hostPath(infPath).parent_path(), ec);
        return hresult::SOk;
    });
}

HResult SimSpooler::getPrinterDriverPackagePath(std::wstring_view packageId, std::wstring_view environment,
                                                std::wstring& out) noexcept {
    out.clear();
    if (!driverStoreAvailable())
        return winerr::ProcNotFound;
    if (Status e = enterRead({"GetPrinterDriverPackagePathW"}))
        return faultHr(e);
    std::wstring env;
    if (!resolveEnvironment(environment, env))
        return faultHr(winerr::InvalidEnvironment);
    return machine_.read([&](const Json& s) -> HResult {
        const Json& packages = memberOf(memberOf(memberOf(s, "spooler"), "driverStore"), "packages");
        if (!packages.is_array())
            return faultHr(winerr::FileNotFound);
        for (const auto& p : packages) {
            const std::wstring inf = textOf(p, "infPath");
            if (text::equalsNoCase(inf, packageId) || text::equalsNoCase(fileNameOf(inf), packageId)) {
                out = inf.substr(0, inf.find_last_of(L'\\'));
                return hresult::SOk;
            }
        }
        return faultHr(winerr::FileNotFound);
    });
}

} // namespace sim
