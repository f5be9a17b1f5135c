#pragma once
// Stand-ins for the application's seams, recording into one journal so that a test sees the order
// in which start-up and exit touch the user interface, the machine, the profile and the resources.
#include "app/AppUserInterface.h"
#include "app/CApp.h"
#include "base/Format.h"
#include "base/Utf.h"
#include "platform/sim/SimPlatform.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace app_fakes {

using Journal = std::vector<std::string>;

inline std::string utf8(std::wstring_view s) {
    return text::toUtf8(s);
}

// A user interface whose main window "exists" unless told otherwise.
class RecordingUi final : public app::AppUserInterface {
public:
    explicit RecordingUi(Journal& journal) : journal_(journal) {}

    bool frameworkOk = true;
    bool toolkitOk = true;
    bool windowOk = true;
    int activations = 0;
    std::vector<std::wstring> messageBoxes; // "caption: text"

    bool initialiseFramework() override {
        journal_.push_back("initialiseFramework");
        return frameworkOk;
    }
    bool initialiseToolkit(std::wstring_view appName, const app::SkinSource& skin) override {
        journal_.push_back("initialiseToolkit " + utf8(appName) + " " + utf8(skin.folder) + " " +
                           utf8(skin.resourceType) + " " + std::to_string(skin.resourceId));
        return toolkitOk;
    }
    void initialiseRichEdit() override { journal_.push_back("initialiseRichEdit"); }
    void registerControlClasses(std::span<const std::wstring_view> names) override {
        std::string line = "registerControlClasses";
        for (auto n : names) {
            line += ' ';
            line += utf8(n);
        }
        journal_.push_back(line);
    }
    bool createMainWindow(CApp&, const app::MainWindowParameters& p) override {
        journal_.push_back(utf8(text::format(L"createMainWindow %s 0x%08X %u %d %d %d %d %s", p.title,
                                             p.style, p.exStyle, p.x, p.y, p.width, p.height,
                                             p.centreOnWorkArea ? L"centred" : L"where-given")));
        return windowOk;
    }
    void runMessageLoop() override { journal_.push_back("runMessageLoop"); }
    void activateMainWindow() override {
        journal_.push_back("activateMainWindow");
        ++activations;
    }
    void messageBox(std::wstring_view text, std::wstring_view caption) override {
        messageBoxes.push_back(std::wstring(caption) + L": " + std::wstring(text));
        journal_.push_back("messageBox " + utf8(caption) + ": " + utf8(text));
    }
    void deleteShellManager() override { journal_.push_back("deleteShellManager"); }
    void destroyMainWindow() override { journal_.push_back("destroyMainWindow"); }
    void releaseToolkit() override { journal_.push_back("releaseToolkit"); }

private:
    Journal& journal_;
};

// Whether the log file of the application under test runs at this moment; the test names the
// application once it exists.
struct LogWatch {
    const CApp* app = nullptr;
    const char* state() const { return app && app->log().started() ? "log started" : "log not started"; }
};

class RecordingResources final : public ports::Resources {
public:
    RecordingResources(Journal& j, const LogWatch& log, ports::Resources& inner)
        : journal_(j), log_(log), inner_(inner) {}
    std::optional<std::span<const std::uint8_t>> find(std::wstring_view type,
                                                      std::uint16_t id) noexcept override {
        journal_.push_back("findResource " + utf8(type) + " " + std::to_string(id) + ", " + log_.state());
        return inner_.find(type, id);
    }

private:
    Journal& journal_;
    const LogWatch& log_;
    ports::Resources& inner_;
};

// Records the user's language being asked for and the thread's being set; passes everything on.
class RecordingSystem final : public ports::SystemInfo {
public:
    RecordingSystem(Journal& j, const LogWatch& log, ports::SystemInfo& inner)
        : journal_(j), log_(log), inner_(inner) {}

