#include "ui/win32/Win32Backend.h"

#include "ui/core/Controls.h"
#include "ui/core/Keyboard.h"
#include "ui/win32/Dpi.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

namespace ui::win32 {
namespace {

bool registerWindowClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = NativeWindow::proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    wc.lpszClassName = NativeWindow::className();
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool ctrlDown() {
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

} // namespace

Win32Backend::Win32Backend() {
    becomeDpiAware();
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
                                              ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    // The newest rich edit there is: 4.1 (Msftedit), else 2.0/3.0 (Riched20), else a plain edit.
    richEdit_.reset(LoadLibraryW(L"Msftedit.dll"));
    if (richEdit_)
        richEditClass_ = MSFTEDIT_CLASS;
    else {
        richEdit_.reset(LoadLibraryW(L"Riched20.dll"));
        if (richEdit_)
            richEditClass_ = RICHEDIT_CLASSW;
    }
    ready_ = registerWindowClass();
}

Win32Backend::~Win32Backend() {
    dispatcher_.close();
    for (auto& [key, timer] : timers_)
        if (frame_)
            KillTimer(frame_->hwnd(), key);
    timers_.clear();
    dialogs_.clear();
    frame_.reset();
}

bool Win32Backend::createFrame(Window& window) {
    if (!ready_ || frame_)
        return false;
    window.attach(this);
    auto native = std::make_unique<NativeWindow>(*this, window, nullptr);
    if (!native->valid())
        return false;
    frame_ = std::move(native);
    dispatcher_.setTarget(frame_->hwnd());
    return true;
}

void Win32Backend::showFrame() {
    if (!frame_)
        return;
    frame_->show();
    // Painted, children included, before start-up goes on and reports the window shown: the user
    // sees a whole page at once, and the start-up bench times up to that report.
    RedrawWindow(frame_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Win32Backend::destroyFrame() {
    dispatcher_.close();
    if (frame_)
        for (auto& [key, timer] : timers_)
            KillTimer(frame_->hwnd(), key);
    timers_.clear();
    frame_.reset();
}

NativeWindow* Win32Backend::nativeOf(const Window& window) const {
    if (frame_ && &frame_->model() == &window)
        return frame_.get();
    for (auto& d : dialogs_)
        if (&d->model() == &window)
            return d.get();
    return nullptr;
}

NativeWindow* Win32Backend::nativeOfControl(Control& control) const {
    auto* window = dynamic_cast<Window*>(&control.root());
    return window ? nativeOf(*window) : nullptr;
}

bool Win32Backend::startTimer(Control& control, unsigned id, unsigned periodMs) {
    if (!frame_ || periodMs == 0)
        return false;
    stopTimer(control, id);
    const UINT_PTR key = nextTimer_++;
    if (!SetTimer(frame_->hwnd(), key, periodMs, nullptr))
        return false;
    timers_[key] = {&control, id};
    return true;
}

void Win32Backend::stopTimer(Control& control, unsigned id) {
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->second.control == &control && it->second.id == id) {
            if (frame_)
                KillTimer(frame_->hwnd(), it->first);
            it = timers_.erase(it);
        } else
            ++it;
    }
}

void Win32Backend::timerFired(UINT_PTR key) {
    auto it = timers_.find(key);
    if (it == timers_.end())
        return;
    const TimerKey timer = it->second; // the tick may stop or restart it
    timer.control->onTimer(timer.id);
}

void Win32Backend::controlGone(Control& control) {
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->second.control == &control) {
            if (frame_)
                KillTimer(frame_->hwnd(), it->first);
            it = timers_.erase(it);
        } else
            ++it;
    }
    if (frame_ && &frame_->model() == &control) {
        destroyFrame();
        return;
    }
    std::erase_if(dialogs_, [&](const auto& d) { return &d->model() == &control; });
    if (frame_)
        frame_->forget(control);
    for (auto& d : dialogs_)
        d->forget(control);
}

void Win32Backend::controlChanged(Control& control, Change what) {
    if (auto* native = nativeOfControl(control))
        native->changed(control, what);
}

void Win32Backend::windowClosed(Window& window) {
    if (frame_ && &frame_->model() == &window) {
        ShowWindow(frame_->hwnd(), SW_HIDE);
        PostQuitMessage(0);
        return;
    }
    // A dialog's own loop sees it closed and ends.
    PostMessageW(nullptr, WM_NULL, 0, 0);
}

