#pragma once
// The package INF: a standard version-3 printer INF for x86, x64 and ARM64 with one install section
// per model. Written as UTF-16LE with a byte-order mark, always: model names and the provider may
// hold any character, and SetupAPI reads such a file on every Windows version we start on.
#include "PackageModels.h"

#include <cstdint>
#include <string>
#include <vector>

namespace driverpkg {

struct PackageIdentity {
    std::wstring mode;     // "CorvaneEx": names the DLLs, the INF, the catalogue and the monitor
    std::wstring provider; // the maker's name
    std::wstring version;  // "3.0.2.465"
    std::wstring date;     // "MM/DD/YYYY"
};

[[nodiscard]] std::wstring packageInfText(const PackageIdentity& identity,
                                          const std::vector<PackageModel>& models);
// UTF-16LE with its byte-order mark; CR LF line ends are already in the text.
[[nodiscard]] std::vector<std::uint8_t> utf16leWithBom(std::wstring_view text);

// A field as INF text: % doubled; quoted (with quotes doubled) when it holds anything the INF syntax
// would read otherwise (blanks, , ; = " or a non-ASCII character).
[[nodiscard]] std::wstring infField(std::wstring_view value);
// A [Strings] value: always quoted, quotes doubled; its % stays single, since a value taken from
// [Strings] is not substituted again.
[[nodiscard]] std::wstring infString(std::wstring_view value);

} // namespace driverpkg
