#pragma once
// The manufacturer page. For now its Back and Cancel; the list and its Next come with the
// manufacturer list.
#include "ui/core/Controls.h"

namespace wizard {

class CMainFrame;

class CFormPrinterManufacturer final : public ui::NotifyTarget {
public:
    explicit CFormPrinterManufacturer(CMainFrame& frame) : frame_(frame) {}
    bool init(ui::Control& page);
    void enter();
    void notify(const ui::Notification& n) override;

private:
    CMainFrame& frame_;
    ui::Control* back_ = nullptr;
    ui::Control* cancel_ = nullptr;
};

} // namespace wizard
