#pragma once
// What the toolkit asks of a backend (native windows, or headless for tests): timers, modal dialogs,
// message boxes and the UI-thread dispatcher. The backend calls back into the model for input.
#include "ui/core/Task.h"

#include <string_view>

namespace ui {

class Control;
class Window;

// What changed in a control, for a backend that keeps native windows in step with the model.
enum class Change {
    Text,    // text()
    Visible, // visible(), or which child of a tab is shown
    Enabled, // enabled()
    State,   // the check, the selected item or row, the progress value
    Content, // items, rows, nodes or the lines of a log
};

// Message box buttons and answers, with their Windows values.
namespace mb {
inline constexpr unsigned Ok = 0x0;
inline constexpr unsigned OkCancel = 0x1;
inline constexpr unsigned YesNo = 0x4;
inline constexpr unsigned IconError = 0x10;
inline constexpr unsigned IconQuestion = 0x20;
inline constexpr unsigned IconWarning = 0x30;
inline constexpr unsigned IconInformation = 0x40;
inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;
inline constexpr int IdYes = 6;
inline constexpr int IdNo = 7;
} // namespace mb

class Backend {
public:
    // Starts (or restarts) timer `id` of `control`, ticking every `periodMs`.
    virtual bool startTimer(Control& control, unsigned id, unsigned periodMs) = 0;
    virtual void stopTimer(Control& control, unsigned id) = 0;
    // The control is being destroyed: forget its timers.
    virtual void controlGone(Control& control) = 0;

    // Shows `dialog` modally over `owner` until it ends; returns its end code.
    virtual int runModal(Window& owner, Window& dialog) = 0;
    // Ends a running modal dialog with `code`.
    virtual void endModal(Window& dialog, int code) = 0;
    // A message box with `flags` (mb::); returns the answer (mb::Id...).
    virtual int messageBox(Window* owner, std::wstring_view text, std::wstring_view caption,
                           unsigned flags) = 0;

    virtual Dispatcher& dispatcher() = 0;

    // The model changed `control` (on the UI thread). Backends without native windows ignore it.
    virtual void controlChanged(Control&, Change) {}
    // A window of the tree was closed (its close button, Cancel, or the page's requestClose).
    virtual void windowClosed(Window&) {}

protected:
    ~Backend() = default;
};

} // namespace ui
