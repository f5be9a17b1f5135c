#pragma once
// DEVMODEW as bytes, for the simulated spooler: it keeps a printer's DEVMODE as the raw record a
// driver would return (220 bytes of public part plus dmDriverExtra) and decodes it for callers.
#include "platform/ports/SpoolerTypes.h"

#include <cstdint>
#include <vector>

namespace sim {

inline constexpr std::uint16_t kDevModeSize = 220; // sizeof(DEVMODEW)

// The decoded fields of `raw` (shorter records decode as far as they go); `raw` is kept as given.
ports::DevMode decodeDevMode(const std::vector<std::uint8_t>& raw);
// The public part from the fields (the display and position union members are taken from the
// printer members), followed by dmDriverExtra zero bytes.
std::vector<std::uint8_t> encodeDevMode(const ports::DevMode& mode);

// What a driver returns for a printer without a DEVMODE of its own.
struct PaperChoice {
    std::int16_t id = 1; // DMPAPER_LETTER
    std::wstring name = L"Letter";
    std::int16_t width = 2159; // tenths of a millimetre
    std::int16_t length = 2794;
};
ports::DevMode defaultDevMode(std::wstring_view printerName, const PaperChoice& paper, std::int16_t dpi);

} // namespace sim
