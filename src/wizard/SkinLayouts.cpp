#include "wizard/SkinLayouts.h"

#include "base/Compare.h"

#include <vector>

namespace wizard {
namespace {
void collectFiles(const ui::Control& c, std::vector<std::wstring>& files) {
    if (c.resourceId() && !c.layoutFile().empty()) {
        bool known = false;
        for (auto& f : files)
            known = known || text::equalsNoCase(f, c.layoutFile());
        if (!known)
            files.push_back(c.layoutFile());
    }
    for (auto& child : c.children())
        collectFiles(*child, files);
}
} // namespace

std::optional<std::string> SkinLayoutReader::read(std::wstring_view file) const {
    std::string bytes;
    if (skin_.read(file, bytes) != ports::winerr::Success)
        return std::nullopt;
    return bytes;
}

std::optional<ui::TranslatedText> LanguageTranslations::layoutText(std::wstring_view layoutFile,
                                                                   int resourceId) {
    auto t = language_.layoutText(layoutFile, resourceId);
    if (!t)
        return std::nullopt;
    return ui::TranslatedText{t->text, t->tooltip};
}

void LanguageTranslations::reapply(ui::Control& root) {
    std::vector<std::wstring> files;
    collectFiles(root, files);
    for (auto& f : files)
        (void)language_.reloadLayout(f); // a missing table leaves the layout's texts
    ui::applyTranslations(root, this);
}

} // namespace wizard
