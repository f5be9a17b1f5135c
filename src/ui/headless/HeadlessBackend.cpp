#include "ui/headless/HeadlessBackend.h"

#include <algorithm>

namespace ui::headless {

Size FixedMetrics::preferred(const Control& control) const {
    int longest = 0, lines = 1, current = 0;
    for (wchar_t c : control.text()) {
        if (c == L'\n') {
            ++lines;
            current = 0;
        } else
            longest = std::max(longest, ++current);
    }
    return Size{longest * 7 + 8, lines * 16 + 8};
}

HeadlessBackend::~HeadlessBackend() {
    dispatcher_.close();
}

bool HeadlessBackend::startTimer(Control& control, unsigned id, unsigned periodMs) {
    if (periodMs == 0)
        return false;
    stopTimer(control, id);
    timers_.push_back({&control, id, periodMs, now_ + periodMs, order_++});
    return true;
}

void HeadlessBackend::stopTimer(Control& control, unsigned id) {
    std::erase_if(timers_, [&](const Timer& t) { return t.control == &control && t.id == id; });
}

void HeadlessBackend::controlGone(Control& control) {
    std::erase_if(timers_, [&](const Timer& t) { return t.control == &control; });
}

bool HeadlessBackend::timerRunning(const Control& control, unsigned id) const {
    return std::any_of(timers_.begin(), timers_.end(),
                       [&](const Timer& t) { return t.control == &control && t.id == id; });
}

void HeadlessBackend::advance(std::uint64_t ms) {
    const std::uint64_t end = now_ + ms;
    for (;;) {
        // A tick may start, stop or destroy timers: look again every time.
        auto next = std::min_element(timers_.begin(), timers_.end(), [](const Timer& a, const Timer& b) {
            return a.due != b.due ? a.due < b.due : a.order < b.order;
        });
        if (next == timers_.end() || next->due > end)
            break;
        now_ = next->due;
        next->due += next->period;
        next->order = order_++;
        Control& control = *next->control;
        unsigned id = next->id;
        control.onTimer(id);
    }
    now_ = end;
}

int HeadlessBackend::runModal(Window&, Window& dialog) {
    modals_.push_back(dialog.name().empty() ? dialog.text() : dialog.name());
    dialog.attach(this);
    running_.push_back({&dialog, std::nullopt});
    int code = modalHandler_ ? modalHandler_(dialog) : mb::IdCancel;
    auto it =
        std::find_if(running_.begin(), running_.end(), [&](const Modal& m) { return m.dialog == &dialog; });
    if (it != running_.end()) {
        if (it->code)
            code = *it->code;
        running_.erase(it);
    }
    return code;
}

void HeadlessBackend::endModal(Window& dialog, int code) {
    for (auto& m : running_)
        if (m.dialog == &dialog && !m.code)
            m.code = code;
}

int HeadlessBackend::messageBox(Window*, std::wstring_view text, std::wstring_view caption, unsigned flags) {
    boxes_.push_back({std::wstring(text), std::wstring(caption), flags});
    if (answers_.empty())
        return mb::IdOk;
    int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

Window* HeadlessBackend::windowOf(Control& control) {
    return dynamic_cast<Window*>(&control.root());
}

bool HeadlessBackend::press(Control& control) {
    if (auto* w = windowOf(control))
        w->handleMessage({WindowMessage::LButtonDown});
    return control.isShown() && control.enabled();
}

void HeadlessBackend::click(Control& control) {
    if (press(control))
        control.performClick();
}

void HeadlessBackend::clickCell(Grid& grid, int row, int column) {
    if (press(grid))
        grid.clickCell(row, column);
}

void HeadlessBackend::typeText(Edit& edit, std::wstring text) {
    if (auto* w = windowOf(edit))
        for (wchar_t c : text)
            w->handleMessage({WindowMessage::Char, static_cast<unsigned>(c)});
    if (edit.isShown() && edit.enabled() && !edit.readOnly())
        edit.typeText(std::move(text));
}

void HeadlessBackend::keyDown(Window& window, unsigned virtualKey, bool ctrl) {
    window.handleMessage({WindowMessage::KeyDown, virtualKey, ctrl});
}

void HeadlessBackend::character(Window& window, wchar_t c) {
    window.handleMessage({WindowMessage::Char, static_cast<unsigned>(c)});
}

void HeadlessBackend::close(Window& window) {
    window.handleMessage({WindowMessage::Close});
}

} // namespace ui::headless
