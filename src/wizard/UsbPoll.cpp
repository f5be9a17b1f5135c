#include "wizard/UsbPoll.h"

namespace wizard {

bool UsbPoll::init(ui::Window& window) {
    picture_ = window.find(L"pic_form_printer_search_loading");
    if (!picture_)
        return false;
    // The picture's own owner: the search page keeps the rest of its controls.
    picture_->setOwner(this);
    return true;
}

bool UsbPoll::start() {
    if (!picture_)
        return false;
    running_ = picture_->startTimer(discovery::kUsbSearchTimerId, discovery::kUsbSearchPeriodMs);
    return running_;
}

void UsbPoll::stop() {
    if (picture_)
        picture_->stopTimer(discovery::kUsbSearchTimerId);
    running_ = false;
}

void UsbPoll::tick() {
    if (const auto* doc = catalogue_ ? catalogue_() : nullptr)
        discovery::SearchTick({context_, *doc, session_}, pages_);
}

void UsbPoll::notify(const ui::Notification& n) {
    if (n.kind == ui::NotifyKind::Timer && &n.control == picture_ &&
        n.timerId == discovery::kUsbSearchTimerId)
        tick();
}

} // namespace wizard
