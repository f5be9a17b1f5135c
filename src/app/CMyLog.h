#pragma once
// The diagnostic log file of debug mode: "Log\" next to the executable, one UTF-16 LE file per day
// named "<prefix> YYYY-MM-DD.log", lines stamped "YYYY-MM-DD hh:mm:ss.mmm : text" and ended by CR LF.
// Any thread may add lines; one writer thread appends them in batches, opening the file only while
// it writes, so other programs can read it in between. Failures are ignored and drop their batch.
#include "base/Format.h"
#include "platform/ports/Clock.h"
#include "platform/ports/FileSystem.h"

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

class CMyLog {
public:
    CMyLog(ports::FileSystem& files, ports::Clock& clock);
    // Asks the writer to end and joins it; it writes the lines it has already been woken for first.
    ~CMyLog();
    CMyLog(const CMyLog&) = delete;
    CMyLog& operator=(const CMyLog&) = delete;

    // Once only: the log folder is the folder of `modulePath` (up to its last backslash) plus
    // "Log\", created when missing; then the writer thread starts. Later calls do nothing.
    void start(std::wstring_view modulePath, std::wstring_view prefix);
    bool started() const;

    // When started: the line "Run Orvello application".
    void logStartLine();
    // Stamps `text` with the local time and hands it to the writer.
    void addLine(std::wstring_view text);
    // printf-style; writes only when the writer has been started.
    template <typename... Args> void logFormatted(std::wstring_view format, const Args&... args) {
        if (started())
            addLine(text::format(format, args...));
    }

    // The folder chosen by start() ("" before).
    std::wstring folder() const;
    // Waits until every line added so far has been through a batch (written or dropped); false when
    // `timeout` passed first. For an orderly end and for tests.
    bool waitUntilWritten(std::chrono::milliseconds timeout);

    struct Shared; // the state the writer thread shares

private:
    std::unique_ptr<Shared> shared_;
    std::thread writer_;
};
