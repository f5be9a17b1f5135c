#include "ui/core/Controls.h"

#include "ui/core/Attributes.h"
#include "ui/core/Backend.h"

#include <algorithm>

namespace ui {

void CheckBox::setSelected(bool selected, bool notify) {
    if (selected_ == selected)
        return;
    selected_ = selected;
    changed(Change::State);
    if (notify)
        this->notify(NotifyKind::SelectionChanged);
}

AttrResult CheckBox::setAttribute(std::string_view name, std::wstring_view value) {
    if (name == "selected")
        return assignBool(selected_, value);
    return Control::setAttribute(name, value);
}

namespace {
void clearGroup(Control& c, const Option& keep) {
    if (auto* o = dynamic_cast<Option*>(&c); o && o != &keep && o->group() == keep.group())
        o->CheckBox::setSelected(false, false);
    for (auto& child : c.children())
        clearGroup(*child, keep);
}
} // namespace

void Option::setSelected(bool selected, bool notify) {
    if (selected && !group_.empty())
        clearGroup(root(), *this);
    CheckBox::setSelected(selected, notify);
}

AttrResult Option::setAttribute(std::string_view name, std::wstring_view value) {
    if (name == "group") {
        group_ = value;
        return AttrResult::Ok;
    }
    return CheckBox::setAttribute(name, value);
}

void Edit::typeText(std::wstring text) {
    if (maxChars_ > 0 && text.size() > static_cast<std::size_t>(maxChars_))
        text.resize(static_cast<std::size_t>(maxChars_));
    setText(std::move(text));
    notify(NotifyKind::TextChanged);
}

AttrResult Edit::setAttribute(std::string_view name, std::wstring_view value) {
    if (name == "readonly" || name == "password")
        return assignBool(name == "readonly" ? readOnly_ : password_, value);
    if (name == "maxchar")
        return assignInt(maxChars_, value);
    return Control::setAttribute(name, value);
}

void Combo::clearItems() {
    items_.clear();
    selected_ = -1;
    changed(Change::Content);
}

void Combo::addItem(std::wstring text) {
    items_.push_back(std::move(text));
    changed(Change::Content);
}

bool Combo::select(int index, bool notify) {
    if (index < -1 || index >= static_cast<int>(items_.size()))
        return false;
    if (index == selected_)
        return true;
    selected_ = index;
    changed(Change::State);
    if (notify)
        this->notify(NotifyKind::SelectionChanged);
    return true;
}

AttrResult Combo::addItem(std::string_view element, const std::map<std::string, std::wstring>& attrs) {
    if (element != "item")
        return AttrResult::Unknown;
    for (auto& [k, v] : attrs)
        if (k != "text")
            return AttrResult::Unknown;
    auto it = attrs.find("text");
    items_.push_back(it == attrs.end() ? std::wstring() : it->second);
    return AttrResult::Ok;
}

void Progress::setValue(int value) {
    if (value_ == value)
        return;
    value_ = value;
    changed(Change::State);
}

void Progress::setMaximum(int maximum) {
    if (max_ == maximum)
        return;
    max_ = maximum;
    changed(Change::State);
}

AttrResult Progress::setAttribute(std::string_view name, std::wstring_view value) {
    if (name == "value" || name == "max")
        return assignInt(name == "value" ? value_ : max_, value);
    return Control::setAttribute(name, value);
}

void AnimatedPicture::start() {
    if (frames_.empty())
        return;
    running_ = startTimer(kFrameTimer, delay_);
}

void AnimatedPicture::stop() {
    stopTimer(kFrameTimer);
    running_ = false;
    frame_ = 0;
}

void AnimatedPicture::onTimer(unsigned id) {
    if (id != kFrameTimer) {
        Control::onTimer(id);
        return;
    }
    if (!frames_.empty())
        frame_ = (frame_ + 1) % static_cast<int>(frames_.size());
}

AttrResult AnimatedPicture::setAttribute(std::string_view name, std::wstring_view value) {
    if (name == "delay") {
        int delay = 0;
        if (assignInt(delay, value, 1) != AttrResult::Ok)
            return AttrResult::BadValue;
        delay_ = static_cast<unsigned>(delay);
        return AttrResult::Ok;
    }
    return Control::setAttribute(name, value);
}

AttrResult AnimatedPicture::addItem(std::string_view element,
                                    const std::map<std::string, std::wstring>& attrs) {
    auto it = attrs.find("image");
    if (element != "frame" || it == attrs.end() || attrs.size() != 1)
        return element == "frame" ? AttrResult::BadValue : AttrResult::Unknown;
    frames_.push_back(it->second);
    return AttrResult::Ok;
}

void RichEdit::setText(std::wstring text) {
    runs_.clear();
    lineBreaks_ = 0;
    if (!text.empty())
        append(text, 0);
    else
        changed(Change::Content);
}

void RichEdit::append(std::wstring_view text, Colour colour) {
    lineBreaks_ += static_cast<int>(std::count(text.begin(), text.end(), L'\n'));
    runs_.push_back({std::wstring(text), colour});
    changed(Change::Content);
}

std::wstring RichEdit::content() const {
    std::wstring all;
    for (auto& r : runs_)
        all += r.text;
    return all;
}

} // namespace ui
