#pragma once
// The application object: owns, for the whole run, the setup session with the discovered devices,
// the catalogue documents (through the catalogue seam), the four system libraries, the log file,
// the single-instance claim and the main window (through the user-interface seam). Exactly one
// exists while the program runs; instance() reaches it.
#include "app/AppConstants.h"
#include "app/AppUserInterface.h"
#include "app/CMyLog.h"
#include "app/CatalogueLoader.h"
#include "app/Folders.h"
#include "app/SetupSession.h"
#include "app/SystemLibraries.h"
#include "platform/ports/Platform.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace app {

// Makes a UI language current: looks the identifier up in the start-up language table and sets
// the language (the language layer's part).
using LanguagePicker = std::function<void(std::uint16_t uiLanguage)>;
// A line for whoever started the program (the console, a test); never shown in the wizard.
using Reporter = std::function<void(std::wstring_view line)>;

// The names the program runs under. Tests change them to keep away from a real installation's
// registry key and mutex.
struct AppIdentity {
    std::wstring appName{kAppName};
    std::wstring companyKey{kCompanyKey};
    std::wstring singleInstanceId{kSingleInstanceId};
};

// What the composition root plugs into CApp. Empty parts get their stand-ins.
struct AppParts {
    std::unique_ptr<AppUserInterface> ui;       // null: NoMainWindowYet
    std::unique_ptr<CatalogueLoader> catalogue; // null: NoCatalogue
    LanguagePicker pickLanguage;                // empty: the language is left as it is
    Reporter say;                               // empty: silent
    AppIdentity identity;
};

} // namespace app

class CApp {
public:
    explicit CApp(ports::Platform& platform, app::AppParts parts = {});
    ~CApp();
    CApp(const CApp&) = delete;
    CApp& operator=(const CApp&) = delete;

    // The application object of this process: the first one constructed and not yet destroyed.
    static CApp* instance();

    // Start-up up to the main window. True when the main window exists and the message loop is to
    // run; false for a second copy of the program (after signalling the first) and when the main
    // window cannot be created.
    bool initInstance();
    // The exit after the message loop; not run when initInstance() returned false.
    void exitInstance();

    // The per-user profile of the persisted choices (section "SetupMode" for every page).
    std::int32_t getProfileInt(std::wstring_view section, std::wstring_view name, std::int32_t def);
    ports::Status writeProfileInt(std::wstring_view section, std::wstring_view name, std::int32_t value);
    std::wstring getProfileString(std::wstring_view section, std::wstring_view name, std::wstring_view def);
    // No text deletes the value.
    ports::Status writeProfileString(std::wstring_view section, std::wstring_view name,
                                     std::optional<std::wstring_view> text);

    SetupSession& session() { return session_; }
    CMyLog& log() { return log_; }
    const app::SystemLibraries& libraries() const { return libraries_; }
    ports::Platform& platform() { return platform_; }
    app::AppUserInterface& ui() { return *ui_; }
    app::CatalogueLoader& catalogue() { return *catalogue_; }
    const app::AppIdentity& identity() const { return identity_; }

    // A message box for helpers that report to the user (owned by the main window when it exists).
    app::ErrorBox errorBox();

    // Later copies of the program ask this one to come forward. On Windows the main window receives
    // activationMessage() and calls activate(); elsewhere the message loop calls
    // pollActivationRequests() now and then. Both are for the UI thread.
    std::uint32_t activationMessage() const;
    void activate();
    bool pollActivationRequests();

private:
    void startWinsock();

    ports::Platform& platform_;
    app::AppIdentity identity_;
    std::unique_ptr<app::AppUserInterface> ui_;
    std::unique_ptr<app::CatalogueLoader> catalogue_;
    app::LanguagePicker pickLanguage_;
    app::Reporter say_;

    SetupSession session_;
    app::SystemLibraries libraries_;
    CMyLog log_;
    std::unique_ptr<ports::SingleInstance> singleInstance_;
};

namespace app {

// The process entry after the operating system's: initialise the framework (failure: exit code 1),
// turn debug mode on for a "-debug" argument, run CApp's start-up, and when it succeeds the message
// loop and the exit. The exit code is then 0.
int runProcess(CApp& app, std::span<const std::wstring> args);

} // namespace app
