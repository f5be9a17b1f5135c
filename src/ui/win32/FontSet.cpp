#include "ui/win32/FontSet.h"

#include "ui/win32/Dpi.h"

#include <cwchar>

namespace ui::win32 {
namespace {

int CALLBACK foundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

std::wstring systemUiFace() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return metrics.lfMessageFont.lfFaceName;
    return {};
}

UniqueGdi makeFont(const std::wstring& face, int pixels, bool bold, bool italic, bool underline) {
    LOGFONTW lf{};
    lf.lfHeight = -pixels; // the character height, as layouts give it
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return UniqueGdi(CreateFontIndirectW(&lf));
}

} // namespace

bool faceInstalled(const std::wstring& face) {
    if (face.empty() || face.size() >= LF_FACESIZE)
        return false;
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &lf, foundFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

std::wstring usableFace(const std::wstring& wanted) {
    if (faceInstalled(wanted))
        return wanted;
    // The layouts' own texts are Chinese: a face with those glyphs comes first, so that they never
    // show as boxes where the system has no Chinese UI font (Wine without a font mapping).
    for (const std::wstring& face :
         {std::wstring(L"Microsoft YaHei"), std::wstring(L"SimSun"), std::wstring(L"Noto Sans CJK SC"),
          systemUiFace(), std::wstring(L"Segoe UI"), std::wstring(L"Tahoma"),
          std::wstring(L"Microsoft Sans Serif"), std::wstring(L"DejaVu Sans"),
          std::wstring(L"Liberation Sans")})
        if (faceInstalled(face))
            return face;
    return L"MS Shell Dlg 2";
}

void FontSet::build(const std::vector<FontInfo>& fonts, double scale) {
    fonts_.clear();
    defaultId_ = -1;
    for (const FontInfo& f : fonts) {
        fonts_[f.id] = makeFont(usableFace(f.face), scaled(f.size, scale), f.bold, f.italic, f.underline);
        if (f.isDefault)
            defaultId_ = f.id;
    }
    const int uiPixels = 12;
    ui_ = makeFont(usableFace(systemUiFace()), scaled(uiPixels, scale), false, false, false);
}

HFONT FontSet::font(int id) const {
    auto it = fonts_.find(id);
    if (it == fonts_.end())
        it = fonts_.find(defaultId_);
    if (it != fonts_.end() && it->second)
        return static_cast<HFONT>(it->second.get());
    return static_cast<HFONT>(ui_.get());
}

} // namespace ui::win32
