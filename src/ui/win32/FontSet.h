#pragma once
// The fonts of a window's config.xml at one DPI scale. A face the system lacks is replaced by the
// system's UI font (then a list of common faces), so that text never falls back to a bitmap font.
// A text whose characters the font lacks (Thai or Arabic in a Chinese face) gets the same size and
// weight in a face that has them: Wine links no fallback to a face it substituted, and a control
// drawn with GDI alone shows boxes where Windows' text services would find a font.
#include "ui/core/Window.h"
#include "ui/win32/Handles.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace ui::win32 {

// How many visible characters of `text` `font` has no glyph for (a box each where it is drawn).
[[nodiscard]] int missingGlyphs(HFONT font, std::wstring_view text);
// Whether a font family of that name is installed.
[[nodiscard]] bool faceInstalled(const std::wstring& face);
// The face used for `wanted`: itself when installed, else the first installed fallback.
[[nodiscard]] std::wstring usableFace(const std::wstring& wanted);

class FontSet {
public:
    // Creates the fonts of `fonts` for `scale`, and the system UI font for controls with none.
    void build(const std::vector<FontInfo>& fonts, double scale);
    // The font of index `id` (-1 or unknown: the window's default font, else the UI font).
    HFONT font(int id) const;
    // The font of `id` for showing `text`: font(id) when it has a glyph for every character, else
    // the same font in the first installed fallback face that has them all (else font(id)).
    HFONT fontFor(int id, std::wstring_view text) const;

private:
    // What font(id) was made from; the UI font's when `id` names none.
    FontInfo infoOf(int id) const;

    std::map<int, UniqueGdi> fonts_;
    std::map<int, FontInfo> infos_;
    int defaultId_ = -1;
    double scale_ = 1.0;
    UniqueGdi ui_;
    std::wstring uiFace_;
    // Fallback fonts made so far, by font id and face.
    mutable std::map<std::pair<int, std::wstring>, UniqueGdi> fallbacks_;
};

} // namespace ui::win32
