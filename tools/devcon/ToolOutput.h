#pragma once
// The tool's lines on standard output, in the machine's ANSI code page: the wizard reads them from
// its pipe and converts them from that code page.
#include "platform/ports/SystemInfo.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace devcon {

inline void writeLine(ports::SystemInfo& system, std::wstring_view line) {
    std::wstring text(line);
    text += L'\n';
    std::string bytes;
    if (system.wideToAnsi(text, bytes) != ports::winerr::Success)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

} // namespace devcon
