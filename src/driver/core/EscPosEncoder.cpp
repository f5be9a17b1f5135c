// ESC/POS raster job. Command layout after the ESC/POS command references: ESC @ (1B 40) resets the
// printer, GS v 0 (1D 76 30) m xL xH yL yH data prints a raster image of (xL + xH*256) bytes by
// (yL + yH*256) rows in normal mode m = 0, and GS FF (1D 0C) feeds label media to the start of the
// next label. The printers have no darkness or speed commands in common, so those settings are not
// sent.
// Polarity: a 1 bit prints a dot, the most significant bit is the leftmost dot, as on our surface.
// The image starts at the top of the label, so the rows above the first black one are sent as
// they are; with gap sensing the rows below the last black one are left to the label feed.
// A reversed job turns the page itself; each copy repeats the page.
#include "driver/core/EncoderText.h"
#include "driver/core/PageEncoder.h"

#include <algorithm>

namespace driver {

namespace {

// Rows per GS v 0 image: a printer with a small receive buffer starts printing a band while the
// next one arrives.
constexpr std::uint32_t kBandRows = 256;

void appendImage(Bytes& out, const PageSurface& page, std::uint32_t endRow) {
    for (std::uint32_t top = 0; top < endRow; top += kBandRows) {
        const std::uint32_t rows = std::min(kBandRows, endRow - top);
        const std::uint32_t width = page.stride();
        const std::uint8_t header[] = {0x1D,
                                       0x76,
                                       0x30,
                                       0x00,
                                       static_cast<std::uint8_t>(width & 0xFF),
                                       static_cast<std::uint8_t>(width >> 8),
                                       static_cast<std::uint8_t>(rows & 0xFF),
                                       static_cast<std::uint8_t>(rows >> 8)};
        out.insert(out.end(), std::begin(header), std::end(header));
        for (std::uint32_t y = top; y < top + rows; ++y) {
            const auto row = page.row(y);
            out.insert(out.end(), row.begin(), row.end());
        }
    }
}

} // namespace

Bytes encodeEscPos(const PageSurface& page, const JobSettings& job) {
    const PageSurface turned = job.direction == PrintDirection::Reversed ? page.rotated180() : PageSurface{};
    const PageSurface& source = job.direction == PrintDirection::Reversed ? turned : page;
    const std::uint32_t endRow = job.gapDots > 0 ? inkRows(source).end : source.height();
    Bytes out{0x1B, 0x40};
    for (std::uint32_t copy = 0; copy < job.copies; ++copy) {
        appendImage(out, source, endRow);
        if (job.gapDots > 0) {
            out.push_back(0x1D);
            out.push_back(0x0C);
        }
    }
    return out;
}

} // namespace driver
