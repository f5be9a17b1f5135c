#pragma once
// The user interface of Orvello.exe: the wizard's main window on native windows. The window and its
// pages are built by wizard::WizardMainWindow (portable, tested headless); this part only owns the
// native backend, shows the frame and runs the message loop.
#include "app/AppUserInterface.h"
#include "app/NoMainWindowYet.h"
#include "ui/win32/Automation.h"
#include "ui/win32/Win32Backend.h"
#include "wizard/WizardMainWindow.h"

#include <memory>

namespace app {

class Win32UserInterface final : public AppUserInterface {
public:
    // `say` gets the start-up report and what went wrong (may be empty).
    explicit Win32UserInterface(NoMainWindowYet::Reporter say = {}) : say_(std::move(say)) {}
    ~Win32UserInterface() override;

    bool initialiseFramework() override { return true; }
    bool initialiseToolkit(std::wstring_view appName, const SkinSource& skin) override;
    void initialiseRichEdit() override {}
    void registerControlClasses(std::span<const std::wstring_view>) override {}
    bool createMainWindow(CApp& app, const MainWindowParameters& parameters) override;
    void runMessageLoop() override;
    void activateMainWindow() override;
    int exitCode() const override { return exitCode_; }
    void messageBox(std::wstring_view text, std::wstring_view caption) override;
    void deleteShellManager() override {}
    void destroyMainWindow() override;
    void releaseToolkit() override;

private:
    NoMainWindowYet::Reporter say_;
    std::unique_ptr<ui::win32::Win32Backend> backend_;
    std::unique_ptr<wizard::WizardMainWindow> main_;
    std::unique_ptr<ui::win32::AutomationServer> automation_; // stopped before the window goes
    int exitCode_ = 0;
};

} // namespace app
