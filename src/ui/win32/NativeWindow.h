#pragma once
// The native window of one layout root (the main frame or a modal dialog): a popup window of the
// layout's size scaled by the monitor's DPI, one child window per shown leaf control placed by the
// layout function, the fonts of config.xml, the background colours of the containers, and the
// caption area that drags the window. Native input becomes the toolkit's notifications here.
#include "ui/core/Layout.h"
#include "ui/core/Window.h"
#include "ui/win32/FontSet.h"
#include "ui/win32/Handles.h"
#include "ui/win32/NativeControls.h"

#include <map>
#include <memory>
#include <unordered_map>

namespace ui::win32 {

class Win32Backend;

class NativeWindow final : private Measure {
public:
    // Private messages of the window.
    static constexpr UINT kLayoutMessage = WM_APP + 3; // lay out again (coalesced)

    NativeWindow(Win32Backend& backend, Window& model, HWND owner);
    ~NativeWindow();
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    bool valid() const { return static_cast<bool>(hwnd_); }
    HWND hwnd() const { return hwnd_.get(); }
    Window& model() const { return model_; }
    double scale() const { return scale_; }

    // Shows the window centred on its owner (or the screen) and focuses the first input.
    void show();
    // The model changed: the native windows follow.
    void changed(Control& control, Change what);
    // A control of the tree is being destroyed.
    void forget(Control& control);
    // Places every child window where the layout function puts it now.
    void layout();

    Control* controlOf(HWND hwnd) const;
    HWND hwndOf(const Control& control) const;

    // The window procedure of every native window of the toolkit.
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static const wchar_t* className();

private:
    Size preferred(const Control& control) const override;
    // The control's font for its current text (a fallback face where its own lacks the glyphs).
    HFONT fontOf(const Control& control) const { return fonts_.fontFor(control.font(), control.text()); }
    void createChildren(Control& control);
    void applyDpi(int dpi);
    void scheduleLayout();
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void command(HWND child, UINT code);
    LRESULT notifyFrom(NMHDR& header);
    LRESULT colours(HDC dc, HWND child);
    void paintBackground(HDC dc);
    HBRUSH brush(Colour colour);

    Win32Backend& backend_;
    Window& model_;
    UniqueWindow hwnd_; // destroyed last: the children go first
    double scale_ = 1.0;
    FontSet fonts_;
    std::map<Colour, UniqueGdi> brushes_;
    std::unordered_map<const Control*, std::unique_ptr<NativeControl>> natives_;
    std::unordered_map<HWND, NativeControl*> byHwnd_;
    std::wstring scratch_; // text handed to a list view
    bool layoutPending_ = false;
};

} // namespace ui::win32
