#pragma once
// The part of the printer graphics DLL's contract with the graphics engine that this driver uses.
// mingw-w64's winddi.h cannot be included (it needs the DirectDraw driver headers ddrawint.h and
// d3dnthal.h, which mingw-w64 does not ship), so the records and constants are declared here, in
// the layout of Microsoft's winddi.h; the static_asserts check the sizes the engine relies on.
#include <windows.h>

#include <cstddef>

namespace driver::win32 {

DECLARE_HANDLE(HDEV);
DECLARE_HANDLE(HSURF);
DECLARE_HANDLE(DHSURF);
DECLARE_HANDLE(DHPDEV);
using PFN = LONG_PTR(APIENTRY*)();

struct DRVFN {
    ULONG iFunc;
    PFN pfn;
};

struct DRVENABLEDATA {
    ULONG iDriverVersion;
    ULONG c;
    DRVFN* pdrvfn;
};

struct CIECHROMA {
    LONG x;
    LONG y;
    LONG Y;
};

struct COLORINFO {
    CIECHROMA Red, Green, Blue, Cyan, Magenta, Yellow, AlignmentWhite;
    LONG RedGamma, GreenGamma, BlueGamma;
    LONG MagentaInCyanDye, YellowInCyanDye, CyanInMagentaDye, YellowInMagentaDye, CyanInYellowDye,
        MagentaInYellowDye;
};

struct GDIINFO {
    ULONG ulVersion, ulTechnology, ulHorzSize, ulVertSize, ulHorzRes, ulVertRes, cBitsPixel, cPlanes,
        ulNumColors, flRaster, ulLogPixelsX, ulLogPixelsY, flTextCaps, ulDACRed, ulDACGreen, ulDACBlue,
        ulAspectX, ulAspectY, ulAspectXY;
    LONG xStyleStep, yStyleStep, denStyleStep;
    POINTL ptlPhysOffset;
    SIZEL szlPhysSize;
    ULONG ulNumPalReg;
    COLORINFO ciDevice;
    ULONG ulDevicePelsDPI, ulPrimaryOrder, ulHTPatternSize, ulHTOutputFormat, flHTFlags, ulVRefresh,
        ulBltAlignment, ulPanningHorzRes, ulPanningVertRes, xPanningAlignment, yPanningAlignment, cxHTPat,
        cyHTPat;
    LPBYTE pHTPatA, pHTPatB, pHTPatC;
    ULONG flShadeBlend, ulPhysicalPixelCharacteristics, ulPhysicalPixelGamma;
};

struct DEVINFO {
    FLONG flGraphicsCaps;
    LOGFONTW lfDefaultFont, lfAnsiVarFont, lfAnsiFixFont;
    ULONG cFonts;
    ULONG iDitherFormat;
    USHORT cxDither, cyDither;
    HPALETTE hpalDefault;
    FLONG flGraphicsCaps2;
};

struct SURFOBJ {
    DHSURF dhsurf;
    HSURF hsurf;
    DHPDEV dhpdev;
    HDEV hdev;
    SIZEL sizlBitmap;
    ULONG cjBits;
    PVOID pvBits;
    PVOID pvScan0;
    LONG lDelta;
    ULONG iUniq;
    ULONG iBitmapFormat;
    USHORT iType;
    USHORT fjBitmap;
};

inline constexpr ULONG kDdiVersionNT4 = 0x00020000;    // DDI_DRIVER_VERSION_NT4
inline constexpr ULONG kDdiVersionNT5 = 0x00030000;    // DDI_DRIVER_VERSION_NT5 (Windows 2000)
inline constexpr ULONG kDdiVersionNT5_01 = 0x00030100; // DDI_DRIVER_VERSION_NT5_01 (Windows XP)
inline constexpr ULONG kGdiDriverVersion = 0x4000;     // GDI_DRIVER_VERSION
inline constexpr DWORD kQueryUserMode = 1;             // DRVQUERY_USERMODE

enum DrvIndex : ULONG {
    kIndexEnablePDEV = 0,
    kIndexCompletePDEV = 1,
    kIndexDisablePDEV = 2,
    kIndexEnableSurface = 3,
    kIndexDisableSurface = 4,
    kIndexSendPage = 32,
    kIndexStartPage = 33,
    kIndexEndDoc = 34,
    kIndexStartDoc = 35,
};

inline constexpr FLONG kCapsHalftone = 0x00000010;   // GCAPS_HALFTONE
inline constexpr FLONG kCapsMonoDither = 0x00000400; // GCAPS_MONO_DITHER
inline constexpr ULONG kBitmap1bpp = 1;              // BMF_1BPP
inline constexpr FLONG kBitmapTopDown = 0x0001;      // BMF_TOPDOWN
inline constexpr ULONG kPaletteIndexed = 1;          // PAL_INDEXED
inline constexpr ULONG kPrimaryOrderCBA = 4;         // PRIMARY_ORDER_CBA
inline constexpr ULONG kHalftonePatternDefault = 17; // HT_PATSIZE_SUPERCELL_M
inline constexpr ULONG kHalftone1bpp = 0;            // HT_FORMAT_1BPP
inline constexpr FLONG kHalftoneBlackDye = 0x0002;   // HT_FLAG_HAS_BLACK_DYE

// The engine's calls, as gdi32.dll exports them for user-mode drivers.
using EngCreateBitmapFn = HBITMAP(APIENTRY*)(SIZEL size, LONG width, ULONG format, FLONG flags, PVOID bits);
using EngAssociateSurfaceFn = BOOL(APIENTRY*)(HSURF surface, HDEV hdev, FLONG hooks);
using EngDeleteSurfaceFn = BOOL(APIENTRY*)(HSURF surface);
using EngCreatePaletteFn = HPALETTE(APIENTRY*)(ULONG mode, ULONG count, ULONG* colours, FLONG red,
                                               FLONG green, FLONG blue);
using EngDeletePaletteFn = BOOL(APIENTRY*)(HPALETTE palette);
using EngWritePrinterFn = BOOL(APIENTRY*)(HANDLE printer, LPVOID bytes, DWORD size, LPDWORD written);

// Offsets and sizes as mingw-w64's winddi.h lays the records out (measured with both compilers).
constexpr bool kWide = sizeof(void*) == 8;
static_assert(sizeof(COLORINFO) == 120);
static_assert(offsetof(GDIINFO, ciDevice) == 108 && offsetof(GDIINFO, pHTPatA) == 280);
static_assert(sizeof(GDIINFO) == (kWide ? 320 : 304));
static_assert(offsetof(DEVINFO, hpalDefault) == (kWide ? 296 : 292) &&
              sizeof(DEVINFO) == (kWide ? 312 : 300));
static_assert(offsetof(SURFOBJ, lDelta) == (kWide ? 64 : 36) && sizeof(SURFOBJ) == (kWide ? 80 : 52));

} // namespace driver::win32
