#pragma once
// The leaf controls: label, button, option, check box, edit, combo, progress bar, animated picture,
// menu items and the rich-edit log.
#include "ui/core/Containers.h"
#include "ui/core/Control.h"

#include <string>
#include <vector>

namespace ui {

class Label : public Control {
public:
    Label() : Control(L"Label") {}
};

class Button : public Control {
public:
    explicit Button(std::wstring className = L"Button") : Control(std::move(className)) {}
};

// A check box: a click toggles it and reports a selection change.
class CheckBox : public Control {
public:
    explicit CheckBox(std::wstring className = L"CheckBox") : Control(std::move(className)) {}
    bool selected() const { return selected_; }
    // With `notify`, the owner gets a selection change when the state changes.
    virtual void setSelected(bool selected, bool notify = true);
    void performClick() override { setSelected(!selected_); }
    AttrResult setAttribute(std::string_view name, std::wstring_view value) override;

protected:
    bool selected_ = false;
};

// An option of a group: selecting it clears the other options of its group in the same window.
// Only the option that becomes selected reports the change.
class Option : public CheckBox {
public:
    Option() : CheckBox(L"Option") {}
    const std::wstring& group() const { return group_; }
    void setSelected(bool selected, bool notify = true) override;
    void performClick() override { setSelected(true); }
    AttrResult setAttribute(std::string_view name, std::wstring_view value) override;

private:
    std::wstring group_;
};

class Edit : public Control {
public:
    Edit() : Control(L"Edit") {}
    // What the user typed: the text, then a text-changed notification.
    void typeText(std::wstring text);
    bool readOnly() const { return readOnly_; }
    int maxChars() const { return maxChars_; }
    AttrResult setAttribute(std::string_view name, std::wstring_view value) override;

private:
    bool readOnly_ = false;
    bool password_ = false;
    int maxChars_ = 0;
};

class Combo : public Control {
public:
    Combo() : Control(L"Combo") {}
    void clearItems();
    void addItem(std::wstring text);
    const std::vector<std::wstring>& items() const { return items_; }
    int selectedIndex() const { return selected_; }
    // Selects an item (-1: none); with `notify` the owner gets a selection change.
    bool select(int index, bool notify = true);
    AttrResult addItem(std::string_view element, const std::map<std::string, std::wstring>& attrs) override;

private:
    std::vector<std::wstring> items_;
    int selected_ = -1;
};

class Progress : public Control {
public:
    Progress() : Control(L"Progress") {}
    int value() const { return value_; }
    int maximum() const { return max_; }
    void setValue(int value);
    void setMaximum(int maximum);
    AttrResult setAttribute(std::string_view name, std::wstring_view value) override;

private:
    int value_ = 0;
    int max_ = 100;
};

// A picture that cycles through frames while running, on a timer of its own.
class AnimatedPicture : public Control {
public:
    // The animation's own timer; page timers on the same control use other identifiers.
    static constexpr unsigned kFrameTimer = 0x7FFF0001;
    AnimatedPicture() : Control(L"AnimatedPicture") {}
    const std::vector<std::wstring>& frames() const { return frames_; }
    int frame() const { return frame_; }
    unsigned delayMs() const { return delay_; }
    bool running() const { return running_; }
    void start();
    void stop();
    void onTimer(unsigned id) override;
    AttrResult setAttribute(std::string_view name, std::wstring_view value) override;
    AttrResult addItem(std::string_view element, const std::map<std::string, std::wstring>& attrs) override;

private:
    std::vector<std::wstring> frames_;
    unsigned delay_ = 200;
    int frame_ = 0;
    bool running_ = false;
};

// A popup menu: its items are MenuItem controls, found by name and translated like any control.
class Menu : public Control {
public:
    Menu() : Control(L"Menu") {}
    bool isContainer() const override { return true; }
};

class MenuItem : public Control {
public:
    MenuItem() : Control(L"MenuItem") {}
};

// Coloured lines of text (the native rich-edit window). Line count as the native control counts:
// the empty line after a final line break counts too.
class RichEdit : public Control {
public:
    struct Run {
        std::wstring text;
        Colour colour = 0;
        friend bool operator==(const Run&, const Run&) = default;
    };
    explicit RichEdit(std::wstring className = L"RichEdit") : Control(std::move(className)) {
        sizeRules().stretch = 1;
    }
    // Replaces everything (an empty text clears it).
    void setText(std::wstring text) override;
    void append(std::wstring_view text, Colour colour);
    const std::vector<Run>& runs() const { return runs_; }
    std::wstring content() const;
    int lineCount() const { return lineBreaks_ + 1; }

private:
    std::vector<Run> runs_;
    int lineBreaks_ = 0;
};

} // namespace ui
