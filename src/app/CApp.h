#pragma once
// The application object: owns, for the whole run, the setup session with the discovered devices,
// the two catalogue documents, the skin archive and the current language, the four system
// libraries, the log file, the single-instance claim, the application context with the engine's
// output pipe and background commands, and the main window (through the user-interface seam).
// Whoever needs any of it is handed this object or its context; nothing reaches it globally.
#include "app/AppConstants.h"
#include "app/AppContext.h"
#include "app/AppUserInterface.h"
#include "app/CMyLog.h"
#include "app/Folders.h"
#include "app/SetupSession.h"
#include "app/SystemLibraries.h"
#include "app/language/Language.h"
#include "app/skin/SkinArchive.h"
#include "catalogue/XmlDocument.h"
#include "platform/ports/Platform.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace app {

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
    std::unique_ptr<AppUserInterface> ui; // null: NoMainWindowYet
    // The engine's output pipe and background commands, made where the engine is linked: the
    // shared pointers carry the engine's deleters, so CApp owns them without the application layer
    // needing the engine's code. CApp must hold the only reference: it releases them before the
    // context they use. Null: standard output cannot be captured / background commands do not run.
    std::shared_ptr<OutputPipe> outputPipe;
    std::shared_ptr<BackgroundCommands> backgroundCommands;
    Reporter say; // empty: silent
    AppIdentity identity;
};

} // namespace app

class CApp {
public:
    explicit CApp(ports::Platform& platform, app::AppParts parts = {});
    ~CApp();
    CApp(const CApp&) = delete;
    CApp& operator=(const CApp&) = delete;

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
    const CMyLog& log() const { return log_; }
    const app::SystemLibraries& libraries() const { return libraries_; }
    ports::Platform& platform() { return platform_; }
    app::AppUserInterface& ui() { return *ui_; }
    const app::AppIdentity& identity() const { return identity_; }

    // The driver catalogue ("XML" 131) and the manufacturer records ("XML" 132), parsed at start-up
    // and read-only afterwards; empty when their resource is missing or broken.
    const catalogue::XmlDocument& catalogueDoc() const { return catalogueDoc_; }
    const catalogue::XmlDocument& manufacturerDoc() const { return manufacturerDoc_; }

    // The skin archive ("ZIPRES" 129), opened at start-up; closed when the program has none.
    const SkinArchive& skin() const { return skin_; }
    // The current language; the language dialog switches it.
    CLanguage& language() { return language_; }

    // What the engine, the pages and the tools run with. Complete once initInstance() has got as far
    // as the main window; its output pipe and background commands are the ones this object owns
    // (null when none were given).
    app::AppContext& context() { return context_; }

    // The print system's driver folder for this machine, asked of the spooler; "" and a message box
    // when it cannot be found.
    std::wstring printerDriverFolder();

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
    void pickLanguage(std::uint16_t uiLanguage);
    void completeContext();

    ports::Platform& platform_;
    app::AppIdentity identity_;
    std::unique_ptr<app::AppUserInterface> ui_;
    app::Reporter say_;

    // Before the session: its model references point into the catalogue.
    catalogue::XmlDocument catalogueDoc_;
    catalogue::XmlDocument manufacturerDoc_;
    SetupSession session_;
    // The language reads its tables from the skin, so the skin comes first.
    SkinArchive skin_;
    CLanguage language_{skin_};
    app::SystemLibraries libraries_;
    CMyLog log_;
    std::unique_ptr<ports::SingleInstance> singleInstance_;

    app::AppContext context_;
    // After the context: their threads use it, so they are stopped and joined first.
    std::shared_ptr<OutputPipe> outputPipe_;
    std::shared_ptr<BackgroundCommands> backgroundCommands_;
};

namespace app {

// The process entry after the operating system's: initialise the framework (failure: exit code 1),
// turn the context's debug mode on for a "-debug" argument, run CApp's start-up, and when it succeeds the
// message loop and the exit. The exit code is then the user interface's (0 for the wizard).
int runProcess(CApp& app, std::span<const std::wstring> args);

} // namespace app
