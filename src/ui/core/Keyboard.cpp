#include "ui/core/Keyboard.h"

#include "base/Compare.h"
#include "ui/core/Controls.h"
#include "ui/core/Grid.h"
#include "ui/core/Tree.h"

namespace ui {
namespace {

bool takesInput(const Control& c) {
    return dynamic_cast<const Button*>(&c) || dynamic_cast<const CheckBox*>(&c) ||
           dynamic_cast<const Edit*>(&c) || dynamic_cast<const Combo*>(&c) || dynamic_cast<const Grid*>(&c) ||
           dynamic_cast<const Tree*>(&c);
}

void collect(Control& c, std::vector<Control*>& out) {
    if (!c.visible() || !c.enabled())
        return;
    if (c.stacksChildren()) {
        // Only the shown page of a tab.
        for (auto& child : c.children())
            if (c.shownChild() == child.get())
                collect(*child, out);
        return;
    }
    if (!c.isContainer()) {
        if (takesInput(c))
            out.push_back(&c);
        return;
    }
    for (auto& child : c.children())
        collect(*child, out);
}

bool endsWithNoCase(std::wstring_view s, std::wstring_view tail) {
    return s.size() >= tail.size() && text::equalsNoCase(s.substr(s.size() - tail.size()), tail);
}

} // namespace

std::vector<Control*> tabOrder(Control& root) {
    std::vector<Control*> out;
    collect(root, out);
    return out;
}

Control* keyButton(Control& root, KeyRole role) {
    const std::wstring_view tail = role == KeyRole::Next ? L"_next" : L"_cancel";
    for (Control* c : tabOrder(root))
        if (dynamic_cast<Button*>(c) && endsWithNoCase(c->name(), tail))
            return c;
    return nullptr;
}

} // namespace ui
