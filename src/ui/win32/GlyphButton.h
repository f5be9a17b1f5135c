#pragma once
// Buttons that show a picture and no text (the title bars' close, minimise, about, language and
// devices buttons): the skin ships no images, so the backend draws each one's glyph itself, in
// white lines on the title bar's colour, chosen by the image's file name ("images/close.png").
#include "ui/core/Control.h"

#include <windows.h>

namespace ui::win32 {

// Whether `control` is drawn here: a button with an image and no text.
[[nodiscard]] bool isGlyphButton(const Control& control);

// Paints the owner-drawn button of `item` on `background` (COLORREF) at `scale`.
void drawGlyphButton(const DRAWITEMSTRUCT& item, const Control& control, COLORREF background, double scale);

} // namespace ui::win32
