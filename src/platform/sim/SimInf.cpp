#include "platform/sim/SimInf.h"

#include "base/Compare.h"
#include "base/Utf.h"

namespace sim {

namespace {

std::wstring decode(std::span<const std::uint8_t> b) {
    if (b.size() >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        std::wstring out;
        for (std::size_t i = 2; i + 1 < b.size(); i += 2)
            out.push_back(static_cast<wchar_t>(b[i] | (b[i + 1] << 8)));
        return out;
    }
    std::string_view s(reinterpret_cast<const char*>(b.data()), b.size());
    if (s.starts_with("\xEF\xBB\xBF"))
        s.remove_prefix(3);
    return text::fromUtf8(s);
}

std::wstring trim(std::wstring_view s) {
    const auto first = s.find_first_not_of(L" \t\r");
    if (first == std::wstring_view::npos)
        return {};
    const auto last = s.find_last_not_of(L" \t\r");
    return std::wstring(s.substr(first, last - first + 1));
}

// Splits one logical line into its key and comma-separated fields, dropping the comment. Quoted
// parts are taken literally ("" is a quote); the %tokens% stay for substitution.
InfFile::Line splitLine(std::wstring_view line) {
    InfFile::Line out;
    std::wstring field;
    bool quoted = false, anyQuote = false, haveKey = false;
    auto finish = [&] {
        out.fields.push_back(anyQuote ? field : trim(field));
        field.clear();
        anyQuote = false;
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        const wchar_t c = line[i];
        if (quoted) {
            if (c == L'"' && i + 1 < line.size() && line[i + 1] == L'"') {
                field += L'"';
                ++i;
            } else if (c == L'"') {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        if (c == L';')
            break;
        if (c == L'"') {
            if (!anyQuote)
                field = trim(field);
            quoted = anyQuote = true;
        } else if (c == L'=' && !haveKey) {
            out.key = anyQuote ? field : trim(field);
            field.clear();
            anyQuote = false;
            haveKey = true;
        } else if (c == L',') {
            finish();
        } else if (anyQuote && (c == L' ' || c == L'\t')) {
            // blanks around a quoted text are not part of it
        } else {
            field += c;
        }
    }
    finish();
    if (!haveKey && out.fields.size() == 1 && out.fields[0].empty())
        out.fields.clear();
    return out;
}

} // namespace

InfFile InfFile::parse(std::span<const std::uint8_t> bytes) {
    InfFile inf;
    const std::wstring content = decode(bytes);
    Section* current = nullptr;
    std::wstring logical;
    std::size_t pos = 0;
    while (pos <= content.size()) {
        std::size_t end = content.find(L'\n', pos);
        if (end == std::wstring::npos)
            end = content.size();
        std::wstring line = trim(std::wstring_view(content).substr(pos, end - pos));
        pos = end + 1;
        // A backslash at the end continues the line.
        if (!line.empty() && line.back() == L'\\' && line.find(L';') == std::wstring::npos) {
            logical += line.substr(0, line.size() - 1);
            continue;
        }
        logical += line;
        std::wstring whole = trim(logical);
        logical.clear();
        if (whole.empty() || whole[0] == L';')
            continue;
        if (whole[0] == L'[') {
            const auto close = whole.find(L']');
            inf.sections_.push_back(
                {trim(whole.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1)), {}});
            current = &inf.sections_.back();
            continue;
        }
        if (current) {
            Line l = splitLine(whole);
            if (!l.key.empty() || !l.fields.empty())
                current->lines.push_back(std::move(l));
        }
    }
    // Replace %tokens% now that [Strings] is known.
    for (auto& s : inf.sections_) {
        if (text::equalsNoCase(s.name, L"Strings"))
            continue;
        for (auto& l : s.lines) {
            l.key = inf.substitute(l.key);
            for (auto& f : l.fields)
                f = inf.substitute(f);
        }
    }
    return inf;
}

std::wstring InfFile::substitute(std::wstring_view raw) const {
    std::wstring out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != L'%') {
            out += raw[i];
            continue;
        }
        const auto close = raw.find(L'%', i + 1);
        if (close == std::wstring_view::npos) {
            out += raw.substr(i);
            break;
        }
        const std::wstring_view token = raw.substr(i + 1, close - i - 1);
        if (token.empty()) {
            out += L'%';
        } else {
            const Line* found = nullptr;
            if (const auto* strings = section(L"Strings")) {
                for (const auto& l : *strings) {
                    if (text::equalsNoCase(l.key, token)) {
                        found = &l;
                        break;
                    }
                }
            }
            if (found && !found->fields.empty())
                out += found->fields[0];
            else
                out += raw.substr(i, close - i + 1);
        }
        i = close;
    }
    return out;
}

const std::vector<InfFile::Line>* InfFile::section(std::wstring_view name) const {
    for (const auto& s : sections_) {
        if (text::equalsNoCase(s.name, name))
            return &s.lines;
    }
    return nullptr;
}

std::wstring InfFile::value(std::wstring_view sectionName, std::wstring_view key) const {
    if (const auto* lines = section(sectionName)) {
        for (const auto& l : *lines) {
            if (text::equalsNoCase(l.key, key))
                return l.fields.empty() ? std::wstring() : l.fields[0];
        }
    }
    return {};
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
