#pragma once
// What the engine's routines need from the application: the machine's ports, the debug-mode flag,
// the working folder and the device-console tool's name, the error texts and the message
// translation. CApp owns one and fills it; tests build their own.
#include "platform/ports/Platform.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

struct OutputPipe;

struct EngineContext {
    ports::Platform& platform;
    // DebugMode, read at each use (it can be switched on while the wizard runs).
    std::function<bool()> debugMode = [] { return false; };
    // workingFolder(), ending in a backslash ("C:\Program Files\LabelPrinterDriver\").
    std::wstring workingFolder{};
    // deviceConsoleTool(): "devcon32.exe", "devcon64.exe", "devconARM64.exe" or "devconXP32.exe".
    std::wstring deviceConsoleTool{};
    // systemErrorText(code): the system's text for a Windows error code.
    std::function<std::wstring(std::uint32_t)> systemErrorText{};
    // The current language's translation of a message id; none shows the id as written.
    std::function<std::wstring(std::wstring_view)> translate{};
    // The process's output pipe while the main window captures standard output (the device-console
    // tool writes into it); none before that.
    OutputPipe* outputPipe = nullptr;

    bool debug() const { return debugMode && debugMode(); }
    std::wstring tr(std::wstring_view id) const { return translate ? translate(id) : std::wstring(id); }
    std::wstring errorText(std::uint32_t code) const {
        return systemErrorText ? systemErrorText(code) : std::wstring();
    }
};
