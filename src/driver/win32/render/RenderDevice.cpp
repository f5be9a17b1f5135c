#include "driver/win32/render/RenderDevice.h"

#include "driver/core/BitmapPage.h"
#include "driver/core/PageEncoder.h"
#include "driver/win32/ModelPapers.h"

namespace driver::win32 {
namespace {

// Micrometres as GDIINFO takes a size more precise than millimetres: negative.
ULONG negativeMicrometres(std::uint32_t dots, std::uint32_t dpi) noexcept {
    const auto um = static_cast<LONG>((std::uint64_t{dots} * 25400 + dpi / 2) / dpi);
    return static_cast<ULONG>(-um);
}

} // namespace

void describeDevice(const RenderDevice& device, GDIINFO& info, DEVINFO& devinfo) noexcept {
    const ULONG dpi = device.model.dpi;
    info = GDIINFO{};
    info.ulVersion = kGdiDriverVersion;
    info.ulTechnology = DT_RASPRINTER;
    info.ulHorzSize = negativeMicrometres(device.surfaceWidth, dpi);
    info.ulVertSize = negativeMicrometres(device.surfaceHeight, dpi);
    info.ulHorzRes = device.surfaceWidth;
    info.ulVertRes = device.surfaceHeight;
    info.cBitsPixel = 1;
    info.cPlanes = 1;
    info.ulNumColors = 2;
    info.ulLogPixelsX = info.ulLogPixelsY = dpi;
    // Square dots.
    info.ulAspectX = info.ulAspectY = 1000;
    info.ulAspectXY = 1414;
    info.xStyleStep = info.yStyleStep = 1;
    info.denStyleStep = static_cast<LONG>(dpi / 50 ? dpi / 50 : 1);
    info.szlPhysSize = SIZEL{static_cast<LONG>(device.surfaceWidth), static_cast<LONG>(device.surfaceHeight)};
    info.ulDevicePelsDPI = dpi;
    info.ulPrimaryOrder = kPrimaryOrderCBA;
    info.ulHTPatternSize = kHalftonePatternDefault;
    info.ulHTOutputFormat = kHalftone1bpp;
    info.flHTFlags = kHalftoneBlackDye;
    // The chromaticities of sRGB, so that the engine's halftoning maps colours sensibly onto black.
    info.ciDevice.Red = CIECHROMA{6400, 3300, 0};
    info.ciDevice.Green = CIECHROMA{3000, 6000, 0};
    info.ciDevice.Blue = CIECHROMA{1500, 600, 0};
    info.ciDevice.AlignmentWhite = CIECHROMA{3127, 3290, 10000};
    info.ciDevice.RedGamma = info.ciDevice.GreenGamma = info.ciDevice.BlueGamma = 20000;

    devinfo = DEVINFO{};
    devinfo.flGraphicsCaps = kCapsHalftone | kCapsMonoDither;
    devinfo.iDitherFormat = kBitmap1bpp;
    devinfo.hpalDefault = device.palette;
}

std::vector<std::uint8_t> pageBytes(const RenderDevice& device, const SURFOBJ& surface) {
    BitmapView view;
    view.top = static_cast<const std::uint8_t*>(surface.pvScan0);
    view.delta = surface.lDelta;
    view.width = static_cast<std::uint32_t>(surface.sizlBitmap.cx);
    view.height = static_cast<std::uint32_t>(surface.sizlBitmap.cy);
    view.landscape = device.devMode.pub.dmOrientation == DMORIENT_LANDSCAPE;
    const PageSurface page = pageFromBitmap(view);

    const auto index = paperIndex(device.model, device.devMode.pub.dmPaperSize);
    const Paper* paper = index ? &device.model.papers[*index] : nullptr;
    JobChoices choices;
    choices.copies = static_cast<std::uint32_t>(device.devMode.pub.dmCopies);
    choices.darkness = device.devMode.priv.darkness;
    choices.speed = device.devMode.priv.speed;
    JobSettings job = jobFor(device.model, paper, page.height(), choices);
    // The engine's page is the label: a custom size has no paper of the model to take it from.
    job.labelWidthDots = page.width();
    job.labelLengthDots = page.height();
    return encodePage(device.model.language, page, job);
}

} // namespace driver::win32