int Win32Backend::runModal(Window& owner, Window& dialog) {
    NativeWindow* ownerNative = nativeOf(owner);
    dialog.attach(this);
    dialogs_.push_back(
        std::make_unique<NativeWindow>(*this, dialog, ownerNative ? ownerNative->hwnd() : nullptr));
    NativeWindow* native = dialogs_.back().get();
    if (!native->valid()) {
        dialogs_.pop_back();
        return mb::IdCancel;
    }
    modals_.push_back({&dialog, std::nullopt});
    if (ownerNative)
        EnableWindow(ownerNative->hwnd(), FALSE);
    native->show();
    auto ended = [&] {
        auto it =
            std::find_if(modals_.begin(), modals_.end(), [&](const Modal& m) { return m.dialog == &dialog; });
        return it == modals_.end() || it->code.has_value() || dialog.closed();
    };
    MSG msg;
    while (!ended()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: leave the quit for the outer loop.
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (preTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    int code = mb::IdCancel;
    auto it =
        std::find_if(modals_.begin(), modals_.end(), [&](const Modal& m) { return m.dialog == &dialog; });
    if (it != modals_.end()) {
        if (it->code)
            code = *it->code;
        modals_.erase(it);
    }
    // The owner comes back before the dialog goes, so that activation returns to it.
    if (ownerNative)
        EnableWindow(ownerNative->hwnd(), TRUE);
    std::erase_if(dialogs_, [&](const auto& d) { return &d->model() == &dialog; });
    return code;
}

void Win32Backend::endModal(Window& dialog, int code) {
    for (auto& m : modals_)
        if (m.dialog == &dialog && !m.code) {
            m.code = code;
            PostMessageW(nullptr, WM_NULL, 0, 0); // wakes the dialog's loop
        }
}

int Win32Backend::messageBox(Window* owner, std::wstring_view text, std::wstring_view caption,
                             unsigned flags) {
    NativeWindow* native = owner ? nativeOf(*owner) : nullptr;
    const std::wstring t(text), c(caption);
    return MessageBoxW(native ? native->hwnd() : nullptr, t.c_str(), c.c_str(), flags);
}

void Win32Backend::moveFocus(NativeWindow& window, bool backwards) {
    std::vector<Control*> order = tabOrder(window.model());
    std::erase_if(order, [&](Control* c) { return !window.hwndOf(*c); });
    if (order.empty())
        return;
    HWND focus = GetFocus();
    auto at =
        std::find_if(order.begin(), order.end(), [&](Control* c) { return window.hwndOf(*c) == focus; });
    std::size_t next = 0;
    if (at != order.end()) {
        const std::size_t i = static_cast<std::size_t>(at - order.begin());
        next = backwards ? (i + order.size() - 1) % order.size() : (i + 1) % order.size();
    } else if (backwards)
        next = order.size() - 1;
    else {
        // At first the focus goes to the first input of the shown page, not to the title bar.
        auto onPage = std::find_if(order.begin(), order.end(), [](Control* c) {
            for (Control* p = c->parent(); p; p = p->parent())
                if (p->stacksChildren())
                    return true;
            return false;
        });
        if (onPage != order.end())
            next = static_cast<std::size_t>(onPage - order.begin());
    }
    SetFocus(window.hwndOf(*order[next]));
}

bool Win32Backend::pressKeyButton(NativeWindow& window, bool next) {
    Control* button = keyButton(window.model(), next ? KeyRole::Next : KeyRole::Cancel);
    if (button) {
        button->performClick();
        return true;
    }
    if (!next)
        window.model().handleMessage({WindowMessage::Close});
    return !next;
}

bool Win32Backend::pressKey(NativeWindow& window, unsigned key, bool ctrl) {
    Window& model = window.model();
    model.handleMessage({WindowMessage::KeyDown, key, ctrl});
    if (model.closed())
        return true;
    Control* focused = window.controlOf(GetFocus());
    switch (key) {
    case VK_TAB:
        moveFocus(window, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
        return true;
    case VK_RETURN:
        // A focused button is pressed by its own key; otherwise the page's Next.
        if (focused && dynamic_cast<Button*>(focused))
            return false;
        return pressKeyButton(window, true);
    case VK_ESCAPE:
        return pressKeyButton(window, false);
    default:
        return false;
    }
}

// Returns false when the message was handled here and must not reach the control.
bool Win32Backend::preTranslate(MSG& msg) {
    if (!msg.hwnd)
        return true;
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    NativeWindow* window = nullptr;
    if (frame_ && frame_->hwnd() == top)
        window = frame_.get();
    for (auto& d : dialogs_)
        if (d->hwnd() == top)
            window = d.get();
    // A disabled owner gets no input while its dialog runs.
    if (!window || !IsWindowEnabled(top))
        return true;
    Window& model = window->model();
    switch (msg.message) {
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        model.handleMessage({WindowMessage::LButtonDown});
        return true;
    case WM_CHAR:
        model.handleMessage({WindowMessage::Char, static_cast<unsigned>(msg.wParam)});
        return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return !pressKey(*window, static_cast<unsigned>(msg.wParam), ctrlDown());
    default:
        return true;
    }
}

int Win32Backend::runMessageLoop() {
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        if (preTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return got == 0 ? static_cast<int>(msg.wParam) : 1;
}

void Win32Backend::pumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (preTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

} // namespace ui::win32
