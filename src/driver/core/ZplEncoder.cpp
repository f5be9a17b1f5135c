// ZPL job. Command layout after the ZPL II programming guide: ~SD sets darkness 00..30 (a tilde
// command, so it goes before the format), ^XA opens the format, ^PW print width and ^LL label length
// in dots, ^MN Y (gap sensing) or N (continuous), ^PO N or I (inverted), ^PR speed, ^FO x,y then
// ^GFA,total bytes,total bytes,bytes per row,hex data ^FS, ^PQ copies, ^XZ. Lines end in LF.
// Polarity: in ^GF data a 1 bit prints a dot, the most significant bit is the leftmost dot, as on
// our surface, so rows go out unchanged.
#include "driver/core/EncoderText.h"
#include "driver/core/PageEncoder.h"

#include <algorithm>

namespace driver {

using detail::append;
using detail::appendCommand;
using detail::appendHex;

namespace {

// The model's darkness 0..darknessMax on ZPL's 0..30 scale.
int zplDarkness(const JobSettings& job) {
    const int max = job.darknessMax > 0 ? job.darknessMax : 30;
    const int scaled = (std::min(job.darkness, max) * 30 + max / 2) / max;
    return std::clamp(scaled, 0, 30);
}

} // namespace

Bytes encodeZpl(const PageSurface& page, const JobSettings& job) {
    Bytes out;
    if (job.darkness >= 0) {
        const int darkness = zplDarkness(job);
        appendCommand(out, darkness < 10 ? "~SD0" : "~SD", darkness, "\n");
    }
    appendCommand(out, "^XA\n^PW", job.labelWidthDots, "\n");
    appendCommand(out, "^LL", job.labelLengthDots, "\n");
    append(out, job.gapDots > 0 ? "^MNY\n" : "^MNN\n");
    append(out, job.direction == PrintDirection::Reversed ? "^POI\n" : "^PON\n");
    if (job.speed > 0)
        appendCommand(out, "^PR", job.speed, "\n");
    const InkRows ink = inkRows(page);
    if (!ink.empty()) {
        const long long total = static_cast<long long>(page.stride()) * (ink.end - ink.first);
        appendCommand(out, "^FO0,", ink.first, "^GFA,");
        appendCommand(out, "", total, ",");
        appendCommand(out, "", total, ",");
        appendCommand(out, "", page.stride(), ",");
        for (std::uint32_t y = ink.first; y < ink.end; ++y)
            appendHex(out, page.row(y));
        append(out, "^FS\n");
    }
    appendCommand(out, "^PQ", job.copies, "\n^XZ\n");
    return out;
}

} // namespace driver
