#include "ui/core/Translation.h"

namespace ui {

std::size_t applyTranslations(Control& root, TranslationSource* source) {
    std::size_t translated = 0;
    if (auto id = root.resourceId()) {
        std::optional<TranslatedText> t;
        if (source)
            t = source->layoutText(root.layoutFile(), *id);
        root.setText(t && t->text ? *t->text : root.layoutText());
        root.setTooltip(t && t->tooltip ? *t->tooltip : root.layoutTooltip());
        if (t && (t->text || t->tooltip))
            ++translated;
    }
    for (auto& child : root.children())
        translated += applyTranslations(*child, source);
    return translated;
}

} // namespace ui
