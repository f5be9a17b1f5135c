// The printer graphics DLL's entry points. The engine draws every page onto a 1-bit bitmap it
// manages (nothing is hooked); at the end of each page the bitmap goes through the model's
// encoder to the spooler. Wine cannot run a job through here (its gdi32 has no engine calls), so
// the encoding lives in the portable core and is tested there.
#include "driver/win32/PrinterModel.h"
#include "driver/win32/ModelPapers.h"
#include "driver/win32/render/RenderDevice.h"

#include "driver/core/Millimetres.h"

#include <cstring>
#include <new>
#include <utility>

using namespace driver::win32;

namespace {

RenderDevice* deviceOf(DHPDEV dhpdev) noexcept {
    return reinterpret_cast<RenderDevice*>(dhpdev);
}
RenderDevice* deviceOf(const SURFOBJ* surface) noexcept {
    return surface ? deviceOf(surface->dhpdev) : nullptr;
}

// The engine's table holds every entry point as the same pointer type.
template <typename Fn> PFN asPfn(Fn* function) noexcept {
    PFN out;
    static_assert(sizeof out == sizeof function);
    std::memcpy(&out, &function, sizeof out);
    return out;
}

} // namespace

extern "C" {

DHPDEV APIENTRY DrvEnablePDEV(DEVMODEW* devMode, LPWSTR, ULONG, HSURF*, ULONG capsSize, ULONG* caps,
                              ULONG devinfoSize, DEVINFO* devinfo, HDEV, LPWSTR, HANDLE printer) {
    if (capsSize < sizeof(GDIINFO) || devinfoSize < sizeof(DEVINFO) || !caps || !devinfo) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto model = modelOfPrinter(printer);
    if (!model)
        return nullptr;
    auto* device = new (std::nothrow) RenderDevice;
    if (!device) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (!device->engine.resolve()) {
        delete device;
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    device->printer = printer;
    device->model = std::move(*model);
    device->devMode = readDevMode(device->model, devMode).devMode;
    const DEVMODEW& dm = device->devMode.pub;
    const std::uint32_t width =
        driver::hundredthsToDots(std::uint32_t(dm.dmPaperWidth) * 10, device->model.dpi);
    const std::uint32_t length =
        driver::hundredthsToDots(std::uint32_t(dm.dmPaperLength) * 10, device->model.dpi);
    const bool landscape = dm.dmOrientation == DMORIENT_LANDSCAPE;
    device->surfaceWidth = landscape ? length : width;
    device->surfaceHeight = landscape ? width : length;
    // Index 0 is white and 1 is black, so a set bit is a printed dot as in PageSurface.
    ULONG colours[2] = {0x00FFFFFF, 0x00000000};
    device->palette = device->engine.createPalette(kPaletteIndexed, 2, colours, 0, 0, 0);
    if (!device->palette) {
        delete device;
        return nullptr;
    }
    describeDevice(*device, *reinterpret_cast<GDIINFO*>(caps), *devinfo);
    return reinterpret_cast<DHPDEV>(device);
}

VOID APIENTRY DrvCompletePDEV(DHPDEV dhpdev, HDEV hdev) {
    deviceOf(dhpdev)->hdev = hdev;
}

VOID APIENTRY DrvDisablePDEV(DHPDEV dhpdev) {
    RenderDevice* device = deviceOf(dhpdev);
    if (!device)
        return;
    if (device->palette)
        device->engine.deletePalette(device->palette);
    delete device;
}

HSURF APIENTRY DrvEnableSurface(DHPDEV dhpdev) {
    RenderDevice* device = deviceOf(dhpdev);
    const SIZEL size{static_cast<LONG>(device->surfaceWidth), static_cast<LONG>(device->surfaceHeight)};
    // Rows padded to 32 bits, the top row first; the engine allocates and zeroes the bits.
    const LONG stride = static_cast<LONG>((device->surfaceWidth + 31) / 32 * 4);
    HBITMAP bitmap = device->engine.createBitmap(size, stride, kBitmap1bpp, kBitmapTopDown, nullptr);
    if (!bitmap)
        return nullptr;
    const auto surface = reinterpret_cast<HSURF>(bitmap);
    if (!device->engine.associateSurface(surface, device->hdev, 0)) {
        device->engine.deleteSurface(surface);
        return nullptr;
    }
    device->surface = surface;
    return surface;
}

VOID APIENTRY DrvDisableSurface(DHPDEV dhpdev) {
    RenderDevice* device = deviceOf(dhpdev);
    if (device && device->surface) {
        device->engine.deleteSurface(device->surface);
        device->surface = nullptr;
    }
}

BOOL APIENTRY DrvStartDoc(SURFOBJ* surface, LPWSTR, DWORD) {
    return deviceOf(surface) != nullptr;
}

BOOL APIENTRY DrvStartPage(SURFOBJ* surface) {
    if (!deviceOf(surface) || !surface->pvBits)
        return FALSE;
    // Each page starts white (index 0).
    std::memset(surface->pvBits, 0, surface->cjBits);
    return TRUE;
}

BOOL APIENTRY DrvSendPage(SURFOBJ* surface) {
    RenderDevice* device = deviceOf(surface);
    if (!device)
        return FALSE;
    std::vector<std::uint8_t> bytes = pageBytes(*device, *surface);
    DWORD written = 0;
    return device->engine.writePrinter(device->printer, bytes.data(), static_cast<DWORD>(bytes.size()),
                                       &written) &&
           written == bytes.size();
}

BOOL APIENTRY DrvEndDoc(SURFOBJ* surface, FLONG) {
    return deviceOf(surface) != nullptr;
}

BOOL APIENTRY DrvQueryDriverInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) {
    if (mode != kQueryUserMode || !needed) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *needed = sizeof(DWORD);
    if (!buffer || size < sizeof(DWORD)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    // A user-mode driver: without this the spooler takes the DLL for a kernel-mode one.
    *static_cast<DWORD*>(buffer) = TRUE;
    return TRUE;
}

BOOL APIENTRY DrvEnableDriver(ULONG engineVersion, ULONG size, DRVENABLEDATA* data) {
    static const DRVFN table[] = {
        {kIndexEnablePDEV, asPfn(&DrvEnablePDEV)},
        {kIndexCompletePDEV, asPfn(&DrvCompletePDEV)},
        {kIndexDisablePDEV, asPfn(&DrvDisablePDEV)},
        {kIndexEnableSurface, asPfn(&DrvEnableSurface)},
        {kIndexDisableSurface, asPfn(&DrvDisableSurface)},
        {kIndexStartDoc, asPfn(&DrvStartDoc)},
        {kIndexStartPage, asPfn(&DrvStartPage)},
        {kIndexSendPage, asPfn(&DrvSendPage)},
        {kIndexEndDoc, asPfn(&DrvEndDoc)},
    };
    if (engineVersion < kDdiVersionNT5 || size < sizeof(DRVENABLEDATA) || !data) {
        SetLastError(ERROR_BAD_DRIVER_LEVEL);
        return FALSE;
    }
    data->iDriverVersion = kDdiVersionNT5;
    data->c = sizeof table / sizeof table[0];
    data->pdrvfn = const_cast<DRVFN*>(table);
    return TRUE;
}

VOID APIENTRY DrvDisableDriver() {}

} // extern "C"