    std::uint16_t userDefaultUiLanguage() noexcept override {
        journal_.push_back(std::string("userDefaultUiLanguage, ") + log_.state());
        return inner_.userDefaultUiLanguage();
    }
    void setThreadUiLanguage(std::uint16_t id) noexcept override {
        journal_.push_back(utf8(text::format(L"setThreadUiLanguage 0x%04X", id)));
        inner_.setThreadUiLanguage(id);
    }

    ports::Architecture nativeArchitecture() noexcept override { return inner_.nativeArchitecture(); }
    bool isWow64Process() noexcept override { return inner_.isWow64Process(); }
    ports::WindowsVersion windowsVersion() noexcept override { return inner_.windowsVersion(); }
    std::wstring modulePath() noexcept override { return inner_.modulePath(); }
    std::wstring computerName() noexcept override { return inner_.computerName(); }
    std::wstring knownFolder(ports::KnownFolder folder) noexcept override {
        return inner_.knownFolder(folder);
    }
    std::uint32_t ansiCodePage() noexcept override { return inner_.ansiCodePage(); }
    ports::Status ansiToWide(std::string_view in, std::wstring& out) noexcept override {
        return inner_.ansiToWide(in, out);
    }
    ports::Status wideToAnsi(std::wstring_view in, std::string& out) noexcept override {
        return inner_.wideToAnsi(in, out);
    }
    std::wstring systemMessage(std::uint32_t code) noexcept override { return inner_.systemMessage(code); }
    std::uint32_t lastError() noexcept override { return inner_.lastError(); }
    void debugOutput(std::wstring_view text) noexcept override { inner_.debugOutput(text); }
    ports::Status initializeCom() noexcept override { return inner_.initializeCom(); }
    void uninitializeCom() noexcept override { inner_.uninitializeCom(); }

private:
    Journal& journal_;
    const LogWatch& log_;
    ports::SystemInfo& inner_;
};

class RecordingModule final : public ports::Module {
public:
    RecordingModule(Journal& j, std::wstring name, std::unique_ptr<ports::Module> inner)
        : journal_(j), name_(std::move(name)), inner_(std::move(inner)) {}
    ~RecordingModule() override { journal_.push_back("freeLibrary " + utf8(name_)); }
    bool hasEntryPoint(const char* name) const noexcept override { return inner_->hasEntryPoint(name); }

private:
    Journal& journal_;
    std::wstring name_;
    std::unique_ptr<ports::Module> inner_;
};

class RecordingInstance final : public ports::SingleInstance {
public:
    RecordingInstance(Journal& j, std::unique_ptr<ports::SingleInstance> inner)
        : journal_(j), inner_(std::move(inner)) {}
    ~RecordingInstance() override { journal_.push_back("closeSingleInstanceMutex"); }
    bool first() const noexcept override { return inner_->first(); }
    std::uint32_t activationMessage() const noexcept override { return inner_->activationMessage(); }
    int takeActivationRequests() noexcept override { return inner_->takeActivationRequests(); }

private:
    Journal& journal_;
    std::unique_ptr<ports::SingleInstance> inner_;
};

class RecordingHost final : public ports::AppHost {
public:
    RecordingHost(Journal& j, ports::AppHost& inner) : journal_(j), inner_(inner) {}

    std::unique_ptr<ports::SingleInstance> claimSingleInstance(std::wstring_view id) noexcept override {
        journal_.push_back("claimSingleInstance " + utf8(id));
        return std::make_unique<RecordingInstance>(journal_, inner_.claimSingleInstance(id));
    }
    ports::Status startWinsock(std::uint16_t requested, std::uint16_t& reported) noexcept override {
        journal_.push_back(utf8(text::format(L"startWinsock 0x%04X", requested)));
        return inner_.startWinsock(requested, reported);
    }
    ports::Status cleanupWinsock() noexcept override {
        journal_.push_back("cleanupWinsock");
        return inner_.cleanupWinsock();
    }
    ports::Status enablePrivilege(std::wstring_view name) noexcept override {
        journal_.push_back("enablePrivilege " + utf8(name));
        return inner_.enablePrivilege(name);
    }
    std::unique_ptr<ports::Module> loadLibrary(std::wstring_view name,
                                               ports::Status& status) noexcept override {
        journal_.push_back("loadLibrary " + utf8(name));
        auto m = inner_.loadLibrary(name, status);
        if (!m)
            return nullptr;
        return std::make_unique<RecordingModule>(journal_, std::wstring(name), std::move(m));
    }

private:
    Journal& journal_;
    ports::AppHost& inner_;
};

