#include "app/CApp.h"

#include "app/Architecture.h"
#include "app/DebugMode.h"
#include "app/ErrorText.h"
#include "app/NoMainWindowYet.h"
#include "app/PersistedChoices.h"
#include "app/language/Languages.h"
#include "catalogue/CatalogueHeader.h"
#include "catalogue/LoadXmlResource.h"

CApp::CApp(ports::Platform& platform, app::AppParts parts)
    : platform_(platform), identity_(std::move(parts.identity)), ui_(std::move(parts.ui)),
      say_(std::move(parts.say)), log_(platform.files(), platform.clock()), context_{.platform = platform},
      outputPipe_(std::move(parts.outputPipe)), backgroundCommands_(std::move(parts.backgroundCommands)) {
    if (!ui_)
        ui_ = std::make_unique<app::NoMainWindowYet>(say_);
    // What does not depend on the machine's answers at start-up; completeContext() adds the rest.
    context_.systemErrorText = [this](std::uint32_t code) {
        return app::systemErrorText(platform_.system(), code);
    };
    context_.translate = [this](std::wstring_view id) { return language_.translate(id); };
    context_.outputPipe = outputPipe_.get();
    context_.backgroundCommands = backgroundCommands_.get();
    context_.logFile = [this](std::wstring_view line) {
        if (log_.started())
            log_.addLine(line);
    };
}

// The engine's parts go first (the members' order): their threads are joined while the context,
// the language and the ports they use still exist.
CApp::~CApp() = default;

bool CApp::initInstance() {
    ports::SystemInfo& system = platform_.system();
    ports::AppHost& host = platform_.host();

    // Base initialisation, then one running copy per machine: a later copy signals the first and
    // ends without a window. The skin is opened first so that the toolkit can build from it; without
    // it every text stays untranslated.
    (void)skin_.open(platform_.resources());
    if (!ui_->initialiseToolkit(identity_.appName, app::SkinSource{}))
        return false;
    singleInstance_ = host.claimSingleInstance(identity_.singleInstanceId);
    if (!singleInstance_->first()) {
        if (say_)
            say_(L"another copy is running on this machine: it was asked to come forward");
        ui_->anotherCopyRuns();
        return false;
    }

    ui_->initialiseRichEdit();
    ui_->registerControlClasses(app::kControlClasses);
    startWinsock();
    (void)host.enablePrivilege(app::kDriverLoadingPrivilege); // without it, driver installs fail later

    platform_.profile().setApplicationKey(identity_.companyKey, identity_.appName);
    app::loadPersistedChoices(platform_.profile(), session_);

    // A missing or broken document only reaches the debugger output and leaves the pages with
    // empty lists.
    catalogue::LoadXmlResource(platform_.resources(), system, ports::kResourceCatalogue, catalogueDoc_);
    catalogue::LoadXmlResource(platform_.resources(), system, ports::kResourceManufacturers,
                               manufacturerDoc_);
    catalogue::ReadCatalogueHeader(catalogueDoc_, session_.manufacturer);

    if (context_.debugMode.load() == 1) {
        log_.start(system.modulePath(), identity_.appName);
        log_.logStartLine();
    }

    pickLanguage(system.userDefaultUiLanguage());

    libraries_.load(host);
    completeContext();

    app::MainWindowParameters parameters;
    parameters.title = identity_.appName;
    return ui_->createMainWindow(*this, parameters);
}

// WSAStartup succeeds even when the library offers less than 2.2 and reports what it offers, so
// the version is checked after a successful start: a lower one is reported and released. A start
// that fails is not reported; the network pages then fail in their own way.
void CApp::startWinsock() {
    ports::AppHost& host = platform_.host();
    std::uint16_t reported = 0;
    const std::uint16_t wanted = ports::winsockVersion(app::kWinsockMajor, app::kWinsockMinor);
    if (host.startWinsock(wanted, reported) != ports::winerr::Success)
        return;
    if (reported == wanted)
        return;
    ui_->messageBox(app::kWinsockVersionMessage, app::kErrorCaption);
    (void)host.cleanupWinsock();
}

// A language whose folder is missing leaves every message as written.
void CApp::pickLanguage(std::uint16_t uiLanguage) {
    const StartupLanguage choice = startupLanguage(uiLanguage);
    (void)language_.setLanguage(choice.folder, choice.name);
    platform_.system().setThreadUiLanguage(uiLanguage);
}

// The machine's answers that the engine keeps for the run; the main window's start needs them.
void CApp::completeContext() {
    ports::SystemInfo& system = platform_.system();
    context_.workingFolder = app::workingFolder(system, errorBox());
    context_.deviceConsoleTool = app::deviceConsoleTool(system);
}

std::wstring CApp::printerDriverFolder() {
    return app::printerDriverFolder(platform_.system(), app::driverDirectoryQuery(platform_.spooler()),
                                    errorBox());
}

void CApp::exitInstance() {
    libraries_.free();
    (void)platform_.host().cleanupWinsock();
    ui_->deleteShellManager();
    ui_->destroyMainWindow();
    singleInstance_.reset();
    ui_->releaseToolkit();
}

std::int32_t CApp::getProfileInt(std::wstring_view section, std::wstring_view name, std::int32_t def) {
    return platform_.profile().readInt(section, name, def);
}

ports::Status CApp::writeProfileInt(std::wstring_view section, std::wstring_view name, std::int32_t value) {
    return platform_.profile().writeInt(section, name, value);
}

std::wstring CApp::getProfileString(std::wstring_view section, std::wstring_view name,
                                    std::wstring_view def) {
    return platform_.profile().readString(section, name, def);
}

ports::Status CApp::writeProfileString(std::wstring_view section, std::wstring_view name,
                                       std::optional<std::wstring_view> text) {
    return platform_.profile().writeString(section, name, text);
}

app::ErrorBox CApp::errorBox() {
    return [this](std::wstring_view text, std::wstring_view caption) { ui_->messageBox(text, caption); };
}

std::uint32_t CApp::activationMessage() const {
    return singleInstance_ ? singleInstance_->activationMessage() : 0;
}

void CApp::activate() {
    ui_->activateMainWindow();
}

bool CApp::pollActivationRequests() {
    if (!singleInstance_ || singleInstance_->takeActivationRequests() == 0)
        return false;
    activate();
    return true;
}

namespace app {

int runProcess(CApp& app, std::span<const std::wstring> args) {
    if (!app.ui().initialiseFramework())
        return 1;
    if (hasDebugSwitch(args))
        app.context().debugMode = 1;
    if (app.initInstance()) {
        app.ui().runMessageLoop();
        app.exitInstance();
    }
    return app.ui().exitCode();
}

} // namespace app
