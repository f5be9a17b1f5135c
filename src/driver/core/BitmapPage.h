#pragma once
// The glue between the rendering DLL's drawing surface and the encoders: the engine's 1-bit
// bitmap becomes a PageSurface, and the DEVMODE's choices become the job's settings. Kept apart
// from the DLL so that it is tested on plain buffers.
#include "driver/core/JobSettings.h"
#include "driver/core/ModelData.h"
#include "driver/core/PageSurface.h"

#include <cstddef>
#include <cstdint>

namespace driver {

// A 1-bit bitmap in memory as GDI's engine keeps one: `top` points at the first byte of the top
// row, the next row is `delta` bytes further (negative for a bitmap stored bottom-up), the
// leftmost dot is the most significant bit.
struct BitmapView {
    const std::uint8_t* top = nullptr;
    std::ptrdiff_t delta = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // True when a 0 bit is a printed dot (a palette with black at index 0).
    bool inkIsZero = false;
    // True for a landscape page: the bitmap is the page turned by 90 degrees counter-clockwise,
    // so its left column is the printed page's bottom row.
    bool landscape = false;
};

// The page the printer prints; a view without rows gives an empty page.
[[nodiscard]] PageSurface pageFromBitmap(const BitmapView& view);

// What a job's DEVMODE chose besides the page (its private part; see the driver's DEVMODE).
struct JobChoices {
    std::uint32_t copies = 1;
    // In the model's own range; negative keeps the model's default darkness.
    int darkness = -1;
    // One of the model's speeds; 0 or less keeps the model's default speed.
    int speed = 0;
};

// The model's default job for `paper` (or lengthDots without one) with the choices applied; a
// darkness outside the model's range or a speed it does not list is ignored.
[[nodiscard]] JobSettings jobFor(const ModelData& model, const Paper* paper, std::uint32_t lengthDots,
                                 const JobChoices& choices) noexcept;

} // namespace driver
