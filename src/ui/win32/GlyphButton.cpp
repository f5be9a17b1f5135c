#include "ui/win32/GlyphButton.h"

#include "ui/core/Controls.h"
#include "ui/win32/Handles.h"

#include <algorithm>
#include <string>

namespace ui::win32 {
namespace {

// "images/close.png" -> "close".
std::wstring glyphName(const Control& control) {
    auto it = control.look().find("image");
    if (it == control.look().end())
        return {};
    std::wstring name = it->second;
    if (auto slash = name.find_last_of(L"/\\"); slash != std::wstring::npos)
        name.erase(0, slash + 1);
    if (auto dot = name.find(L'.'); dot != std::wstring::npos)
        name.erase(dot);
    return name;
}

// A colour `amount` (0..255) of the way to white: the pressed and focused look.
COLORREF lighter(COLORREF c, int amount) {
    auto mix = [amount](int v) { return v + (255 - v) * amount / 255; };
    return RGB(mix(GetRValue(c)), mix(GetGValue(c)), mix(GetBValue(c)));
}

void line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

// The glyph in a square of side `s` centred at (cx, cy).
void drawGlyph(HDC dc, const std::wstring& name, int cx, int cy, int s) {
    const int h = s / 2;
    if (name == L"close") {
        line(dc, cx - h, cy - h, cx + h + 1, cy + h + 1);
        line(dc, cx + h, cy - h, cx - h - 1, cy + h + 1);
    } else if (name == L"min") {
        line(dc, cx - h, cy + h / 2, cx + h + 1, cy + h / 2);
    } else if (name == L"about") {
        Ellipse(dc, cx - h, cy - h, cx + h + 1, cy + h + 1);
        line(dc, cx, cy - 1, cx, cy + h / 2 + 1);
        line(dc, cx, cy - h / 2 - 1, cx, cy - h / 2);
    } else if (name == L"language") {
        Ellipse(dc, cx - h, cy - h, cx + h + 1, cy + h + 1);
        Ellipse(dc, cx - h / 2, cy - h, cx + h / 2 + 1, cy + h + 1);
        line(dc, cx - h, cy, cx + h + 1, cy);
        line(dc, cx, cy - h, cx, cy + h + 1);
    } else if (name == L"devices") {
        // A printer: the paper above, the body, the paper out below.
        Rectangle(dc, cx - h / 2, cy - h, cx + h / 2 + 1, cy - h / 3);
        Rectangle(dc, cx - h, cy - h / 3, cx + h + 1, cy + h / 3 + 1);
        Rectangle(dc, cx - h / 2, cy + h / 3, cx + h / 2 + 1, cy + h + 1);
    } else {
        Rectangle(dc, cx - h, cy - h, cx + h + 1, cy + h + 1);
    }
}

} // namespace

bool isGlyphButton(const Control& control) {
    return dynamic_cast<const Button*>(&control) && control.text().empty() && !glyphName(control).empty();
}

void drawGlyphButton(const DRAWITEMSTRUCT& item, const Control& control, COLORREF background, double scale) {
    HDC dc = item.hDC;
    const RECT r = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    UniqueGdi fill(CreateSolidBrush(pressed ? lighter(background, 70) : background));
    FillRect(dc, &r, static_cast<HBRUSH>(fill.get()));
    const COLORREF ink = disabled ? lighter(background, 110) : RGB(255, 255, 255);
    UniqueGdi pen(CreatePen(PS_SOLID, std::max(1, static_cast<int>(scale + 0.5)), ink));
    HGDIOBJ oldPen = SelectObject(dc, pen.get());
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const int side = std::max(6, static_cast<int>(std::min(r.right - r.left, r.bottom - r.top) * 0.4));
    drawGlyph(dc, glyphName(control), (r.left + r.right) / 2, (r.top + r.bottom) / 2, side);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(dc, &focus);
    }
}

} // namespace ui::win32
