#pragma once
// Builds a window from its layout document: the shared fonts and styles of the included
// "config.xml", child layouts each from their own file, the translations of each file. A layout that
// is missing, not well-formed, or names an unknown control or attribute gives an error naming the
// file and line, and no window: never half of one.
#include "ui/core/ControlFactory.h"
#include "ui/core/Translation.h"
#include "ui/core/Window.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

// The files of the skin by name ("MainFrame.xml", "form_main.xml").
class LayoutReader {
public:
    // The whole file, or none when there is no such file.
    virtual std::optional<std::string> read(std::wstring_view file) const = 0;

protected:
    ~LayoutReader() = default;
};

struct LoadError {
    std::wstring file;
    int line = 0; // 0: the file as a whole
    std::wstring message;
    // "form_main.xml:12: unknown control 'Buton'"
    std::wstring describe() const;
};

struct LoadedWindow {
    std::unique_ptr<Window> window; // null when error is set
    std::optional<LoadError> error;
};

class LayoutLoader {
public:
    // `translations` may be null (the layouts' own texts); all three must outlive the loader.
    LayoutLoader(const LayoutReader& reader, const ControlFactory& factory, TranslationSource* translations);

    // Loads a window or dialog layout whose root element is Window.
    LoadedWindow loadWindow(std::wstring_view file) const;

private:
    const LayoutReader& reader_;
    const ControlFactory& factory_;
    TranslationSource* translations_;
};

} // namespace ui
