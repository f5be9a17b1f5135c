#include "platform/win32/LongPath.h"

namespace win32 {

std::wstring extendedPath(std::wstring_view path) {
    if (path.starts_with(L"\\\\?\\"))
        return std::wstring(path);
    std::wstring p(path);
    for (auto& c : p) {
        if (c == L'/')
            c = L'\\'; // "\\?\" paths are passed on unparsed: only backslashes separate
    }
    if (p.size() >= 3 && p[1] == L':' && p[2] == L'\\')
        return L"\\\\?\\" + p;
    if (p.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + p.substr(2);
    return p;
}

} // namespace win32
