#pragma once
// The toolkit without pixels, for tests: timers run on a virtual clock that the test advances,
// private messages wait in a queue that the test pumps, message boxes and modal dialogs are recorded
// and answered by the test, and the user's input is simulated through the same paths as a native
// backend's (the window's message hook first, then the control).
#include "ui/core/Backend.h"
#include "ui/core/Controls.h"
#include "ui/core/Grid.h"
#include "ui/core/Layout.h"
#include "ui/core/Window.h"
#include "ui/headless/HeadlessDispatcher.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace ui::headless {

// Preferred sizes from fixed font metrics: 7 pixels per character, 16 per line, plus a margin.
class FixedMetrics final : public Measure {
public:
    Size preferred(const Control& control) const override;
};

struct MessageBoxRecord {
    std::wstring text;
    std::wstring caption;
    unsigned flags = 0;
};

class HeadlessBackend final : public Backend {
public:
    HeadlessBackend() = default;
    ~HeadlessBackend();
    HeadlessBackend(const HeadlessBackend&) = delete;
    HeadlessBackend& operator=(const HeadlessBackend&) = delete;

    // Joins a window's tree to this backend, which must outlive the window.
    void attach(Window& window) { window.attach(this); }

    // Backend
    bool startTimer(Control& control, unsigned id, unsigned periodMs) override;
    void stopTimer(Control& control, unsigned id) override;
    void controlGone(Control& control) override;
    int runModal(Window& owner, Window& dialog) override;
    void endModal(Window& dialog, int code) override;
    int messageBox(Window* owner, std::wstring_view text, std::wstring_view caption, unsigned flags) override;
    Dispatcher& dispatcher() override { return dispatcher_; }
    HeadlessDispatcher& queue() { return dispatcher_; }

    // The virtual clock, in milliseconds. Advancing fires every tick that falls due, in time order
    // (ticks due at the same moment in the order their timers started), each at its own moment.
    std::uint64_t now() const { return now_; }
    void advance(std::uint64_t ms);
    bool timerRunning(const Control& control, unsigned id) const;
    std::size_t timerCount() const { return timers_.size(); }

    // Message boxes shown so far; the answers the next ones give (first in first out), IDOK after.
    const std::vector<MessageBoxRecord>& messageBoxes() const { return boxes_; }
    void answerNextMessageBox(int answer) { answers_.push_back(answer); }

    // Modal dialogs: `handler` plays the user while the dialog is shown and returns its end code,
    // unless the dialog's page ends it first. Without a handler a dialog ends with IDCANCEL.
    void setModalHandler(std::function<int(Window& dialog)> handler) { modalHandler_ = std::move(handler); }
    // The names of the dialogs shown so far (the window's name, or its title when it has none).
    const std::vector<std::wstring>& modalsShown() const { return modals_; }

    // The user's input. A press reaches the window's hook first; a click then reaches the control
    // when it is shown and enabled.
    void click(Control& control);
    void clickCell(Grid& grid, int row, int column);
    void typeText(Edit& edit, std::wstring text);
    void keyDown(Window& window, unsigned virtualKey, bool ctrl = false);
    void character(Window& window, wchar_t c);
    void close(Window& window);

private:
    struct Timer {
        Control* control;
        unsigned id;
        unsigned period;
        std::uint64_t due;
        std::uint64_t order;
    };
    static Window* windowOf(Control& control);
    bool press(Control& control);

    HeadlessDispatcher dispatcher_;
    std::uint64_t now_ = 0;
    std::uint64_t order_ = 0;
    std::vector<Timer> timers_;
    std::vector<MessageBoxRecord> boxes_;
    std::deque<int> answers_;
    std::function<int(Window&)> modalHandler_;
    std::vector<std::wstring> modals_;
    struct Modal {
        Window* dialog;
        std::optional<int> code;
    };
    std::vector<Modal> running_;
};

} // namespace ui::headless
