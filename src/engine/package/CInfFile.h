#pragma once
// A package INF read whole through the INF port: every section in the order the system enumerates
// them, every line's key and values. The INF stays open until the reader is destroyed or opened
// again.
#include "platform/ports/InfFiles.h"

#include <string>
#include <string_view>
#include <vector>

struct InfLine {
    std::wstring key;                 // field 0; "" when the line has none
    std::vector<std::wstring> values; // fields 1 to n
};

struct InfSection {
    std::wstring name;
    std::vector<InfLine> lines;
};

class CInfFile {
public:
    explicit CInfFile(ports::InfFiles& infs) : infs_(infs) {}

    // Opens a printer-class INF and reads it. False when it cannot be opened (no sections then).
    bool Open(std::wstring_view path);
    // The first section of that name, compared without regard to case; nullptr when none.
    const InfSection* FindSection(std::wstring_view name) const;
    const std::vector<InfSection>& sections() const { return sections_; }

private:
    ports::InfFiles& infs_;
    ports::InfHandle handle_;
    std::vector<InfSection> sections_;
};
