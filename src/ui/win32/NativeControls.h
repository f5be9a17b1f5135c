#pragma once
// One native child window per leaf control: which window class and styles a control gets, and how
// its native state follows the model (text, check, items, rows, nodes, log lines).
#include "ui/core/Control.h"
#include "ui/core/Tree.h"
#include "ui/win32/Handles.h"

#include <commctrl.h>

#include <map>
#include <string>

namespace ui::win32 {

// The window property that carries the control's layout name (a global atom), so that any code
// holding only the HWND (automation, tests) finds the control by its name.
inline constexpr wchar_t kNameProperty[] = L"Orvello.LayoutName";

// The native side of one leaf control.
class NativeControl {
public:
    // Creates the child window of `control` under `parent`; check `valid()`.
    NativeControl(Control& control, HWND parent, const wchar_t* richEditClass);
    ~NativeControl();
    NativeControl(const NativeControl&) = delete;
    NativeControl& operator=(const NativeControl&) = delete;

    bool valid() const { return static_cast<bool>(hwnd_); }
    HWND hwnd() const { return hwnd_.get(); }
    Control& control() const { return control_; }

    // Brings the native window in line with the model (what changed, or everything).
    void syncText();
    void syncEnabled();
    void syncState();
    void syncContent();
    void syncAll();

    // While the backend itself changes the native window, its change notifications are no input.
    bool syncing() const { return syncing_ > 0; }

    // Tree nodes by native item, for the tree view's notifications.
    Tree::Node* nodeOf(HTREEITEM item) const;

private:
    void addNodes(HTREEITEM parent, const std::vector<std::unique_ptr<Tree::Node>>& nodes);
    void appendLog();

    Control& control_;
    UniqueWindow hwnd_;
    UniqueAtom name_;
    int syncing_ = 0;
    std::size_t logShown_ = 0; // characters of the log already in the rich edit
    std::map<const Tree::Node*, HTREEITEM> items_;
};

// The layout name stored on `hwnd` (empty when it has none).
std::wstring layoutNameOf(HWND hwnd);

} // namespace ui::win32
