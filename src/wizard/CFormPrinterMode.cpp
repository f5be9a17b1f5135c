#include "wizard/CFormPrinterMode.h"

#include "app/PersistedChoices.h"
#include "catalogue/DriverCatalogue.h"
#include "wizard/CMainFrame.h"
#include "wizard/GridChoice.h"

namespace wizard {
namespace {
constexpr int kModelColumn = 1;
constexpr int kPortColumn = 2;
constexpr int kDriverStateColumn = 3;
} // namespace

bool CFormPrinterMode::init(ui::Control& page) {
    grid_ = page.findAs<ui::Grid>(L"grid_printer_mode");
    if (!grid_ || !buttons_.find(page, L"form_printer_mode"))
        return false;
    page.setOwner(this);
    return true;
}

void CFormPrinterMode::enter() {
    refresh();
    frame_.selectPage(L"form_printer_mode");
}

// All rows at once: the list holds the few printers plugged in, not a catalogue.
void CFormPrinterMode::refresh() {
    grid_->clear();
    for (std::size_t i = 0; i < session_.devices.size(); ++i) {
        const PrinterEntry& entry = session_.devices[i];
        const int row = grid_->appendRow();
        const std::wstring customName = catalogue::DriverCustomName(entry.driverNode);
        grid_->setCellText(row, kModelColumn, customName.empty() ? entry.modelName : customName);
        grid_->setCellText(row, kPortColumn, entry.portName);
        SetDriverStateCell(*grid_, row, kDriverStateColumn, entry.installed == 1, context_);
        if (entry.modelName == session_.chosen.modelName)
            grid_->selectRow(row, true);
    }
}

void CFormPrinterMode::take(int row) {
    CheckOnlyRow(*grid_, row);
    if (static_cast<std::size_t>(row) >= session_.devices.size())
        return;
    session_.chosen = session_.devices[static_cast<std::size_t>(row)];
    (void)context_.platform.profile().writeString(app::kProfileSection, app::kValueSetupPrinter,
                                                  session_.chosen.modelName);
    buttons_.next->setEnabled(session_.chosen.installed == 0);
}

void CFormPrinterMode::notify(const ui::Notification& n) {
    if (&n.control == grid_) {
        if (IsRowChoice(n))
            take(n.row);
        return;
    }
    (void)buttons_.handle(
        n,
        [this] {
            frame_.usbPoll().stop();
            frame_.enterPrinterPort();
        },
        [this] {
            frame_.usbPoll().stop();
            frame_.enterPrinterName();
        },
        [this] { frame_.close(); });
}

} // namespace wizard
