#pragma once
// The message log seam: every part of the program reports its steps with PrintMessage and
// PrintMessageColor, from any thread. The lines go to the current message log, the one log window
// of the wizard (the end page's control) while it exists; before it exists and after it is gone
// they are dropped.
//
// The log itself (time stamps, the hand-over to the UI thread) is the sink's business: it only has
// to accept a finished text and its colour from any thread without blocking for long.
#include "base/Format.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace msglog {

// A COLORREF (0x00BBGGRR).
using Colour = std::uint32_t;
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kRed = 0x0000FF;  // failures
inline constexpr Colour kBlue = 0xFF0000; // successes

// A message as it is handed to the log.
struct LogMessage {
    std::wstring text;
    Colour colour = kBlack;
    friend bool operator==(const LogMessage&, const LogMessage&) = default;
};

class MessageLog {
public:
    // Called on the writing thread, one call at a time (posts are serialised so that a log is never
    // destroyed during a post). Must not post to the message log itself.
    virtual void post(std::wstring_view text, Colour colour) = 0;

protected:
    ~MessageLog() = default;
};

// Makes `log` the current message log (the most recently created one wins).
void setCurrentMessageLog(MessageLog* log);
// Stops `log` being the current message log; does nothing when another log has become current.
// Once this returns no post reaches `log` any more.
void clearCurrentMessageLog(MessageLog* log);

// Registers a log as current for the lifetime of this object.
class CurrentMessageLog {
public:
    explicit CurrentMessageLog(MessageLog& log) : log_(log) { setCurrentMessageLog(&log_); }
    ~CurrentMessageLog() { clearCurrentMessageLog(&log_); }
    CurrentMessageLog(const CurrentMessageLog&) = delete;
    CurrentMessageLog& operator=(const CurrentMessageLog&) = delete;

private:
    MessageLog& log_;
};

} // namespace msglog

// The common step of both print operations: hands `text` unchanged to the current message log, or
// drops it when there is none. Use it for texts that are not formats (a child's output, a path).
void PostLogMessage(std::wstring_view text, msglog::Colour colour);

// Formats like printf (text::format) and logs the result in black.
template <typename... Args> void PrintMessage(std::wstring_view format, const Args&... args) {
    PostLogMessage(text::format(format, args...), msglog::kBlack);
}

// Formats like printf and logs the result in `colour`.
template <typename... Args>
void PrintMessageColor(msglog::Colour colour, std::wstring_view format, const Args&... args) {
    PostLogMessage(text::format(format, args...), colour);
}
