#pragma once
// A message log that keeps what is posted to it, for tests and for runs without a window. It becomes
// the current message log while it exists.
#include "app/msglog/MessageLog.h"
#include "base/Utf.h"

#include <cstddef>
#include <cstdio>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace msglog {

class RecordingMessageLog final : public MessageLog {
public:
    RecordingMessageLog() { setCurrentMessageLog(this); }
    ~RecordingMessageLog() { clearCurrentMessageLog(this); }
    RecordingMessageLog(const RecordingMessageLog&) = delete;
    RecordingMessageLog& operator=(const RecordingMessageLog&) = delete;

    void post(std::wstring_view text, Colour colour) override {
        std::lock_guard lock(mutex_);
        messages_.push_back({std::wstring(text), colour});
    }

    // A copy of the messages so far, in posting order.
    std::vector<LogMessage> messages() const {
        std::lock_guard lock(mutex_);
        return messages_;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        messages_.clear();
    }

private:
    mutable std::mutex mutex_;
    std::vector<LogMessage> messages_;
};

// Readable messages in test failures: the text in UTF-8 and the colour.
inline std::ostream& operator<<(std::ostream& os, const LogMessage& m) {
    char colour[16];
    std::snprintf(colour, sizeof colour, "0x%06X", static_cast<unsigned>(m.colour));
    return os << '"' << text::toUtf8(m.text) << "\" " << colour;
}

} // namespace msglog
