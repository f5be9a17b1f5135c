#pragma once
// The message log control of the end page (element MsgWnd2): coloured lines, time-stamped on the
// writing thread and appended on the UI thread. While it is initialised it is the current message
// log, so PrintMessage and PrintMessageColor from any thread reach it; lines written before its
// init or after it is gone are dropped.
#include "app/msglog/MessageLog.h"
#include "platform/ports/Clock.h"
#include "ui/core/Controls.h"
#include "ui/core/ControlFactory.h"
#include "ui/core/Window.h"

#include <atomic>
#include <memory>

namespace wizard {

// The hand-over message of a log line to the main window.
inline constexpr unsigned WM_MSGLOG_INSERT = 0x0400 + 2;

class CMsgWnd2UI final : public ui::RichEdit, public msglog::MessageLog {
public:
    // Lines at most: the line after which the log starts again empty.
    static constexpr int kMaxLines = 5000;

    explicit CMsgWnd2UI(ports::Clock& clock);
    ~CMsgWnd2UI() override;

    bool showDate() const { return showDate_; }
    bool showTime() const { return showTime_; }
    ui::AttrResult setAttribute(std::string_view name, std::wstring_view value) override;

    // On the UI thread, once the window is attached to its backend: subscribes the window to the
    // hand-over message and makes this the current message log.
    void init(ui::Window& window);

    // msglog::MessageLog, any thread: the line with its prefix, handed to the UI thread.
    void post(std::wstring_view line, msglog::Colour colour) override;

    // The line as the flags want it at `time`.
    static std::wstring stamp(std::wstring_view line, const ports::SystemTime& time, bool date, bool clock);

private:
    struct Token {
        CMsgWnd2UI* control;
    };
    struct Insert;
    void insert(const msglog::LogMessage& message);

    ports::Clock& clock_;
    std::atomic<bool> showDate_{true};
    std::atomic<bool> showTime_{true};
    ui::WindowPoster poster_;
    std::shared_ptr<Token> token_;
    bool current_ = false;
};

// Adds the class MsgWnd2 to `factory`; its controls stamp their lines with `clock`.
void registerMessageLog(ui::ControlFactory& factory, ports::Clock& clock);

} // namespace wizard
