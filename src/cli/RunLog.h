#pragma once
// The message log of an unattended run: every line the engine reports (and the run's own) goes to
// the log file given with /log, with its local time and its colour as a level (black INFO, blue OK,
// red ERROR), UTF-8, and to the console unless the run is quiet. It becomes the current message log
// for as long as it is open.
#include "app/msglog/MessageLog.h"
#include "cli/Console.h"
#include "platform/ports/Platform.h"
#include "platform/ports/Status.h"

#include <mutex>
#include <optional>
#include <string>

namespace cli {

class RunLog final : public msglog::MessageLog {
public:
    RunLog(ports::Platform& platform, const Console& console, std::wstring file, bool quiet);
    ~RunLog();
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // Creates the log file's folder and writes the first line; the error when the file cannot be
    // written. Without a file there is nothing to do.
    ports::Status open(std::wstring_view firstLine);

    void post(std::wstring_view text, msglog::Colour colour) override;

    // The run's own lines.
    void info(std::wstring_view text) { post(text, msglog::kBlack); }
    void ok(std::wstring_view text) { post(text, msglog::kBlue); }
    void error(std::wstring_view text) { post(text, msglog::kRed); }

    static const wchar_t* levelOf(msglog::Colour colour);

private:
    ports::Platform& platform_;
    const Console& console_;
    const std::wstring file_;
    const bool quiet_;
    std::mutex mutex_;
    bool fileBroken_ = false;
    ports::Status writeError_ = ports::winerr::Success;
    std::optional<msglog::CurrentMessageLog> current_;
};

} // namespace cli
