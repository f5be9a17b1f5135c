#include "app/language/Languages.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<LanguageInfo, 26> kLanguages{{
    {L"Arabic", L"العربية"},
    {L"Bulgarian", L"Български"},
    {L"ChineseSimplified", L"中文简体"},
    {L"ChineseTraditional", L"中文繁體"},
    {L"Czech", L"Čeština"},
    {L"Danish", L"Dansk"},
    {L"Dutch", L"Nederlands"},
    {L"English", L"English"},
    {L"Estonian", L"Eesti"},
    {L"Finnish", L"Suomi"},
    {L"French", L"Français"},
    {L"German", L"Deutsch"},
    {L"Greek", L"Ελληνικά"},
    {L"Hungarian", L"Magyar"},
    {L"Italian", L"Italiano"},
    {L"Japanese", L"日本語"},
    {L"Korean", L"한국어"},
    {L"Polish", L"Polski"},
    {L"Portuguese", L"Português"},
    {L"Romanian", L"Română"},
    {L"Russian", L"Русский"},
    {L"Slovenian", L"Slovenščina"},
    {L"Spanish", L"Español"},
    {L"Swedish", L"Svenska"},
    {L"Thai", L"ไทย"},
    {L"Vietnamese", L"Tiếng Việt"},
}};

struct StartupEntry {
    std::uint16_t id;
    bool full; // compare the whole identifier instead of the primary language
    std::wstring_view name;
};

// Tested in this order: the full entry 0x7C04 comes before primary language 4.
constexpr std::array<StartupEntry, 26> kStartupTable{{
    {0x7C04, true, L"ChineseTraditional"},
    {1, false, L"Arabic"},
    {2, false, L"Bulgarian"},
    {4, false, L"ChineseSimplified"},
    {5, false, L"Czech"},
    {6, false, L"Danish"},
    {7, false, L"German"},
    {8, false, L"Greek"},
    {9, false, L"English"},
    {10, false, L"Spanish"},
    {11, false, L"Finnish"},
    {12, false, L"French"},
    {14, false, L"Hungarian"},
    {16, false, L"Italian"},
    {17, false, L"Japanese"},
    {18, false, L"Korean"},
    {19, false, L"Dutch"},
    {21, false, L"Polish"},
    {22, false, L"Portuguese"},
    {24, false, L"Romanian"},
    {25, false, L"Russian"},
    {29, false, L"Swedish"},
    {30, false, L"Thai"},
    {36, false, L"Slovenian"},
    {37, false, L"Estonian"},
    {42, false, L"Vietnamese"},
}};

constexpr std::wstring_view kFallback = L"English";

} // namespace

std::span<const LanguageInfo> languages() {
    return kLanguages;
}

const LanguageInfo* findLanguage(std::wstring_view name) {
    const auto it = std::find_if(kLanguages.begin(), kLanguages.end(),
                                 [name](const LanguageInfo& l) { return l.name == name; });
    return it == kLanguages.end() ? nullptr : &*it;
}

std::wstring languageFolder(std::wstring_view name) {
    std::wstring folder = L"Lang\\";
    folder += name;
    return folder;
}

StartupLanguage startupLanguage(std::uint16_t uiLanguage) {
    const std::uint16_t primary = uiLanguage & 0x3FF;
    std::wstring_view name = kFallback;
    for (const auto& e : kStartupTable) {
        if (e.full ? uiLanguage == e.id : primary == e.id) {
            name = e.name;
            break;
        }
    }
    return {name, languageFolder(name)};
}
