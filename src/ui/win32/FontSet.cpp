#include "ui/win32/FontSet.h"

#include "ui/win32/Dpi.h"

#include <cwchar>
#include <vector>

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

constexpr int kUiPixels = 12;

bool plainAscii(std::wstring_view text) {
    for (wchar_t c : text)
        if (c > 0x7E)
            return false;
    return true;
}

} // namespace

int missingGlyphs(HFONT font, std::wstring_view text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    std::vector<WORD> glyphs(text.size());
    const DWORD got = GetGlyphIndicesW(dc, text.data(), static_cast<int>(text.size()), glyphs.data(),
                                       GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    DeleteDC(dc);
    if (got == GDI_ERROR)
        return 0; // nothing better can be known
    int missing = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        const bool invisible = c < 0x20 || c == L' ' || (c >= 0x200B && c <= 0x200F) || c == 0xFEFF;
        if (glyphs[i] == 0xFFFF && !invisible)
            ++missing;
    }
    return missing;
}

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
    infos_.clear();
    fallbacks_.clear();
    defaultId_ = -1;
    scale_ = scale;
    for (const FontInfo& f : fonts) {
        fonts_[f.id] = makeFont(usableFace(f.face), scaled(f.size, scale), f.bold, f.italic, f.underline);
        infos_[f.id] = f;
        if (f.isDefault)
            defaultId_ = f.id;
    }
    uiFace_ = usableFace(systemUiFace());
    ui_ = makeFont(uiFace_, scaled(kUiPixels, scale), false, false, false);
}

FontInfo FontSet::infoOf(int id) const {
    auto it = infos_.find(id);
    if (it == infos_.end())
        it = infos_.find(defaultId_);
    if (it != infos_.end())
        return it->second;
    return {.id = -1, .face = uiFace_, .size = kUiPixels};
}

HFONT FontSet::fontFor(int id, std::wstring_view text) const {
    HFONT primary = font(id);
    if (plainAscii(text) || missingGlyphs(primary, text) == 0)
        return primary;
    const FontInfo info = infoOf(id);
    // Faces that Windows ships for these scripts first, then those a Linux system under Wine has.
    for (const wchar_t* face : {L"Segoe UI", L"Tahoma", L"Leelawadee UI", L"Microsoft Sans Serif", L"Arial",
                                L"Microsoft YaHei", L"Noto Sans", L"Noto Sans Thai", L"Noto Sans Arabic",
                                L"Loma", L"Garuda", L"Waree", L"DejaVu Sans", L"Noto Sans CJK SC"}) {
        auto key = std::make_pair(info.id, std::wstring(face));
        auto it = fallbacks_.find(key);
        if (it == fallbacks_.end()) {
            if (!faceInstalled(key.second))
                continue;
            it = fallbacks_
                     .emplace(key, makeFont(key.second, scaled(info.size, scale_), info.bold, info.italic,
                                            info.underline))
                     .first;
        }
        HFONT candidate = static_cast<HFONT>(it->second.get());
        if (candidate && missingGlyphs(candidate, text) == 0)
            return candidate;
    }
    return primary;
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
