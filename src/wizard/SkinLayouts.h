#pragma once
// The toolkit's view of the skin: layout files read from the skin archive, and the layout
// translations of the current language.
#include "app/language/Language.h"
#include "app/skin/SkinFiles.h"
#include "ui/core/LayoutLoader.h"
#include "ui/core/Translation.h"

namespace wizard {

// Layout files by name from the skin (which must outlive this object).
class SkinLayoutReader final : public ui::LayoutReader {
public:
    explicit SkinLayoutReader(const SkinFiles& skin) : skin_(skin) {}
    std::optional<std::string> read(std::wstring_view file) const override;

private:
    const SkinFiles& skin_;
};

// The layout translation tables of a CLanguage (which must outlive this object).
class LanguageTranslations final : public ui::TranslationSource {
public:
    explicit LanguageTranslations(CLanguage& language) : language_(language) {}
    std::optional<ui::TranslatedText> layoutText(std::wstring_view layoutFile, int resourceId) override;

    // After the language changed: reads the tables of every layout file of the tree again and gives
    // each control with a resourceid its text in the new language.
    void reapply(ui::Control& root);

private:
    CLanguage& language_;
};

} // namespace wizard
