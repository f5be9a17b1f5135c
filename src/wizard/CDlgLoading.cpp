#include "wizard/CDlgLoading.h"

#include <memory>

namespace wizard {

namespace {
constexpr unsigned kEscape = 0x1B; // VK_ESCAPE
}

void CDlgLoading::runModal(const std::function<void(Close)>& start) {
    closing_ = false;
    // The dialog's records go through its owner's backend, which shows it.
    if (!dialog_.backend())
        dialog_.attach(owner_.backend());
    auto* picture = dynamic_cast<ui::AnimatedPicture*>(dialog_.find(L"pic_loading"));
    // Only the operation ends the wait: a user closing it would leave the thread working unseen.
    dialog_.setMessageHook([this](ui::Window&, const ui::WindowMessage& m) {
        if (m.kind == ui::WindowMessage::Close)
            return !closing_;
        return m.kind == ui::WindowMessage::KeyDown && m.key == kEscape;
    });
    dialog_.onPrivate<CloseRecord>(kCloseMessage, [this](CloseRecord&) {
        closing_ = true;
        dialog_.endModal(ui::mb::IdOk);
    });
    const ui::WindowPoster poster = dialog_.poster();
    dialog_.onPrivate<StartRecord>(kStartMessage, [&start, poster](StartRecord&) {
        start([poster] { poster.post(kCloseMessage, std::make_unique<CloseRecord>()); });
    });
    if (picture)
        picture->start();
    // The start record waits in the queue until the dialog's modal loop takes messages.
    if (poster.post(kStartMessage, std::make_unique<StartRecord>())) {
        owner_.showModal(dialog_);
    } else {
        // No UI thread takes the dialog's messages: wait for the operation without showing it.
        engine::WaitingProgressWindow waiting;
        waiting.runModal(start);
    }
    // A start record still queued must not reach `start`, which ends with this call.
    dialog_.onPrivate<StartRecord>(kStartMessage, [](StartRecord&) {});
    if (picture)
        picture->stop();
    dialog_.setMessageHook(nullptr);
}

} // namespace wizard
