#pragma once
// Makes controls from layout element names (letter case ignored). The toolkit's own classes are
// registered from the start; a program adds its own (the message log) before loading layouts.
#include "ui/core/Control.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace ui {

class ControlFactory {
public:
    using Maker = std::function<std::unique_ptr<Control>()>;

    // With the toolkit's classes: Window, VerticalLayout, HorizontalLayout, Tab, Label,
    // Button, Option, CheckBox, Edit, Combo, Grid, Tree, Progress, AnimatedPicture, Menu, MenuItem,
    // RichEdit.
    ControlFactory();
    // Adds or replaces the class `className`.
    void add(std::wstring_view className, Maker maker);
    // A new control, or null for an unknown class.
    std::unique_ptr<Control> make(std::wstring_view className) const;

private:
    std::map<std::wstring, Maker, std::less<>> makers_; // by lower-case name
};

} // namespace ui
