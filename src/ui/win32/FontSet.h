#pragma once
// The fonts of a window's config.xml at one DPI scale. A face the system lacks is replaced by the
// system's UI font (then a list of common faces), so that text never falls back to a bitmap font.
#include "ui/core/Window.h"
#include "ui/win32/Handles.h"

#include <map>
#include <string>

namespace ui::win32 {

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

private:
    std::map<int, UniqueGdi> fonts_;
    int defaultId_ = -1;
    UniqueGdi ui_;
};

} // namespace ui::win32
