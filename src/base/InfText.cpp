#include "base/InfText.h"

#include "base/Compare.h"
#include "base/Utf.h"

namespace inf {

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

// Where the comment of a physical line starts (";" outside quotes); npos when it has none.
std::size_t commentStart(std::wstring_view line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == L'"')
            quoted = !quoted;
        else if (line[i] == L';' && !quoted)
            return i;
    }
    return std::wstring_view::npos;
}

// Splits one logical line (comment already removed) into its key and comma-separated fields.
// Quoted parts are taken literally ("" is a quote); the %tokens% stay for substitution. As SetupAPI
// reads a field: blanks before it and after its last character are dropped, blanks inside it (also
// between a quoted part and the rest) are kept, and a quoted blank counts as a character.
Line splitLine(std::wstring_view line) {
    Line out;
    std::wstring field;
    std::size_t keep = 0; // the field's length up to its last character that counts
    bool quoted = false, haveKey = false;
    auto take = [&] {
        std::wstring done = field.substr(0, keep);
        field.clear();
        keep = 0;
        return done;
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
            keep = field.size();
            continue;
        }
        if (c == L'"') {
            quoted = true;
            keep = field.size();
        } else if (c == L'=' && !haveKey) {
            out.key = take();
            haveKey = true;
        } else if (c == L',') {
            out.fields.push_back(take());
        } else if (c == L' ' || c == L'\t') {
            if (!field.empty())
                field += c;
        } else {
            field += c;
            keep = field.size();
        }
    }
    out.fields.push_back(take());
    if (!haveKey && out.fields.size() == 1 && out.fields[0].empty())
        out.fields.clear();
    return out;
}

} // namespace

Document Document::parse(std::span<const std::uint8_t> bytes) {
    return parse(decode(bytes));
}

Document Document::parse(std::wstring_view content) {
    Document doc;
    Section* current = nullptr;
    std::wstring logical;
    std::size_t pos = 0;
    while (pos <= content.size()) {
        std::size_t end = content.find(L'\n', pos);
        if (end == std::wstring_view::npos)
            end = content.size();
        std::wstring_view physical = content.substr(pos, end - pos);
        pos = end + 1;
        if (const auto c = commentStart(physical); c != std::wstring_view::npos)
            physical = physical.substr(0, c);
        std::wstring line = trim(physical);
        // A backslash at the end (before any comment) continues the line.
        if (!line.empty() && line.back() == L'\\') {
            logical += line.substr(0, line.size() - 1);
            if (pos <= content.size())
                continue;
        } else {
            logical += line;
        }
        std::wstring whole = trim(logical);
        logical.clear();
        if (whole.empty())
            continue;
        if (whole[0] == L'[') {
            const auto close = whole.find(L']');
            current = &doc.sectionFor(
                trim(whole.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1)));
            continue;
        }
        if (current) {
            Line l = splitLine(whole);
            if (!l.key.empty() || !l.fields.empty())
                current->lines.push_back(std::move(l));
        }
    }
    // Replace %tokens% now that [Strings] is known.
    for (auto& s : doc.sections_) {
        if (text::equalsNoCase(s.name, L"Strings"))
            continue;
        for (auto& l : s.lines) {
            l.key = doc.substitute(l.key);
            for (auto& f : l.fields)
                f = doc.substitute(f);
        }
    }
    return doc;
}

Document::Section& Document::sectionFor(std::wstring_view name) {
    for (auto& s : sections_) {
        if (text::equalsNoCase(s.name, name))
            return s;
    }
    // Pointers into sections_ are only held while parsing one section, so growth is fine here.
    sections_.push_back({std::wstring(name), {}});
    return sections_.back();
}

std::wstring Document::substitute(std::wstring_view raw) const {
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

const std::vector<Line>* Document::section(std::wstring_view name) const {
    for (const auto& s : sections_) {
        if (text::equalsNoCase(s.name, name))
            return &s.lines;
    }
    return nullptr;
}

std::wstring Document::value(std::wstring_view sectionName, std::wstring_view key) const {
    if (const auto* lines = section(sectionName)) {
        for (const auto& l : *lines) {
            if (text::equalsNoCase(l.key, key))
                return l.fields.empty() ? std::wstring() : l.fields[0];
        }
    }
    return {};
}

std::vector<std::wstring> Document::sectionNames() const {
    std::vector<std::wstring> out;
    out.reserve(sections_.size());
    for (const auto& s : sections_)
        out.push_back(s.name);
    return out;
}

std::optional<std::wstring> setupApiKey(const Line& line) {
    if (!line.key.empty())
        return line.key;
    if (line.fields.size() == 1)
        return line.fields[0];
    return std::nullopt;
}

bool staysInsideFolder(std::wstring_view path) noexcept {
    if (path.empty())
        return true; // no subfolder: the package folder itself
    if (path[0] == L'\\' || path[0] == L'/')
        return false; // rooted, UNC or device path
    if (path.find(L':') != std::wstring_view::npos)
        return false; // drive letter or alternate data stream
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find_first_of(L"\\/", start);
        if (end == std::wstring_view::npos)
            end = path.size();
        std::wstring_view part = path.substr(start, end - start);
        // Windows drops trailing dots and blanks, so ". ." and "..." name the parent as well.
        while (!part.empty() && (part.back() == L'.' || part.back() == L' '))
            part.remove_suffix(1);
        if (part.empty() && end - start >= 2)
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace inf
