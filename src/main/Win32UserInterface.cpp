#include "main/Win32UserInterface.h"

#include "app/CApp.h"

#include <windows.h>

namespace app {

Win32UserInterface::~Win32UserInterface() {
    destroyMainWindow();
    releaseToolkit();
}

bool Win32UserInterface::initialiseToolkit(std::wstring_view, const SkinSource&) {
    backend_ = std::make_unique<ui::win32::Win32Backend>();
    return backend_->ready();
}

bool Win32UserInterface::createMainWindow(CApp& app, const MainWindowParameters& parameters) {
    reportStartUp(app, say_);
    main_ = std::make_unique<wizard::WizardMainWindow>(app);
    const bool built = main_->build(
        [&](ui::Window& window) {
            if (window.text().empty())
                window.setText(std::wstring(parameters.title));
            return backend_->createFrame(window);
        },
        [this] {
            if (backend_ && backend_->frame())
                ShowWindow(backend_->frame()->hwnd(), SW_MINIMIZE);
        });
    if (!built) {
        if (say_)
            say_(L"the main window was not built: " + main_->error());
        messageBox(main_->error(), kErrorCaption);
        main_.reset();
        return false;
    }
    backend_->showFrame();
    if (const unsigned short port = ui::win32::AutomationServer::portFromEnvironment()) {
        automation_ = std::make_unique<ui::win32::AutomationServer>(*backend_, port);
        if (say_)
            say_(automation_->listening()
                     ? L"automation on 127.0.0.1:" + std::to_wstring(port)
                     : L"automation: cannot listen on 127.0.0.1:" + std::to_wstring(port));
    }
    if (say_)
        say_(L"main window shown: page " + main_->frame()->currentPage());
    return true;
}

void Win32UserInterface::runMessageLoop() {
    if (backend_)
        exitCode_ = backend_->runMessageLoop();
}

void Win32UserInterface::activateMainWindow() {
    if (!backend_ || !backend_->frame())
        return;
    HWND frame = backend_->frame()->hwnd();
    ShowWindow(frame, SW_SHOW);
    SendMessageW(frame, WM_SYSCOMMAND, SC_RESTORE, 0);
    SetForegroundWindow(frame);
}

void Win32UserInterface::messageBox(std::wstring_view text, std::wstring_view caption) {
    if (backend_)
        backend_->messageBox(main_ ? main_->window() : nullptr, text, caption,
                             ui::mb::Ok | ui::mb::IconError);
}

void Win32UserInterface::destroyMainWindow() {
    automation_.reset();
    main_.reset();
}

void Win32UserInterface::releaseToolkit() {
    backend_.reset();
}

} // namespace app
