#include "app/msglog/MessageLog.h"

#include <mutex>

namespace msglog {
namespace {

// The process-wide current message log. The lock is held during a post, so clearing the log waits
// for a post in progress and a destroyed log is never called.
struct Current {
    std::mutex mutex;
    MessageLog* log = nullptr;
};

Current& current() {
    static Current c;
    return c;
}

} // namespace

void setCurrentMessageLog(MessageLog* log) {
    std::lock_guard lock(current().mutex);
    current().log = log;
}

void clearCurrentMessageLog(MessageLog* log) {
    std::lock_guard lock(current().mutex);
    if (current().log == log)
        current().log = nullptr;
}

} // namespace msglog

void PostLogMessage(std::wstring_view text, msglog::Colour colour) {
    auto& c = msglog::current();
    std::lock_guard lock(c.mutex);
    if (c.log)
        c.log->post(text, colour);
}
