#pragma once
// The one rule for a local printer's name, for the Win32 spooler port, the simulated spooler and a
// caller that checks a name before it changes anything (the command line). The print protocol allows any
// characters but ',' and '\' (they separate server, printer and suffixes such as ",Job 3"), and no empty
// name; Windows' local spooler refuses '!' as well and more than 220 characters (MAX_PRINTER_NAME), whatever
// AddPrinterW's record could carry. Wine's spooler takes every name, so the port checks before it calls.
#include <cstddef>
#include <string_view>

namespace ports {

inline constexpr std::size_t kMaxPrinterName = 220;

[[nodiscard]] constexpr bool validPrinterName(std::wstring_view name) noexcept {
    return !name.empty() && name.size() <= kMaxPrinterName &&
           name.find_first_of(L",!\\") == std::wstring_view::npos;
}

} // namespace ports
