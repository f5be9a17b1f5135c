#include "ui/core/ControlFactory.h"

#include "base/Compare.h"
#include "ui/core/Controls.h"
#include "ui/core/Grid.h"
#include "ui/core/Tree.h"
#include "ui/core/Window.h"

namespace ui {
namespace {
template <typename T> ControlFactory::Maker maker() {
    return [] { return std::make_unique<T>(); };
}
} // namespace

ControlFactory::ControlFactory() {
    add(L"Window", maker<Window>());
    add(L"VerticalLayout", maker<VerticalLayout>());
    add(L"HorizontalLayout", maker<HorizontalLayout>());
    add(L"Tab", maker<Tab>());
    add(L"Label", maker<Label>());
    add(L"Button", maker<Button>());
    add(L"Option", maker<Option>());
    add(L"CheckBox", maker<CheckBox>());
    add(L"Edit", maker<Edit>());
    add(L"Combo", maker<Combo>());
    add(L"Grid", maker<Grid>());
    add(L"Tree", maker<Tree>());
    add(L"Progress", maker<Progress>());
    add(L"AnimatedPicture", maker<AnimatedPicture>());
    add(L"Menu", maker<Menu>());
    add(L"MenuItem", maker<MenuItem>());
    add(L"RichEdit", maker<RichEdit>());
}

void ControlFactory::add(std::wstring_view className, Maker maker) {
    makers_[text::toLower(className)] = std::move(maker);
}

std::unique_ptr<Control> ControlFactory::make(std::wstring_view className) const {
    auto it = makers_.find(text::toLower(className));
    return it == makers_.end() ? nullptr : it->second();
}

} // namespace ui
