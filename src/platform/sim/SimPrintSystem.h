#pragma once
// The simulated machine's print system as data: the "spooler" section of the state and the rules
// every port that touches it shares (the spooler itself, the Plug and Play installation that
// creates queues, Bluetooth that adds COM ports). See docs/simulated-machine.md for the format.
#include "platform/ports/Status.h"
#include "platform/sim/SimInf.h"
#include "platform/sim/SimMachine.h"

#include <string>
#include <string_view>

namespace sim {

// The longest port name of the Standard TCP/IP monitor's records.
inline constexpr std::size_t kMaxPortName = 63;

// "Windows NT x86", "Windows x64" or "Windows ARM64", from the machine's architecture.
std::wstring nativeEnvironment(const Json& state);
// Where Windows lives (%windir%): system.windowsFolder, "C:\Windows" when the state names none.
std::wstring windowsFolder(const Json& state);
// The environment a NULL argument stands for: the calling program's, and the wizard is a 32-bit
// program, so "Windows NT x86" on every machine (as winspool documents for NULL).
inline constexpr std::wstring_view kCallerEnvironment = L"Windows NT x86";
// Resolves "" and the letter case of a known environment; false for an unknown one.
bool resolveEnvironment(std::wstring_view environment, std::wstring& out);
// "C:\Windows\system32\spool\DRIVERS\x64" and the like.
std::wstring driverDirectory(std::wstring_view environment);

// Empty, too long, or with a character the spooler refuses (',', '!', '\').
bool validPrinterName(std::wstring_view name);

Json* findPrinter(Json& state, std::wstring_view name);
const Json* findPrinter(const Json& state, std::wstring_view name);
Json* findDriver(Json& state, std::wstring_view name, std::wstring_view environment);
const Json* findDriver(const Json& state, std::wstring_view name, std::wstring_view environment);
Json* findPort(Json& state, std::wstring_view name);
const Json* findPort(const Json& state, std::wstring_view name);
Json* findMonitor(Json& state, std::wstring_view name);
const Json* findMonitor(const Json& state, std::wstring_view name);
bool portInUse(const Json& state, std::wstring_view port);

// Adds a port of `monitor` unless one of that name exists.
void ensurePort(Json& state, std::wstring_view name, std::wstring_view monitor);
// The printer-independent parts a new printer record gets, and the "DsSpooler" values Windows keeps
// in step with the printer's name, driver, port, location and comment.
void refreshDsSpooler(Json& printer);
// Makes printer forms of the driver's papers that the spooler does not list yet.
void addDriverForms(Json& state, const Json& driver);
// `base`, or "<base> (Copy n)" with the first n that is free.
std::wstring uniquePrinterName(const Json& state, std::wstring_view base);

// --- driver store
// Copies the package of the INF at `infPath` (its folder) into the store and records it; `dest` is
// the INF inside the store. The same INF content always lands in the same place.
ports::Status stagePackage(SimMachine& machine, Json& state, std::wstring_view infPath,
                           std::wstring_view environment, std::wstring& dest);
const Json* findPackage(const Json& state, std::wstring_view storeInf);
// Installs the driver `model` of a staged package for `environment` (adding the language monitor the
// model names), replacing a driver of that name.
ports::Status installDriverFromStore(SimMachine& machine, Json& state, std::wstring_view storeInf,
                                     const InfFile& inf, const InfFile::Model& model,
                                     std::wstring_view environment);
// Reads an INF from the simulated disk.
ports::Status readInf(SimMachine& machine, std::wstring_view path, InfFile& out);
bool simFileExists(SimMachine& machine, std::wstring_view path);

// Takes a fault for whichever of the names has one (Windows functions are known by two names).
ports::Status takeFaultAny(Json& state, std::initializer_list<std::string_view> operations);

} // namespace sim
