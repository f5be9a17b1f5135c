#pragma once
// Ordinal, case-insensitive text handling as CompareStringOrdinal(..., TRUE) does it: code unit by
// code unit after simple upper-case mapping, independent of the user's locale. The mapping covers
// Latin (Basic, Latin-1, Extended-A), Greek, Cyrillic and the full-width Latin letters; other
// characters compare as they are.
#include <string>
#include <string_view>

namespace text {

wchar_t upperOrdinal(wchar_t c) noexcept;
wchar_t lowerOrdinal(wchar_t c) noexcept;

// <0, 0 or >0, like CompareStringOrdinal minus 2.
int compareNoCase(std::wstring_view a, std::wstring_view b) noexcept;
bool equalsNoCase(std::wstring_view a, std::wstring_view b) noexcept;
bool startsWithNoCase(std::wstring_view text, std::wstring_view prefix) noexcept;
bool containsNoCase(std::wstring_view text, std::wstring_view part) noexcept;

std::wstring toLower(std::wstring_view s);
std::wstring toUpper(std::wstring_view s);

} // namespace text
