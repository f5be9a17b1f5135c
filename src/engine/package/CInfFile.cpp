#include "engine/package/CInfFile.h"

#include "base/Compare.h"

namespace winerr = ports::winerr;

bool CInfFile::Open(std::wstring_view path) {
    sections_.clear();
    handle_.reset();
    if (infs_.openInf(path, L"Printer", handle_) != winerr::Success)
        return false;
    std::wstring name;
    for (std::uint32_t index = 0; infs_.sectionName(handle_, index, name) == winerr::Success; ++index)
        sections_.push_back({name, {}});
    for (auto& section : sections_) {
        std::uint32_t count = 0;
        if (infs_.lineCount(handle_, section.name, count) != winerr::Success)
            continue;
        for (std::uint32_t i = 0; i < count; ++i) {
            bool hasKey = false;
            std::vector<std::wstring> fields;
            if (infs_.lineFields(handle_, section.name, i, hasKey, fields) != winerr::Success ||
                fields.empty())
                continue;
            InfLine line;
            if (hasKey)
                line.key = std::move(fields[0]);
            line.values.assign(std::make_move_iterator(fields.begin() + 1),
                               std::make_move_iterator(fields.end()));
            section.lines.push_back(std::move(line));
        }
    }
    return true;
}

const InfSection* CInfFile::FindSection(std::wstring_view name) const {
    for (const auto& section : sections_)
        if (text::equalsNoCase(section.name, name))
            return &section;
    return nullptr;
}
