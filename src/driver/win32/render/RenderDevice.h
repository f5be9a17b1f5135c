#pragma once
// One printer device context of the rendering DLL (its PDEV): the model, the job's DEVMODE and the
// engine's 1-bit drawing surface of the page. The engine draws everything; the device only turns
// each finished page into the model's printer language.
#include "driver/core/ModelData.h"
#include "driver/win32/DriverDevMode.h"
#include "driver/win32/render/EngineCalls.h"

#include <cstdint>
#include <vector>

namespace driver::win32 {

struct RenderDevice {
    EngineCalls engine;
    HANDLE printer = nullptr; // the spooler's handle, for EngWritePrinter
    HDEV hdev = nullptr;
    ModelData model;
    DriverDevMode devMode{};
    // The drawing surface's size in dots: the paper, turned for landscape.
    std::uint32_t surfaceWidth = 0;
    std::uint32_t surfaceHeight = 0;
    HPALETTE palette = nullptr;
    HSURF surface = nullptr;
};

// GDIINFO and DEVINFO of a 1-bit raster printer at the model's resolution and the DEVMODE's page.
void describeDevice(const RenderDevice& device, GDIINFO& info, DEVINFO& devinfo) noexcept;

// The page on `surface` in the printer's language, ready for the port.
[[nodiscard]] std::vector<std::uint8_t> pageBytes(const RenderDevice& device, const SURFOBJ& surface);

} // namespace driver::win32
