#pragma once
// The 26 languages of the wizard: their names (which are also their folder names below "Lang\" in
// the skin), their own names for the language dialog, and the choice made at start-up from the
// user's interface language.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

struct LanguageInfo {
    std::wstring_view name;    // "German": the folder name and the dialog option's user data
    std::wstring_view ownName; // "Deutsch": the dialog option's caption
};

// The language whose message table maps every identifier to itself.
inline constexpr std::wstring_view kSourceLanguage = L"ChineseSimplified";
// The language dialog names its options by this prefix and the language name.
inline constexpr std::wstring_view kLanguageOptionPrefix = L"menu_lang_";

// All 26, in the order of the language dialog.
std::span<const LanguageInfo> languages();
// The entry of `name` (exact spelling), or null.
const LanguageInfo* findLanguage(std::wstring_view name);
// "Lang\" followed by the name.
std::wstring languageFolder(std::wstring_view name);

struct StartupLanguage {
    std::wstring_view name;
    std::wstring folder;
};

// The language picked for a user interface language identifier (a LANGID): matched on its primary
// language (the low 10 bits), except Chinese Traditional, which only the full identifier 0x7C04
// selects; every other identifier gets English.
StartupLanguage startupLanguage(std::uint16_t uiLanguage);
