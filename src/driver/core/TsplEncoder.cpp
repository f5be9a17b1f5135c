// TSPL job. Command layout after the TSPL/TSPL2 programming manuals: SIZE and GAP in millimetres,
// DIRECTION 0/1, DENSITY 0..15, SPEED, CLS, then BITMAP x,y,width in bytes,height,mode,data with the
// data as raw bytes, and PRINT sets,copies. Lines end in CR LF.
// Polarity: in BITMAP data a 0 bit prints a dot and a 1 bit leaves it white (the LPrint TSPL driver
// renders its lines in CUPS's white-is-1 colour space for this command), so the page is inverted.
// Mode 0 (overwrite) is used: the page is the whole label, nothing lies underneath.
#include "driver/core/EncoderText.h"
#include "driver/core/PageEncoder.h"

namespace driver {

using detail::append;
using detail::appendCommand;
using detail::millimetres;

Bytes encodeTspl(const PageSurface& page, const JobSettings& job) {
    Bytes out;
    append(out, "SIZE " + millimetres(job.labelWidthDots, job.dpi) + " mm," +
                    millimetres(job.labelLengthDots, job.dpi) + " mm\r\n");
    // GAP 0,0 selects continuous media.
    if (job.gapDots > 0)
        append(out, "GAP " + millimetres(job.gapDots, job.dpi) + " mm,0 mm\r\n");
    else
        append(out, "GAP 0,0\r\n");
    append(out, job.direction == PrintDirection::Reversed ? "DIRECTION 1\r\n" : "DIRECTION 0\r\n");
    if (job.darkness >= 0)
        appendCommand(out, "DENSITY ", job.darkness, "\r\n");
    if (job.speed > 0)
        appendCommand(out, "SPEED ", job.speed, "\r\n");
    append(out, "CLS\r\n");
    const InkRows ink = inkRows(page);
    if (!ink.empty()) {
        appendCommand(out, "BITMAP 0,", ink.first, ",");
        appendCommand(out, "", page.stride(), ",");
        appendCommand(out, "", ink.end - ink.first, ",0,");
        for (std::uint32_t y = ink.first; y < ink.end; ++y)
            for (const std::uint8_t b : page.row(y))
                out.push_back(static_cast<std::uint8_t>(~b));
        append(out, "\r\n");
    }
    appendCommand(out, "PRINT 1,", job.copies, "\r\n");
    return out;
}

} // namespace driver
