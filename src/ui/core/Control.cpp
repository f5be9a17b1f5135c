#include "ui/core/Control.h"

#include "base/Compare.h"
#include "base/Utf.h"
#include "ui/core/Attributes.h"
#include "ui/core/Backend.h"

#include <algorithm>

namespace ui {
namespace {

// Presentation attributes kept as written for the backend.
constexpr std::string_view kLookAttributes[] = {"textcolor",   "bkcolor",       "bordercolor", "bordersize",
                                                "image",       "align",         "valign",      "hotimage",
                                                "pushedimage", "disabledimage", "inset",       "bkimage"};

} // namespace

Control::Control(std::wstring className) : className_(std::move(className)) {}

Control::~Control() {
    if (backend_)
        backend_->controlGone(*this);
}

void Control::setText(std::wstring text) {
    if (text_ == text)
        return;
    text_ = std::move(text);
    changed(Change::Text);
}

void Control::setVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    changed(Change::Visible);
}

void Control::setEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    changed(Change::Enabled);
}

void Control::changed(Change what) {
    if (backend_)
        backend_->controlChanged(*this, what);
}

bool Control::isShown() const {
    for (const Control* c = this; c; c = c->parent_) {
        if (!c->visible_)
            return false;
        if (c->parent_ && c->parent_->stacksChildren() && c->parent_->shownChild() != c)
            return false;
    }
    return true;
}

Control& Control::add(std::unique_ptr<Control> child) {
    child->parent_ = this;
    if (backend_)
        child->attach(backend_);
    children_.push_back(std::move(child));
    return *children_.back();
}

Control* Control::find(std::wstring_view name) {
    if (text::equalsNoCase(name_, name))
        return this;
    for (auto& c : children_)
        if (auto* found = c->find(name))
            return found;
    return nullptr;
}

Control& Control::root() {
    Control* c = this;
    while (c->parent_)
        c = c->parent_;
    return *c;
}

NotifyTarget* Control::owner() const {
    for (const Control* c = this; c; c = c->parent_)
        if (c->owner_)
            return c->owner_;
    return nullptr;
}

void Control::notify(NotifyKind kind, int row, int column) {
    if (auto* target = owner())
        target->notify(Notification{kind, *this, row, column});
}

bool Control::startTimer(unsigned id, unsigned periodMs) {
    return backend_ && backend_->startTimer(*this, id, periodMs);
}

void Control::stopTimer(unsigned id) {
    if (backend_)
        backend_->stopTimer(*this, id);
}

void Control::onTimer(unsigned id) {
    if (auto* target = owner())
        target->notify(Notification{NotifyKind::Timer, *this, -1, -1, id});
}

AttrResult Control::setAttribute(std::string_view name, std::wstring_view value) {
    auto flag = [&](bool& field) { return assignBool(field, value); };
    auto dimension = [&](int& field) { return assignInt(field, value); };
    auto edges = [&](Edges& field) {
        auto e = parseEdges(value);
        if (!e)
            return AttrResult::BadValue;
        field = *e;
        return AttrResult::Ok;
    };

    if (name == "name")
        name_ = value;
    else if (name == "text")
        setText(std::wstring(value));
    else if (name == "tooltip")
        tooltip_ = value;
    else if (name == "userdata")
        userData_ = value;
    else if (name == "visible")
        return flag(visible_);
    else if (name == "enabled")
        return flag(enabled_);
    else if (name == "resourceid") {
        int id = 0;
        if (assignInt(id, value) != AttrResult::Ok)
            return AttrResult::BadValue;
        resourceId_ = id;
    } else if (name == "font")
        return assignInt(font_, value, -1);
    else if (name == "width")
        return dimension(size_.width);
    else if (name == "height")
        return dimension(size_.height);
    else if (name == "minwidth")
        return dimension(size_.minWidth);
    else if (name == "minheight")
        return dimension(size_.minHeight);
    else if (name == "maxwidth")
        return dimension(size_.maxWidth);
    else if (name == "maxheight")
        return dimension(size_.maxHeight);
    else if (name == "stretch")
        return dimension(size_.stretch);
    else if (name == "padding")
        return edges(size_.padding);
    else if (name == "margin")
        return edges(size_.margin);
    else if (name == "spacing" && isContainer())
        return dimension(spacing_);
    else if (std::find(std::begin(kLookAttributes), std::end(kLookAttributes), name) !=
             std::end(kLookAttributes)) {
        if (name.ends_with("color") && !parseColour(value))
            return AttrResult::BadValue;
        look_[std::string(name)] = value;
    } else
        return AttrResult::Unknown;
    return AttrResult::Ok;
}

AttrResult Control::addItem(std::string_view, const std::map<std::string, std::wstring>&) {
    return AttrResult::Unknown;
}

void Control::setLayoutSource(std::wstring file) {
    layoutFile_ = std::move(file);
    layoutText_ = text_;
    layoutTooltip_ = tooltip_;
}

void Control::attach(Backend* backend) {
    backend_ = backend;
    for (auto& c : children_)
        c->attach(backend);
}

} // namespace ui
