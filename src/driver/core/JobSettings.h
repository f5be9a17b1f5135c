#pragma once
// What a job asks of the printer besides the page image. Lengths are in printer dots.
#include <cstdint>

namespace driver {

enum class PrintDirection {
    Normal,   // the top of the page leaves the printer first
    Reversed, // turned by 180 degrees
};

struct JobSettings {
    std::uint32_t dpi = 203;
    std::uint32_t labelWidthDots = 0;
    std::uint32_t labelLengthDots = 0;
    // The gap between labels; 0 for continuous media.
    std::uint32_t gapDots = 0;
    // Darkness in the model's own range 0..darknessMax; a negative value keeps the printer's setting.
    int darkness = -1;
    int darknessMax = 15;
    // Print speed in the model's units (inches per second); 0 or less keeps the printer's setting.
    int speed = 0;
    std::uint32_t copies = 1;
    PrintDirection direction = PrintDirection::Normal;
};

} // namespace driver
