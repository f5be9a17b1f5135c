#pragma once
// The one portable INF reader: the lines the SetupAPI INF functions give for a file, so the simulated
// machine and the engine on Linux read INF files the way Windows does. Sections and keys ignore case,
// sections of the same name are one section (in the order first seen), "\" at the end of a line
// continues it, ";" starts a comment outside quotes, quoted fields keep their commas and blanks ("" is
// a quote), %key% is replaced from [Strings] and %% is a percent sign.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace inf {

struct Line {
    std::wstring key; // "" for a line without "="
    std::vector<std::wstring> fields;
};

class Document {
public:
    // UTF-16LE with its byte-order mark, or UTF-8 (with or without one).
    static Document parse(std::span<const std::uint8_t> bytes);
    static Document parse(std::wstring_view text);

    // The lines of a section; nullptr when the INF has no such section.
    const std::vector<Line>* section(std::wstring_view name) const;
    // The first field of `key` in `section`; "" when missing.
    std::wstring value(std::wstring_view section, std::wstring_view key) const;
    // Section names in the order they first appear.
    std::vector<std::wstring> sectionNames() const;

private:
    struct Section {
        std::wstring name;
        std::vector<Line> lines;
    };
    Section& sectionFor(std::wstring_view name);
    std::wstring substitute(std::wstring_view raw) const;

    std::vector<Section> sections_;
};

// Field 0 of a line as SetupGetStringFieldW gives it: the key; for a line without "=" that holds a
// single value, that value (SetupAPI reads a lone entry, such as a file of a copy list, as its own
// key); nothing for a line of several values without a key.
[[nodiscard]] std::optional<std::wstring> setupApiKey(const Line& line);

// True when `path`, a source-file name or subfolder from an INF line, stays inside the package
// folder: relative, no ".." part, no drive letter, no alternate data stream, no device prefix.
[[nodiscard]] bool staysInsideFolder(std::wstring_view path) noexcept;

} // namespace inf
