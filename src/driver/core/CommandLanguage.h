#pragma once
// The printer languages the driver speaks, and how the catalogue's cmd values map onto them.
#include <optional>
#include <string_view>

namespace driver {

enum class CommandLanguage {
    Tspl,   // text commands with a binary BITMAP
    Zpl,    // ^-commands with a hex ^GFA graphic field
    Cpcl,   // "! 0 ..." label forms with hex EG graphics
    EscPos, // ESC @ and GS v 0 raster images
};

// The catalogue's cmd value (or a .dat file's language key) to a language; nothing for an unknown
// value. Besides the four names, the two vendor protocols of the catalogue map as follows:
//   cvlabel  -> zpl:    the bidirectional label printers with a language monitor, darkness 0..15
//                       and speeds up to 8; their label language is the ^-command family.
//   tvraster -> escpos: raster-only printers without darkness control (densitys -1,-1) and a
//                       40 mm minimum width; they take the ESC/POS raster image.
[[nodiscard]] std::optional<CommandLanguage> languageForCommand(std::string_view cmd) noexcept;

// "tspl", "zpl", "cpcl" or "escpos": the name written to data files.
[[nodiscard]] std::string_view languageName(CommandLanguage language) noexcept;

} // namespace driver
