#include "base/CommandLine.h"

namespace text {

namespace {
bool blank(wchar_t c) {
    return c == L' ' || c == L'\t';
}
} // namespace

std::wstring programOf(std::wstring_view line) {
    std::size_t i = 0;
    while (i < line.size() && blank(line[i]))
        ++i;
    if (i < line.size() && line[i] == L'"') {
        const std::size_t close = line.find(L'"', i + 1);
        return std::wstring(
            line.substr(i + 1, close == std::wstring_view::npos ? std::wstring_view::npos : close - i - 1));
    }
    std::size_t end = i;
    while (end < line.size() && !blank(line[end]))
        ++end;
    return std::wstring(line.substr(i, end - i));
}

std::vector<std::wstring> splitArguments(std::wstring_view line) {
    std::vector<std::wstring> args;
    std::size_t i = 0;
    // The program name: quotes only switch quoting on and off.
    {
        std::wstring arg;
        bool quoted = false;
        for (; i < line.size() && (quoted || !blank(line[i])); ++i) {
            if (line[i] == L'"')
                quoted = !quoted;
            else
                arg += line[i];
        }
        args.push_back(std::move(arg));
    }
    while (true) {
        while (i < line.size() && blank(line[i]))
            ++i;
        if (i >= line.size())
            break;
        std::wstring arg;
        bool quoted = false;
        while (i < line.size() && (quoted || !blank(line[i]))) {
            if (line[i] == L'\\') {
                std::size_t n = 0;
                while (i < line.size() && line[i] == L'\\') {
                    ++n;
                    ++i;
                }
                if (i < line.size() && line[i] == L'"') {
                    arg.append(n / 2, L'\\');
                    if (n % 2) {
                        arg += L'"';
                        ++i;
                    }
                } else {
                    arg.append(n, L'\\');
                }
                continue;
            }
            if (line[i] == L'"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
                    arg += L'"'; // "" inside quotes is one quote
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            arg += line[i++];
        }
        args.push_back(std::move(arg));
    }
    return args;
}

std::wstring quoteArgument(std::wstring_view arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring_view::npos)
        return std::wstring(arg);
    std::wstring out = L"\"";
    std::size_t slashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        if (c == L'"')
            out.append(slashes * 2 + 1, L'\\');
        else
            out.append(slashes, L'\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, L'\\');
    out += L'"';
    return out;
}

} // namespace text
