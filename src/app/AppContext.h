#pragma once
// What every part of the program runs with: the machine's ports, the debug flag, the translation
// of messages, the machine's answers that start-up keeps for the run, and the engine's output pipe
// and background commands. CApp owns one for the run and hands it to the engine, the pages and the
// tools; tests build their own. Messages go to the current message log (app/msglog), the one
// process-wide seam left.
#include "platform/ports/Platform.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The engine's, seen here only through pointers, so that the application layer includes nothing
// of the engine.
struct OutputPipe;
class BackgroundCommands;

namespace app {

struct AppContext {
    ports::Platform& platform;
    // Debug mode: 0 at start, 1 from the "-debug" switch, toggled while the wizard runs (Ctrl+F9).
    // Any thread reads it at the moment it writes extra diagnostics.
    std::atomic<int> debugMode{0};
    // The working folder, ending in a backslash ("C:\Program Files\LabelPrinterDriver\").
    std::wstring workingFolder{};
    // "devcon32.exe", "devcon64.exe", "devconARM64.exe" or "devconXP32.exe".
    std::wstring deviceConsoleTool{};
    // The system's text for a Windows error code.
    std::function<std::wstring(std::uint32_t)> systemErrorText{};
    // The current language's translation of a message id; none shows the id as written.
    std::function<std::wstring(std::wstring_view)> translate{};
    // The process's output pipe while the main window captures standard output (the device-console
    // tool writes into it); none before that.
    OutputPipe* outputPipe = nullptr;
    // The owner of the commands that run while nobody waits for them; none: they are not run.
    BackgroundCommands* backgroundCommands = nullptr;
    // The log file of debug mode; none, or a log that has not been started, drops the line.
    std::function<void(std::wstring_view)> logFile{};

    bool debug() const { return debugMode.load() != 0; }
    std::wstring tr(std::wstring_view id) const { return translate ? translate(id) : std::wstring(id); }
    void log(std::wstring_view line) const {
        if (logFile)
            logFile(line);
    }
    std::wstring errorText(std::uint32_t code) const {
        return systemErrorText ? systemErrorText(code) : std::wstring();
    }
};

} // namespace app
