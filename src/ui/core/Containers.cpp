#include "ui/core/Containers.h"

#include "base/Compare.h"
#include "ui/core/Attributes.h"
#include "ui/core/Backend.h"

namespace ui {

VerticalLayout::VerticalLayout(std::wstring className) : Control(std::move(className)) {
    sizeRules().stretch = 1;
}

HorizontalLayout::HorizontalLayout(std::wstring className) : Control(std::move(className)) {
    sizeRules().stretch = 1;
}

Tab::Tab() : Control(L"Tab") {
    sizeRules().stretch = 1;
}

const Control* Tab::shownChild() const {
    return selected();
}

Control* Tab::selected() const {
    auto kids = children();
    if (selected_ < 0 || selected_ >= static_cast<int>(kids.size()))
        return nullptr;
    return kids[static_cast<std::size_t>(selected_)].get();
}

bool Tab::select(std::wstring_view name) {
    auto kids = children();
    for (std::size_t i = 0; i < kids.size(); ++i)
        if (text::equalsNoCase(kids[i]->name(), name)) {
            if (selected_ != static_cast<int>(i)) {
                selected_ = static_cast<int>(i);
                changed(Change::Visible);
            }
            return true;
        }
    return false;
}

bool Tab::selectIndex(int index) {
    if (index < 0 || index >= static_cast<int>(children().size()))
        return false;
    if (selected_ != index) {
        selected_ = index;
        changed(Change::Visible);
    }
    return true;
}

AttrResult Tab::setAttribute(std::string_view name, std::wstring_view value) {
    if (name == "selectedid")
        return assignInt(selected_, value);
    return Control::setAttribute(name, value);
}

} // namespace ui
