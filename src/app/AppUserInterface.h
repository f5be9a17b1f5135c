#pragma once
// The seam between start-up and the user interface: what CApp needs from the UI toolkit and the
// main window, in the order it needs it. The toolkit and CMainFrame implement it; until they exist,
// NoMainWindowYet stands in and start-up ends where the main window would be created.
#include "app/AppConstants.h"

#include <span>
#include <string_view>

class CApp;

namespace app {

class AppUserInterface {
public:
    virtual ~AppUserInterface() = default;

    // The framework itself, before anything else. False ends the process with exit code 1.
    virtual bool initialiseFramework() = 0;

    // The toolkit's part of the base initialisation: CoInitialize, OleInitialize, record the
    // resource instance, take the application name and load the skin. False fails start-up.
    virtual bool initialiseToolkit(std::wstring_view appName, const SkinSource& skin) = 0;
    // The rich-edit control library of the message log.
    virtual void initialiseRichEdit() = 0;
    // Registers the control classes by name with the toolkit's factory, then creates the shell
    // manager of the shell tree.
    virtual void registerControlClasses(std::span<const std::wstring_view> classNames) = 0;

    // Creates the main window (CMainFrame) as `parameters` describe. False when it cannot be created;
    // start-up then fails and the process ends with exit code 0.
    virtual bool createMainWindow(CApp& app, const MainWindowParameters& parameters) = 0;
    // Runs the message loop until the main window has been destroyed.
    virtual void runMessageLoop() = 0;
    // Another copy of the program asked this one to come forward: show the main window, restore
    // it (SC_RESTORE) and bring it to the foreground.
    virtual void activateMainWindow() = 0;

    // Start-up found another copy running (and asked it to come forward); nothing more happens.
    virtual void anotherCopyRuns() {}
    // The process's exit code once the run is over.
    virtual int exitCode() const { return 0; }

    // A message box owned by the main window when there is one.
    virtual void messageBox(std::wstring_view text, std::wstring_view caption) = 0;

    // The exit, in CApp's order: the shell manager, the main window object, and last the
    // toolkit's resources followed by OleUninitialize and CoUninitialize.
    virtual void deleteShellManager() = 0;
    virtual void destroyMainWindow() = 0;
    virtual void releaseToolkit() = 0;
};

} // namespace app
