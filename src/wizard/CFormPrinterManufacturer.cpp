#include "wizard/CFormPrinterManufacturer.h"

#include "wizard/CMainFrame.h"

namespace wizard {

bool CFormPrinterManufacturer::init(ui::Control& page) {
    back_ = page.find(L"btn_form_printer_manufacturer_pre");
    cancel_ = page.find(L"btn_form_printer_manufacturer_cancel");
    if (!back_ || !cancel_)
        return false;
    page.setOwner(this);
    return true;
}

void CFormPrinterManufacturer::enter() {
    frame_.selectPage(L"form_printer_manufacturer");
}

void CFormPrinterManufacturer::notify(const ui::Notification& n) {
    if (n.kind != ui::NotifyKind::Click)
        return;
    if (&n.control == back_)
        frame_.formMain().enter();
    else if (&n.control == cancel_)
        frame_.close();
}

} // namespace wizard
