#pragma once
// The toolkit on native windows: each layout root becomes a NativeWindow, timers are the window
// system's timers on the main frame, private messages and tasks from other threads wake the main
// frame, modal dialogs run a nested message loop with their owner disabled, and the message loop
// applies the keyboard conventions (Tab, Enter for Next, Esc for Cancel) before the controls see
// a key. One backend per UI thread; it must outlive the windows attached to it.
#include "ui/core/Backend.h"
#include "ui/core/Window.h"
#include "ui/win32/Handles.h"
#include "ui/win32/NativeWindow.h"
#include "ui/win32/Win32Dispatcher.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace ui::win32 {

class Win32Backend final : public Backend {
public:
    Win32Backend();
    ~Win32Backend();
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    // False when the window classes could not be registered.
    bool ready() const { return ready_; }

    // Joins `window`'s tree to this backend and creates its native window, hidden: the main frame,
    // which receives the tasks of other threads and the timers. False when it cannot be created.
    bool createFrame(Window& window);
    // Shows the frame and paints it, children included, before returning.
    void showFrame();
    NativeWindow* frame() const { return frame_.get(); }
    // The window the user acts on: the newest running dialog, else the frame.
    NativeWindow* topWindow() const { return dialogs_.empty() ? frame_.get() : dialogs_.back().get(); }
    // Destroys the frame's native windows (the model stays).
    void destroyFrame();

    // Runs the message loop until the main frame is closed (or WM_QUIT); returns its exit code.
    int runMessageLoop();
    // Handles what is waiting and returns at once (tests).
    void pumpMessages();

    // The native window that shows `window` (the frame or a running dialog), or null.
    NativeWindow* nativeOf(const Window& window) const;

    // Backend
    bool startTimer(Control& control, unsigned id, unsigned periodMs) override;
    void stopTimer(Control& control, unsigned id) override;
    void controlGone(Control& control) override;
    int runModal(Window& owner, Window& dialog) override;
    void endModal(Window& dialog, int code) override;
    int messageBox(Window* owner, std::wstring_view text, std::wstring_view caption, unsigned flags) override;
    Dispatcher& dispatcher() override { return dispatcher_; }
    void controlChanged(Control& control, Change what) override;
    void windowClosed(Window& window) override;

    // A key press on `window` as the keyboard gives it: the hook first, then Tab, Enter and Esc.
    // True when it was handled here and must not reach the focused control.
    bool pressKey(NativeWindow& window, unsigned key, bool ctrl);

    // From the native windows.
    void timerFired(UINT_PTR key);
    void runPending() { dispatcher_.runPending(); }

private:
    struct TimerKey {
        Control* control;
        unsigned id;
    };
    struct Modal {
        Window* dialog;
        std::optional<int> code;
    };
    NativeWindow* nativeOfControl(Control& control) const;
    // Keyboard and mouse seen before the controls: false when the message is consumed.
    bool preTranslate(MSG& msg);
    bool pressKeyButton(NativeWindow& window, bool next);
    void moveFocus(NativeWindow& window, bool backwards);

    bool ready_ = false;
    UniqueModule richEdit_;
    const wchar_t* richEditClass_ = L"EDIT";
    Win32Dispatcher dispatcher_;
    std::unique_ptr<NativeWindow> frame_;
    std::vector<std::unique_ptr<NativeWindow>> dialogs_;
    std::vector<Modal> modals_;
    std::map<UINT_PTR, TimerKey> timers_;
    UINT_PTR nextTimer_ = 1;

    friend class NativeWindow;
};

} // namespace ui::win32
