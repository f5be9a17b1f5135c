#include "wizard/CFormCustomPrinterMode.h"

#include "catalogue/DriverCatalogue.h"
#include "discovery/usb/UsbPrinterScan.h"
#include "wizard/CMainFrame.h"
#include "wizard/GridChoice.h"

#include <algorithm>

namespace wizard {
namespace {
constexpr int kPortColumn = 2;
constexpr int kConnectionColumn = 3;
constexpr int kDriverStateColumn = 4;
} // namespace

CFormCustomPrinterMode::CFormCustomPrinterMode(CMainFrame& frame, app::AppContext& context,
                                               SetupSession& session)
    : ModelListPage(frame, context, session,
                    {.page = L"form_custom_printer_mode",
                     .edit = L"text_custom_printer_mode_find_key",
                     .grid = L"grid_custom_printer_mode"}) {}

void CFormCustomPrinterMode::fillRow(int row, DriverRef model) {
    const std::wstring& name = catalogue::DriverName(model);
    auto& devices = session_.devices;
    auto found = std::find_if(devices.begin(), devices.end(),
                              [&](const PrinterEntry& e) { return e.modelName == name; });
    if (found == devices.end())
        return;
    grid_->setCellText(row, kPortColumn, found->portName);
    grid_->setCellText(row, kConnectionColumn, context_.tr(L"已连接"));
    grid_->setCellColour(row, kConnectionColumn, kStatusBlue);
    // Asked afresh: a queue may have come or gone since the search found the printer.
    const bool installed = discovery::UpdateInstalledFlag(context_.platform.spooler(), *found);
    SetDriverStateCell(*grid_, row, kDriverStateColumn, installed, context_);
}

void CFormCustomPrinterMode::take(int row) {
    auto& chosen = session_.chosen;
    chosen.modelName = grid_->cellText(row, kModelColumn);
    chosen.portName = grid_->cellText(row, kPortColumn);
    writeSetupPrinter();
    chosen.driverNode = findChosenModel();
    const bool queued =
        std::any_of(session_.devices.begin(), session_.devices.end(), [&](const PrinterEntry& e) {
            return e.modelName == chosen.modelName && e.installed == 1;
        });
    buttons_.next->setEnabled(!queued);
}

void CFormCustomPrinterMode::back() {
    frame_.usbPoll().stop();
    frame_.enterPrinterPort();
}

void CFormCustomPrinterMode::next() {
    frame_.usbPoll().stop();
    // The port list is filled by the custom port page when it has a class of its own.
    frame_.selectPage(L"form_custom_port");
}

} // namespace wizard
