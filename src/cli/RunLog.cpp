#include "cli/RunLog.h"

#include "base/Format.h"
#include "base/Utf.h"

namespace cli {

RunLog::RunLog(ports::Platform& platform, const Console& console, std::wstring file, bool quiet)
    : platform_(platform), console_(console), file_(std::move(file)), quiet_(quiet) {
    current_.emplace(*this);
}

// The seam stops posting here before the members go.
RunLog::~RunLog() {
    current_.reset();
}

const wchar_t* RunLog::levelOf(msglog::Colour colour) {
    switch (colour) {
    case msglog::kRed:
        return L"ERROR";
    case msglog::kBlue:
        return L"OK";
    default:
        return L"INFO";
    }
}

ports::Status RunLog::open(std::wstring_view firstLine) {
    if (file_.empty()) {
        info(firstLine);
        return ports::winerr::Success;
    }
    const auto slash = file_.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash > 2)
        (void)platform_.files().createDirectories(file_.substr(0, slash));
    const std::string probe;
    const ports::Status status = platform_.files().appendFile(
        file_, std::span(reinterpret_cast<const std::uint8_t*>(probe.data()), probe.size()));
    if (status != ports::winerr::Success)
        return status;
    info(firstLine);
    return writeError_;
}

void RunLog::post(std::wstring_view text, msglog::Colour colour) {
    std::lock_guard lock(mutex_);
    const wchar_t* level = levelOf(colour);
    if (!quiet_ && console_.err)
        console_.err(text::format(L"%-5s %s", level, text));
    if (file_.empty() || fileBroken_)
        return;
    const ports::SystemTime t = platform_.clock().localTime();
    const std::string line = text::toUtf8(
        text::format(L"%04d-%02d-%02d %02d:%02d:%02d.%03d %-5s %s\r\n", int{t.year}, int{t.month}, int{t.day},
                     int{t.hour}, int{t.minute}, int{t.second}, int{t.milliseconds}, level, text));
    writeError_ = platform_.files().appendFile(
        file_, std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()));
    if (writeError_ != ports::winerr::Success) {
        // Said once; the run goes on, its exit code still tells the outcome.
        fileBroken_ = true;
        if (console_.err)
            console_.err(L"the log file " + file_ + L" cannot be written any more");
    }
}

} // namespace cli
