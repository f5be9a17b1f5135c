#pragma once
// The main window as the pages see it: the tab of pages, the labels of the title bar, the debug
// switch, and the timed automatic Next (AutoAdvance) that any input cancels for good. The window
// itself comes from the toolkit; the frame hooks its messages and owns the page objects.
#include "app/AppContext.h"
#include "app/SetupSession.h"
#include "ui/core/Controls.h"
#include "ui/core/Window.h"
#include "wizard/CFormCustomPrinterMode.h"
#include "wizard/CFormMain.h"
#include "wizard/CFormPrinterDriver.h"
#include "wizard/CFormPrinterManufacturer.h"
#include "wizard/CFormPrinterMode.h"
#include "wizard/CFormPrinterMode2.h"
#include "wizard/CTitleBar.h"
#include "wizard/FrameServices.h"
#include "wizard/UsbPoll.h"

#include <functional>
#include <memory>
#include <string_view>

namespace wizard {

class CMainFrame {
public:
    // The automatic advance: 150 steps of timer 1 every 10 ms.
    static constexpr unsigned kAutoAdvanceTimer = 1;
    static constexpr unsigned kAutoAdvancePeriodMs = 10;
    static constexpr int kAutoAdvanceSteps = 150;

    // `window` is the built "MainFrame.xml", attached to its backend; all must outlive the frame.
    // `modelDriverInstalled` answers whether a driver of one of the manufacturer's models is
    // installed (the main page then starts in delete mode).
    CMainFrame(app::AppContext& context, SetupSession& session, ui::Window& window,
               std::function<bool()> modelDriverInstalled);

    // After the layout is built: every page's init, then the labels, the debug controls and the main
    // page. False when the layout lacks a control the frame needs.
    bool init(std::wstring_view catalogueVersion);
    // What the title bar's buttons need; set before init or at any time after.
    void setServices(FrameServices services) { services_ = std::move(services); }
    const FrameServices& services() const { return services_; }

    // The main page's Next (button or automatic advance) by the operation chosen.
    void mainNext(int setupMode);
    // The manufacturer page's Next, after it took the manufacturer over: install goes on to the
    // connection, upgrade to the printers to upgrade.
    void manufacturerNext(int setupMode);
    // The pages several others lead to; each is only selected until it has a class of its own.
    void enterPrinterPort();
    void enterPrinterName();

    ui::Window& window() { return window_; }
    // Selects the page `name` of the tab (letter case ignored).
    bool selectPage(std::wstring_view name);
    std::wstring currentPage() const;
    // Every Cancel button.
    void close() { window_.requestClose(); }
    // Shows or hides the controls that follow the debug switch.
    void refreshDebugControls();
    // Starts the print spooler when it is not running; a message box when that fails.
    bool checkSpooler();

    // AutoAdvance on the progress control `name` (when still enabled).
    void startAutoAdvance(std::wstring_view name);
    // A timer tick of `control`: true when the advance is complete and the page performs its Next.
    bool autoAdvanceTick(ui::Control& control);
    bool autoAdvanceEnabled() const { return autoAdvanceEnabled_; }
    ui::Progress* autoAdvanceCounting() const { return counting_; }

    CFormMain& formMain() { return *formMain_; }
    CFormPrinterManufacturer& formPrinterManufacturer() { return *formManufacturer_; }
    CFormPrinterMode& formPrinterMode() { return *formPrinterMode_; }
    CFormPrinterMode2& formPrinterMode2() { return *formPrinterMode2_; }
    CFormPrinterDriver& formPrinterDriver() { return *formPrinterDriver_; }
    CFormCustomPrinterMode& formCustomPrinterMode() { return *formCustomPrinterMode_; }
    UsbPoll& usbPoll() { return *usbPoll_; }
    CTitleBar& titleBar() { return titleBar_; }

private:
    // A page's init on its layout; false when the tab lacks the page or the page a control.
    template <typename Page> bool initPage(std::wstring_view name, Page& page) {
        auto* control = window_.find(name);
        return control && page.init(*control);
    }
    bool hook(const ui::WindowMessage& message);
    void cancelAutoAdvance();

    app::AppContext& context_;
    SetupSession& session_;
    ui::Window& window_;
    ui::Tab* tab_ = nullptr;
    ui::Control* labelDebug_ = nullptr;
    ui::Control* labelVersion_ = nullptr;
    ui::Progress* counting_ = nullptr;
    bool autoAdvanceEnabled_ = true;
    FrameServices services_;
    CTitleBar titleBar_{window_, services_};
    std::unique_ptr<CFormMain> formMain_;
    std::unique_ptr<CFormPrinterManufacturer> formManufacturer_;
    std::unique_ptr<CFormPrinterMode> formPrinterMode_;
    std::unique_ptr<CFormPrinterMode2> formPrinterMode2_;
    std::unique_ptr<CFormPrinterDriver> formPrinterDriver_;
    std::unique_ptr<CFormCustomPrinterMode> formCustomPrinterMode_;
    std::unique_ptr<UsbPoll> usbPoll_;
};

} // namespace wizard
