#include "driver/core/BitmapPage.h"

#include "driver/core/ModelJob.h"

#include <algorithm>

namespace driver {
namespace {

bool dotAt(const BitmapView& view, std::uint32_t x, std::uint32_t y) noexcept {
    const std::uint8_t byte = view.top[static_cast<std::ptrdiff_t>(y) * view.delta + x / 8];
    const bool set = (byte & (0x80u >> (x % 8))) != 0;
    return set != view.inkIsZero;
}

} // namespace

PageSurface pageFromBitmap(const BitmapView& view) {
    if (!view.top || view.width == 0 || view.height == 0)
        return {};
    if (view.landscape) {
        // Bitmap (x, y) lands at page (y, width - 1 - x).
        PageSurface page(view.height, view.width);
        for (std::uint32_t y = 0; y < view.height; ++y)
            for (std::uint32_t x = 0; x < view.width; ++x)
                if (dotAt(view, x, y))
                    page.set(y, view.width - 1 - x);
        return page;
    }
    PageSurface page(view.width, view.height);
    const std::uint32_t bytes = (view.width + 7) / 8;
    for (std::uint32_t y = 0; y < view.height; ++y) {
        const std::uint8_t* row = view.top + static_cast<std::ptrdiff_t>(y) * view.delta;
        if (!view.inkIsZero) {
            page.blitRow(0, y, {row, bytes}, view.width);
            continue;
        }
        for (std::uint32_t x = 0; x < view.width; ++x)
            if (dotAt(view, x, y))
                page.set(x, y);
    }
    return page;
}

JobSettings jobFor(const ModelData& model, const Paper* paper, std::uint32_t lengthDots,
                   const JobChoices& choices) noexcept {
    JobSettings job = defaultJob(model, paper, lengthDots);
    job.copies = std::max<std::uint32_t>(choices.copies, 1);
    if (model.darknessRange && choices.darkness >= model.darknessRange->min &&
        choices.darkness <= model.darknessRange->max)
        job.darkness = choices.darkness - model.darknessRange->min;
    if (std::find(model.speeds.begin(), model.speeds.end(), choices.speed) != model.speeds.end())
        job.speed = choices.speed;
    return job;
}

} // namespace driver
