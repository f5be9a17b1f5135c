#pragma once
// The main window as start-up builds it on any backend: MainFrame.xml from the skin with the
// current language's texts, joined to the backend, and CMainFrame with its pages initialised on it.
// The native user interface and the tests build it the same way.
#include "wizard/CMainFrame.h"
#include "wizard/SkinLayouts.h"

#include <functional>
#include <memory>
#include <string>

class CApp;

namespace wizard {

class WizardMainWindow {
public:
    // Joins the window's tree to the backend (and makes its native window): false fails the build.
    using Attach = std::function<bool(ui::Window&)>;

    // The layouts and translations come from `app`, which must outlive this object.
    explicit WizardMainWindow(CApp& app);
    ~WizardMainWindow();

    // Builds the window; false with error() set when a layout is missing or broken, the backend
    // refuses it or the frame lacks a control it needs. `minimize` is the title bar's minimise
    // (none: the button does nothing).
    bool build(const Attach& attach, std::function<void()> minimize = {});
    const std::wstring& error() const { return error_; }

    ui::Window* window() const { return window_.get(); }
    CMainFrame* frame() const { return frame_.get(); }

private:
    CApp& app_;
    ui::ControlFactory factory_;
    LanguageTranslations translations_;
    std::unique_ptr<ui::Window> window_;
    std::unique_ptr<CMainFrame> frame_; // goes before the window it hooks
    std::wstring error_;
};

// The catalogue's version as the title bar shows it ("3.0.2.465").
std::wstring catalogueVersionText(const ManufacturerRecord& m);

} // namespace wizard
