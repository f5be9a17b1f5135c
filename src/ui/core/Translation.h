#pragma once
// Layout translations: a control with a resourceid takes its text and tooltip from the translation
// table of the layout file it was loaded from. The caller hands the tables in (the application reads
// them from the language's .lng files); the toolkit only applies them.
#include "ui/core/Control.h"

#include <optional>
#include <string>
#include <string_view>

namespace ui {

struct TranslatedText {
    std::optional<std::wstring> text;
    std::optional<std::wstring> tooltip;
};

class TranslationSource {
public:
    // The entry `resourceId` of the table of `layoutFile` ("form_main.xml"), or none.
    virtual std::optional<TranslatedText> layoutText(std::wstring_view layoutFile, int resourceId) = 0;

protected:
    ~TranslationSource() = default;
};

// Gives every control of the subtree that has a resourceid the translated text and tooltip, or, where
// `source` is null or has no entry, the texts its layout wrote. Returns how many controls took a
// translated text or tooltip.
std::size_t applyTranslations(Control& root, TranslationSource* source);

} // namespace ui
