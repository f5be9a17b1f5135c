#pragma once
// The translation of a message id through the current language, for every part of the program and
// from any thread. Messages are written in Chinese in the code; the current language's table gives
// the text the user sees.
#include <string>
#include <string_view>

// The application's current language's text for `id`; `id` itself when the table has no entry, and
// when there is no application object (tests of a single part).
std::wstring translate(std::wstring_view id);
