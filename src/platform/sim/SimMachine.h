#pragma once
// The simulated Windows machine: one JSON document holding the machine's state (see
// docs/simulated-machine.md), kept in memory or in a file that several processes share. Every
// access runs under the machine's lock; a file-backed machine reads the file again when another
// process has changed it (its time or size differ) and writes it back atomically when a change
// changed it, so the wizard and the simulated device-console tool see one state. The state is checked
// (SimStateCheck.h) whenever it is loaded, read again or changed: misshapen parts are dropped and
// logged, so no port meets a value of a type it cannot read.
#include "platform/ports/Status.h"
#include "platform/host/HostFile.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sim {

using Json = nlohmann::json;

class SimMachine {
public:
    using LogSink = std::function<void(std::string_view)>;

    // A machine that lives in memory only, starting from `state`. `log` is its diagnostic log (below).
    static std::unique_ptr<SimMachine> inMemory(Json state, std::filesystem::path driveRoot,
                                                LogSink log = {});
    // The embedded demo machine, in memory, with its C: drive in a fresh temporary folder that goes
    // with the machine.
    static std::unique_ptr<SimMachine> demo();
    ~SimMachine();
    SimMachine(const SimMachine&) = delete;
    SimMachine& operator=(const SimMachine&) = delete;
    // A machine whose state is the JSON file at `file`. A missing file is created from the demo
    // machine. Fails with ERROR_INVALID_DATA for a file that is not a JSON object.
    static std::unique_ptr<SimMachine> openFile(const std::filesystem::path& file, ports::Status& status,
                                                LogSink log = {});

    // Runs fn(const Json&) on the current state under the lock.
    template <typename F> decltype(auto) read(F&& fn) {
        Guard g(*this);
        return fn(static_cast<const Json&>(state_));
    }
    // Runs fn(Json&) under the lock and saves the state afterwards.
    template <typename F> decltype(auto) write(F&& fn) {
        Guard g(*this);
        SaveOnExit save(*this);
        return fn(state_);
    }

    // Fault injection: when the state's "faults" list holds an entry for `operation` with a count
    // left, uses one and returns its code; otherwise success. Call inside write().
    static ports::Status takeFault(Json& state, std::string_view operation);
    static bool hasFault(const Json& state, std::string_view operation);
    // takeFault for calls that otherwise only read: the state is written (and saved) only when it
    // holds a fault for `operation`.
    ports::Status fault(std::string_view operation);

    // The folder that holds the machine's drives ("C" below it is C:).
    const std::filesystem::path& driveRoot() const { return driveRoot_; }
    // The host path of a Windows path ("C:\Windows\x.dll", "\\?\C:\..."), matching existing names
    // without regard to case as Windows does. Empty for a path that is not absolute.
    std::filesystem::path hostPath(std::wstring_view windowsPath) const;

    std::string fileName() const { return file_.string(); }

    // The state file other processes (the simulated device-console tool) open to share this machine.
    // An in-memory machine moves into "machine.json" in its drive folder at the first call and is
    // file-backed from then on; the file names that drive folder ("hostDrive"). Empty on failure.
    std::filesystem::path shareThroughFile();

    // Tests only (the program's composition never calls these): the host program that stands in for
    // the device-console tools, in place of the one beside the running executable, and further
    // simulated program names (a file name such as "tool.exe", any case) mapped to host programs.
    // The state file cannot name host programs: a crafted file must not make the elevated wizard
    // start something else.
    struct HostProgram {
        std::filesystem::path path;
        std::vector<std::wstring> prefix; // arguments before the command line's own
        bool machineArgument = false;     // "--machine=<state file>" first
    };
    void setHostDevcon(std::filesystem::path program) { hostDevcon_ = std::move(program); }
    const std::filesystem::path& hostDevcon() const { return hostDevcon_; }
    void mapHostProgram(std::wstring name, HostProgram program) {
        hostPrograms_.emplace_back(std::move(name), std::move(program));
    }
    const std::vector<std::pair<std::wstring, HostProgram>>& hostPrograms() const { return hostPrograms_; }

    // The machine's diagnostic log: what it passed over in the state and why. Lines go to standard
    // error unless a sink is set.
    void setLog(LogSink sink) { log_ = std::move(sink); }
    void log(std::string_view line) const noexcept;

private:
    SimMachine(Json state, std::filesystem::path file, std::filesystem::path driveRoot, LogSink log);

    class Guard {
    public:
        explicit Guard(SimMachine& m);
        ~Guard();
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        SimMachine& m_;
        std::unique_ptr<host::FileLock> fileLock_;
    };
    class SaveOnExit {
    public:
        explicit SaveOnExit(SimMachine& m) : m_(m) {}
        ~SaveOnExit();
        SaveOnExit(const SaveOnExit&) = delete;
        SaveOnExit& operator=(const SaveOnExit&) = delete;

    private:
        SimMachine& m_;
    };

    void reloadIfChanged();
    void save();
    void check();
    void noteFile();

    std::recursive_mutex mutex_;
    int depth_ = 0;
    Json state_;
    std::filesystem::path file_; // empty for an in-memory machine
    // The file as this machine last read or wrote it, to tell another process's change.
    std::string savedText_;
    std::filesystem::file_time_type seenTime_{};
    std::uintmax_t seenSize_ = static_cast<std::uintmax_t>(-1);
    std::filesystem::path driveRoot_;
    bool ownsDriveRoot_ = false; // the demo machine's temporary folder
    std::filesystem::path hostDevcon_;
    std::vector<std::pair<std::wstring, HostProgram>> hostPrograms_;
    LogSink log_;
};

// The state of the embedded demo machine.
Json demoMachineState();

} // namespace sim
