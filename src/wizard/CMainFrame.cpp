#include "wizard/CMainFrame.h"

#include "wizard/SpoolerCheck.h"

namespace wizard {
namespace {
constexpr unsigned kVkF9 = 0x78;
} // namespace

CMainFrame::CMainFrame(app::AppContext& context, SetupSession& session, ui::Window& window,
                       std::function<bool()> modelDriverInstalled)
    : context_(context), session_(session), window_(window),
      formMain_(std::make_unique<CFormMain>(*this, context, session, std::move(modelDriverInstalled))),
      formManufacturer_(std::make_unique<CFormPrinterManufacturer>(*this, context, session)),
      formPrinterMode_(std::make_unique<CFormPrinterMode>(*this, context, session)),
      formPrinterMode2_(std::make_unique<CFormPrinterMode2>(*this, context, session)),
      formPrinterDriver_(std::make_unique<CFormPrinterDriver>(*this, context, session)),
      formCustomPrinterMode_(std::make_unique<CFormCustomPrinterMode>(*this, context, session)),
      usbPoll_(std::make_unique<UsbPoll>(
          context, session, [this] { return services_.catalogue; },
          discovery::UsbSearchPages{.showModelPage = [this] { formPrinterMode_->enter(); },
                                    .showSearchPage = [this] { selectPage(L"form_printer_search"); },
                                    .refreshModelList = [this] { formPrinterMode_->refresh(); },
                                    .refreshCustomModels = [this] { formCustomPrinterMode_->fill(); }})) {
    window_.setMessageHook([this](ui::Window&, const ui::WindowMessage& m) { return hook(m); });
}

bool CMainFrame::init(std::wstring_view catalogueVersion) {
    tab_ = window_.findAs<ui::Tab>(L"tab_main");
    labelDebug_ = window_.find(L"label_debug");
    labelVersion_ = window_.find(L"mainframe_label_version");
    if (!tab_ || !labelDebug_ || !labelVersion_ || !titleBar_.init() || !initPage(L"form_main", *formMain_) ||
        !initPage(L"form_printer_manufacturer", *formManufacturer_) ||
        !initPage(L"form_printer_mode", *formPrinterMode_) ||
        !initPage(L"form_printer_mode2", *formPrinterMode2_) ||
        !initPage(L"form_printer_driver", *formPrinterDriver_) ||
        !initPage(L"form_custom_printer_mode", *formCustomPrinterMode_) || !usbPoll_->init(window_))
        return false;
    labelVersion_->setText(std::wstring(catalogueVersion));
    refreshDebugControls();
    checkSpooler();
    formMain_->enter();
    return true;
}

void CMainFrame::mainNext(int setupMode) {
    switch (setupMode) {
    case setup_mode::Install:
        session_.chosen = {};
        formManufacturer_->enter();
        break;
    case setup_mode::Upgrade:
        formManufacturer_->enter();
        break;
    case setup_mode::Delete:
        // The printer list is refilled here once the delete page exists.
        selectPage(L"form_delete_printer");
        break;
    default:
        break;
    }
}

void CMainFrame::manufacturerNext(int setupMode) {
    switch (setupMode) {
    case setup_mode::Install:
        enterPrinterPort();
        break;
    case setup_mode::Upgrade:
        // The upgrade list is filled here once its page exists.
        selectPage(L"form_update_driver");
        break;
    default:
        break;
    }
}

void CMainFrame::enterPrinterPort() {
    selectPage(L"form_printer_port");
}

void CMainFrame::enterPrinterName() {
    selectPage(L"form_printer_name");
}

bool CMainFrame::selectPage(std::wstring_view name) {
    return tab_ && tab_->select(name);
}

std::wstring CMainFrame::currentPage() const {
    auto* page = tab_ ? tab_->selected() : nullptr;
    return page ? page->name() : std::wstring();
}

void CMainFrame::refreshDebugControls() {
    bool debug = context_.debug();
    if (labelDebug_)
        labelDebug_->setText(debug ? L"DEBUG" : L"");
    if (auto* b = window_.find(L"btn_form_main_device_manager1"))
        b->setVisible(debug);
    if (auto* b = window_.find(L"btn_form_main_device_manager2"))
        b->setVisible(false);
    for (const wchar_t* name : {L"debug_form_delete_driver", L"debug_form_delete_printer"})
        if (auto* c = window_.find(name))
            c->setVisible(debug);
}

bool CMainFrame::checkSpooler() {
    return CheckSpooler(context_, window_);
}

void CMainFrame::startAutoAdvance(std::wstring_view name) {
    if (counting_) {
        counting_->setValue(0);
        counting_->stopTimer(kAutoAdvanceTimer);
        counting_ = nullptr;
    }
    if (!autoAdvanceEnabled_)
        return;
    auto* progress = window_.findAs<ui::Progress>(name);
    if (!progress)
        return;
    progress->setValue(0);
    progress->setMaximum(kAutoAdvanceSteps);
    if (progress->startTimer(kAutoAdvanceTimer, kAutoAdvancePeriodMs))
        counting_ = progress;
}

bool CMainFrame::autoAdvanceTick(ui::Control& control) {
    if (&control != counting_)
        return false;
    if (counting_->value() == counting_->maximum()) {
        counting_->setValue(0);
        counting_->stopTimer(kAutoAdvanceTimer);
        counting_ = nullptr;
        return true;
    }
    counting_->setValue(counting_->value() + 1);
    return false;
}

void CMainFrame::cancelAutoAdvance() {
    if (counting_) {
        counting_->setValue(0);
        counting_->stopTimer(kAutoAdvanceTimer);
        counting_ = nullptr;
    }
    autoAdvanceEnabled_ = false;
}

// Sees every message before the toolkit and never consumes one.
bool CMainFrame::hook(const ui::WindowMessage& m) {
    switch (m.kind) {
    case ui::WindowMessage::KeyDown:
    case ui::WindowMessage::Char:
    case ui::WindowMessage::LButtonDown:
        cancelAutoAdvance();
        if (m.kind == ui::WindowMessage::KeyDown && m.key == kVkF9 && m.ctrl) {
            context_.debugMode = context_.debug() ? 0 : 1;
            refreshDebugControls();
        }
        break;
    case ui::WindowMessage::Close:
        break;
    }
    return false;
}

} // namespace wizard
