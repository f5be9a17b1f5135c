// CPCL job. Command layout after the CPCL programming manual for mobile printers: the form header
// "! offset horizontal-res vertical-res height quantity", PAGE-WIDTH, SPEED 0..5, CONTRAST 0..3,
// EG width-in-bytes height x y hex-data, FORM (feed to the top of the next label) and PRINT. Lines
// end in CR LF. The header's resolutions are the nominal "200 200" of the manual's examples:
// positions and sizes here are dots.
// Polarity: in EG data a 1 bit prints a dot (the manual's example F0F0... prints the left half of
// every byte), most significant bit leftmost, as on our surface.
// CPCL has no command to print upside down, so a reversed job turns the page itself.
#include "driver/core/EncoderText.h"
#include "driver/core/PageEncoder.h"

#include <algorithm>

namespace driver {

using detail::append;
using detail::appendCommand;
using detail::appendHex;

namespace {

void appendForm(Bytes& out, const PageSurface& page, const JobSettings& job) {
    appendCommand(out, "! 0 200 200 ", job.labelLengthDots, " ");
    appendCommand(out, "", job.copies, "\r\n");
    appendCommand(out, "PAGE-WIDTH ", job.labelWidthDots, "\r\n");
    if (job.speed > 0)
        appendCommand(out, "SPEED ", std::min(job.speed, 5), "\r\n");
    if (job.darkness >= 0) {
        // The model's darkness 0..darknessMax on CONTRAST's four steps.
        const int max = job.darknessMax > 0 ? job.darknessMax : 3;
        appendCommand(out, "CONTRAST ", std::clamp((std::min(job.darkness, max) * 3 + max / 2) / max, 0, 3),
                      "\r\n");
    }
    const InkRows ink = inkRows(page);
    if (!ink.empty()) {
        appendCommand(out, "EG ", page.stride(), " ");
        appendCommand(out, "", ink.end - ink.first, " 0 ");
        appendCommand(out, "", ink.first, " ");
        for (std::uint32_t y = ink.first; y < ink.end; ++y)
            appendHex(out, page.row(y));
        append(out, "\r\n");
    }
    if (job.gapDots > 0)
        append(out, "FORM\r\n");
    append(out, "PRINT\r\n");
}

} // namespace

Bytes encodeCpcl(const PageSurface& page, const JobSettings& job) {
    Bytes out;
    if (job.direction == PrintDirection::Reversed)
        appendForm(out, page.rotated180(), job);
    else
        appendForm(out, page, job);
    return out;
}

} // namespace driver
