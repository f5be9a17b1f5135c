#pragma once
// What the main window's title bar and pages reach beyond the window: the dialogs' layouts, the
// language, the catalogue and manufacturer documents, and the native minimise. Whatever is missing
// leaves its button without effect and its list empty.
#include "app/language/Language.h"
#include "catalogue/XmlDocument.h"
#include "ui/core/Window.h"
#include "wizard/SkinLayouts.h"

#include <functional>
#include <memory>
#include <string_view>

namespace wizard {

struct FrameServices {
    // Builds a dialog from its layout file, in the current language; null when that fails.
    std::function<std::unique_ptr<ui::Window>(std::wstring_view file)> loadDialog;
    CLanguage* language = nullptr;
    LanguageTranslations* translations = nullptr;
    const catalogue::XmlDocument* catalogue = nullptr;
    const catalogue::XmlDocument* manufacturers = nullptr;
    std::function<void()> minimize;
    // The printer device list; none: a message says it is not available in this version.
    std::function<void()> showDeviceInfo;
};

} // namespace wizard
