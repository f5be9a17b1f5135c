#pragma once
// One control of the retained control tree. A tree is built from a layout document by the loader
// (LayoutLoader.h); pages find their controls by name once and keep them. All of it belongs to the UI
// thread.
#include "ui/core/Geometry.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Backend;
class Control;
enum class Change;

enum class NotifyKind { Click, SelectionChanged, TextChanged, Timer };

struct Notification {
    NotifyKind kind;
    Control& control;
    int row = -1;    // grids: the clicked row
    int column = -1; // grids: the clicked column
    unsigned timerId = 0;
};

// A page: receives the notifications of the controls of its subtree.
class NotifyTarget {
public:
    virtual void notify(const Notification& n) = 0;

protected:
    ~NotifyTarget() = default;
};

// What setting an attribute came to; the loader turns the last two into errors.
enum class AttrResult { Ok, Unknown, BadValue };

// A COLORREF (0x00BBGGRR).
using Colour = std::uint32_t;

class Control {
public:
    explicit Control(std::wstring className);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // The element name that made it ("Button", "VerticalLayout", "MsgWnd2").
    const std::wstring& className() const { return className_; }
    const std::wstring& name() const { return name_; }
    void setName(std::wstring name) { name_ = std::move(name); }

    const std::wstring& text() const { return text_; }
    virtual void setText(std::wstring text);
    const std::wstring& tooltip() const { return tooltip_; }
    void setTooltip(std::wstring tooltip) { tooltip_ = std::move(tooltip); }

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    // Visible itself, every ancestor visible, and the selected child wherever the parent is a tab.
    bool isShown() const;

    std::optional<int> resourceId() const { return resourceId_; }
    const std::wstring& userData() const { return userData_; }
    void setUserData(std::wstring data) { userData_ = std::move(data); }

    // The font index of config.xml (-1: the window's default font) and the other presentation
    // attributes (textcolor, bkcolor, image, align, ...) exactly as written, for the backend.
    int font() const { return font_; }
    const std::map<std::string, std::wstring, std::less<>>& look() const { return look_; }

    SizeRules& sizeRules() { return size_; }
    const SizeRules& sizeRules() const { return size_; }
    // The rectangle of the last layout pass (empty while not shown).
    const Rect& rect() const { return rect_; }
    void setRect(const Rect& r) { rect_ = r; }

    // The tree. Children are owned; a control added to a live tree joins its backend.
    Control* parent() const { return parent_; }
    std::span<const std::unique_ptr<Control>> children() const { return children_; }
    Control& add(std::unique_ptr<Control> child);
    // Whether a layout may place controls inside this one.
    virtual bool isContainer() const { return false; }
    // The first control of this subtree (itself included) named `name`, letter case ignored.
    Control* find(std::wstring_view name);
    template <typename T> T* findAs(std::wstring_view name) { return dynamic_cast<T*>(find(name)); }
    Control& root();

    // The page that gets this control's notifications: the nearest owner set on it or an ancestor.
    void setOwner(NotifyTarget* owner) { owner_ = owner; }
    NotifyTarget* owner() const;
    // Delivers a notification to the owner at once (on the calling thread, which is the UI thread).
    void notify(NotifyKind kind, int row = -1, int column = -1);

    // Per-control timers; the backend calls onTimer on each tick. Without a backend they do nothing.
    bool startTimer(unsigned id, unsigned periodMs);
    void stopTimer(unsigned id);
    // A tick: the owner gets a Timer notification (controls with timers of their own override).
    virtual void onTimer(unsigned id);

    // What a click of the user does (the backend calls it for enabled, shown controls only).
    virtual void performClick() { notify(NotifyKind::Click); }

    // Sets one layout attribute (name in lower case).
    virtual AttrResult setAttribute(std::string_view name, std::wstring_view value);
    // A child element of a leaf control that is no control (a grid's Column, a combo's Item).
    virtual AttrResult addItem(std::string_view element, const std::map<std::string, std::wstring>& attrs);

    // Where the layout texts came from, for the translations: the layout file, and the texts the
    // layout wrote (shown again when a language has no entry for the control).
    const std::wstring& layoutFile() const { return layoutFile_; }
    void setLayoutSource(std::wstring file);
    const std::wstring& layoutText() const { return layoutText_; }
    const std::wstring& layoutTooltip() const { return layoutTooltip_; }

    Backend* backend() const { return backend_; }
    // Joins this subtree to a backend (or detaches it with null).
    void attach(Backend* backend);

    // How a container places its children: along one axis, or stacked (a tab shows one of them).
    enum class Arrange { None, Vertical, Horizontal, Stack };
    virtual Arrange arrangement() const { return Arrange::None; }
    bool arrangesVertically() const { return arrangement() == Arrange::Vertical; }
    bool arrangesHorizontally() const { return arrangement() == Arrange::Horizontal; }
    bool stacksChildren() const { return arrangement() == Arrange::Stack; }
    // Tells the backend that the model changed (native windows follow it).
    void changed(Change what);
    // A tab shows one child only.
    virtual const Control* shownChild() const { return nullptr; }
    // Extra space between neighbours of a layout.
    int spacing() const { return spacing_; }

private:
    std::wstring className_;
    std::wstring name_;
    std::wstring text_;
    std::wstring tooltip_;
    std::wstring userData_;
    std::wstring layoutFile_;
    std::wstring layoutText_;
    std::wstring layoutTooltip_;
    std::optional<int> resourceId_;
    bool visible_ = true;
    bool enabled_ = true;
    int font_ = -1;
    int spacing_ = 0;
    std::map<std::string, std::wstring, std::less<>> look_;
    SizeRules size_;
    Rect rect_;
    Control* parent_ = nullptr;
    NotifyTarget* owner_ = nullptr;
    Backend* backend_ = nullptr;
    std::vector<std::unique_ptr<Control>> children_;
};

} // namespace ui
