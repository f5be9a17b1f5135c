#include "wizard/CMsgWnd2UI.h"

#include "base/Compare.h"
#include "base/Format.h"

namespace wizard {

// A line on its way to the UI thread. It names its control only weakly: a control gone meanwhile
// is not touched.
struct CMsgWnd2UI::Insert {
    std::weak_ptr<Token> target;
    msglog::LogMessage message;
};

CMsgWnd2UI::CMsgWnd2UI(ports::Clock& clock)
    : ui::RichEdit(L"MsgWnd2"), clock_(clock), token_(std::make_shared<Token>(this)) {
    sizeRules().padding = {5, 5, 5, 5};
}

CMsgWnd2UI::~CMsgWnd2UI() {
    // Waits for a post in progress; afterwards no writer reaches this control.
    if (current_)
        msglog::clearCurrentMessageLog(this);
}

ui::AttrResult CMsgWnd2UI::setAttribute(std::string_view name, std::wstring_view value) {
    if (name == "showdate") {
        showDate_ = text::equalsNoCase(value, L"true");
        return ui::AttrResult::Ok;
    }
    if (name == "showtime") {
        showTime_ = text::equalsNoCase(value, L"true");
        return ui::AttrResult::Ok;
    }
    return ui::RichEdit::setAttribute(name, value);
}

void CMsgWnd2UI::init(ui::Window& window) {
    window.onPrivate<Insert>(WM_MSGLOG_INSERT, [](Insert& r) {
        if (auto t = r.target.lock())
            t->control->insert(r.message);
    });
    poster_ = window.poster();
    // The poster is in place before any writer can see this log (the registration's lock orders it).
    msglog::setCurrentMessageLog(this);
    current_ = true;
}

std::wstring CMsgWnd2UI::stamp(std::wstring_view line, const ports::SystemTime& t, bool date, bool clock) {
    if (date && clock)
        return text::format(L"%04d-%02d-%02d %02d:%02d:%02d.%03d : %s", t.year, t.month, t.day, t.hour,
                            t.minute, t.second, t.milliseconds, line);
    if (date)
        return text::format(L"%04d-%02d-%02d : %s", t.year, t.month, t.day, line);
    if (clock)
        return text::format(L"%02d:%02d:%02d.%03d : %s", t.hour, t.minute, t.second, t.milliseconds, line);
    return std::wstring(line);
}

void CMsgWnd2UI::post(std::wstring_view line, msglog::Colour colour) {
    auto stamped = stamp(line, clock_.localTime(), showDate_, showTime_);
    (void)poster_.post(WM_MSGLOG_INSERT, std::make_unique<Insert>(
                                             Insert{token_, msglog::LogMessage{std::move(stamped), colour}}));
}

void CMsgWnd2UI::insert(const msglog::LogMessage& message) {
    // The native control counts the empty line after the last break too.
    if (lineCount() > kMaxLines - 1)
        ui::RichEdit::setText(L"");
    append(message.text + L"\r\n", message.colour);
}

void registerMessageLog(ui::ControlFactory& factory, ports::Clock& clock) {
    factory.add(L"MsgWnd2", [&clock] { return std::make_unique<CMsgWnd2UI>(clock); });
}

} // namespace wizard