class RecordingProfile final : public ports::ProfileStore {
public:
    RecordingProfile(Journal& j, ports::ProfileStore& inner) : journal_(j), inner_(inner) {}

    void setApplicationKey(std::wstring_view company, std::wstring_view application) noexcept override {
        journal_.push_back("setApplicationKey " + utf8(company) + " " + utf8(application));
        inner_.setApplicationKey(company, application);
    }
    std::int32_t readInt(std::wstring_view section, std::wstring_view name,
                         std::int32_t def) noexcept override {
        journal_.push_back("readInt " + utf8(section) + " " + utf8(name) + " " + std::to_string(def));
        return inner_.readInt(section, name, def);
    }
    std::wstring readString(std::wstring_view section, std::wstring_view name,
                            std::wstring_view def) noexcept override {
        journal_.push_back("readString " + utf8(section) + " " + utf8(name) + " \"" + utf8(def) + "\"");
        return inner_.readString(section, name, def);
    }
    ports::Status writeInt(std::wstring_view section, std::wstring_view name,
                           std::int32_t value) noexcept override {
        journal_.push_back("writeInt " + utf8(section) + " " + utf8(name));
        return inner_.writeInt(section, name, value);
    }
    ports::Status writeString(std::wstring_view section, std::wstring_view name,
                              std::optional<std::wstring_view> value) noexcept override {
        journal_.push_back("writeString " + utf8(section) + " " + utf8(name));
        return inner_.writeString(section, name, value);
    }

private:
    Journal& journal_;
    ports::ProfileStore& inner_;
};

// A simulated machine's ports with the host, the profile, the resources and the language calls
// recorded. `host`, when given, stands in for the simulated machine's host.
class RecordingPlatform final : public sim::SimPlatform {
public:
    RecordingPlatform(Journal& j, sim::SimMachine& machine, ports::Resources& resources,
                      ports::AppHost* host = nullptr)
        : SimPlatform(machine, resources), host_(j, host ? *host : SimPlatform::host()),
          profile_(j, SimPlatform::profile()), resources_(j, logWatch, SimPlatform::resources()),
          system_(j, logWatch, SimPlatform::system()) {}

    LogWatch logWatch;
    ports::AppHost& host() noexcept override { return host_; }
    ports::ProfileStore& profile() noexcept override { return profile_; }
    ports::Resources& resources() noexcept override { return resources_; }
    ports::SystemInfo& system() noexcept override { return system_; }

private:
    RecordingHost host_;
    RecordingProfile profile_;
    RecordingResources resources_;
    RecordingSystem system_;
};

// One program run on a simulated machine with every seam recorded.
struct RecordedApp {
    RecordedApp(sim::SimMachine& machine, ports::Resources& resources, app::AppIdentity identity = {},
                ports::AppHost* host = nullptr)
        : platform(journal, machine, resources, host) {
        auto recordingUi = std::make_unique<RecordingUi>(journal);
        ui = recordingUi.get();
        app::AppParts parts;
        parts.ui = std::move(recordingUi);
        parts.identity = std::move(identity);
        app = std::make_unique<CApp>(platform, std::move(parts));
        platform.logWatch.app = app.get();
    }

    Journal journal;
    RecordingPlatform platform;
    RecordingUi* ui = nullptr;
    std::unique_ptr<CApp> app;
};

} // namespace app_fakes
