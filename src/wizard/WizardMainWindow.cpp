#include "wizard/WizardMainWindow.h"

#include "app/CApp.h"
#include "base/Format.h"
#include "engine/printers/ModelDriverInstalled.h"
#include "wizard/CMsgWnd2UI.h"

namespace wizard {

WizardMainWindow::WizardMainWindow(CApp& app) : app_(app), translations_(app.language()) {
    registerMessageLog(factory_, app.platform().clock());
}

WizardMainWindow::~WizardMainWindow() {
    frame_.reset();
    window_.reset();
}

bool WizardMainWindow::build(const Attach& attach, std::function<void()> minimize) {
    SkinLayoutReader reader(app_.skin());
    ui::LoadedWindow loaded = ui::LayoutLoader(reader, factory_, &translations_).loadWindow(L"MainFrame.xml");
    if (!loaded.window) {
        error_ = loaded.error ? loaded.error->describe() : L"MainFrame.xml: not loaded";
        return false;
    }
    window_ = std::move(loaded.window);
    if (!attach(*window_)) {
        error_ = L"the main window could not be created";
        return false;
    }
    frame_ = std::make_unique<CMainFrame>(app_.context(), app_.session(), *window_, [this] {
        return engine::ModelDriverInstalled(app_.context(), app_.catalogueDoc(),
                                            app_.session().manufacturer.Name);
    });
    // The title bar's dialogs are built like the window: from the skin, in the current language.
    frame_->setServices(
        {.loadDialog =
             [this](std::wstring_view file) {
                 SkinLayoutReader dialogReader(app_.skin());
                 return ui::LayoutLoader(dialogReader, factory_, &translations_).loadWindow(file).window;
             },
         .language = &app_.language(),
         .translations = &translations_,
         .catalogue = &app_.catalogueDoc(),
         .manufacturers = &app_.manufacturerDoc(),
         .minimize = std::move(minimize),
         .showDeviceInfo = nullptr});
    if (!frame_->init(catalogueVersionText(app_.session().manufacturer))) {
        error_ = L"MainFrame.xml lacks a control the main window needs";
        return false;
    }
    return true;
}

std::wstring catalogueVersionText(const ManufacturerRecord& m) {
    return text::format(L"%d.%d.%d.%d", m.V0, m.V1, m.V2, m.V3);
}

} // namespace wizard
