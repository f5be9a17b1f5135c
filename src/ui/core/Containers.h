#pragma once
// The containers: vertical and horizontal box layouts, and the tab that shows one child at a time.
#include "ui/core/Control.h"

namespace ui {

class VerticalLayout : public Control {
public:
    explicit VerticalLayout(std::wstring className = L"VerticalLayout");
    bool isContainer() const override { return true; }
    Arrange arrangement() const override { return Arrange::Vertical; }
};

class HorizontalLayout : public Control {
public:
    explicit HorizontalLayout(std::wstring className = L"HorizontalLayout");
    bool isContainer() const override { return true; }
    Arrange arrangement() const override { return Arrange::Horizontal; }
};

// Shows exactly one child (the first one after loading); pages are selected by name.
class Tab : public Control {
public:
    Tab();
    bool isContainer() const override { return true; }
    Arrange arrangement() const override { return Arrange::Stack; }
    const Control* shownChild() const override;

    // Selects the child named `name` (letter case ignored); false, and no change, when none is.
    bool select(std::wstring_view name);
    bool selectIndex(int index);
    int selectedIndex() const { return selected_; }
    Control* selected() const;

    AttrResult setAttribute(std::string_view name, std::wstring_view value) override;

private:
    int selected_ = 0;
};

} // namespace ui
