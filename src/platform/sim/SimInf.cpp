#include "platform/sim/SimInf.h"

#include "base/Compare.h"

namespace sim {

InfFile InfFile::parse(std::span<const std::uint8_t> bytes) {
    InfFile out;
    out.doc_ = inf::Document::parse(bytes);
    return out;
}

const std::vector<InfFile::Line>* InfFile::section(std::wstring_view name) const {
    return doc_.section(name);
}

std::wstring InfFile::value(std::wstring_view sectionName, std::wstring_view key) const {
    return doc_.value(sectionName, key);
}

std::vector<InfFile::Model> InfFile::models(std::wstring_view decoration) const {
    std::vector<Model> out;
    const auto* manufacturers = section(L"Manufacturer");
    if (!manufacturers)
        return out;
    for (const auto& m : *manufacturers) {
        if (m.fields.empty())
            continue;
        const std::wstring& base = m.fields[0];
        std::wstring chosen = base;
        for (std::size_t i = 1; i < m.fields.size(); ++i) {
            // "NTamd64" or "NTamd64.6.0" and the like.
            const std::wstring& d = m.fields[i];
            if (text::equalsNoCase(d, decoration) ||
                (text::startsWithNoCase(d, decoration) && d.size() > decoration.size() &&
                 d[decoration.size()] == L'.')) {
                chosen = base + L"." + d;
                break;
            }
        }
        const auto* lines = section(chosen);
        if (!lines)
            continue;
        for (const auto& l : *lines) {
            if (l.key.empty() || l.fields.empty())
                continue;
            Model model{m.key.empty() ? base : m.key, l.key, l.fields[0], {}};
            for (std::size_t i = 1; i < l.fields.size(); ++i) {
                if (!l.fields[i].empty())
                    model.hardwareIds.push_back(l.fields[i]);
            }
            out.push_back(std::move(model));
        }
    }
    return out;
}

std::optional<InfFile::Model> InfFile::modelForHardwareId(std::wstring_view hardwareId,
                                                          std::wstring_view decoration) const {
    for (auto& m : models(decoration)) {
        for (const auto& id : m.hardwareIds) {
            if (text::equalsNoCase(id, hardwareId))
                return m;
        }
    }
    return std::nullopt;
}

std::optional<InfFile::Model> InfFile::modelNamed(std::wstring_view name,
                                                  std::wstring_view decoration) const {
    for (auto& m : models(decoration)) {
        if (text::equalsNoCase(m.description, name))
            return m;
    }
    return std::nullopt;
}

std::wstring infDecoration(std::wstring_view environment) {
    if (text::equalsNoCase(environment, L"Windows x64"))
        return L"NTamd64";
    if (text::equalsNoCase(environment, L"Windows ARM64"))
        return L"NTarm64";
    return L"NTx86";
}

} // namespace sim
