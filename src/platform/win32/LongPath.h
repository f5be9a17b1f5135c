#pragma once
// Paths handed to the file functions: an absolute path gets the "\\?\" prefix so that paths longer
// than MAX_PATH (260) work too.
#include <string>
#include <string_view>

namespace win32 {

std::wstring extendedPath(std::wstring_view path);

} // namespace win32
