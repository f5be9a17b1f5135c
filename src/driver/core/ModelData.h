#pragma once
// What the driver knows about one printer model, read from its "<model>.dat" file in the driver
// package (the format is in docs/driver-data-file.md). Lengths are hundredths of a millimetre, so
// the text's decimals come back unchanged when the file is written again.
#include "driver/core/CommandLanguage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace driver {

struct Paper {
    std::string name;
    std::uint32_t width = 0;  // 0.01 mm
    std::uint32_t length = 0; // 0.01 mm
    friend bool operator==(const Paper&, const Paper&) = default;
};

struct DarknessRange {
    int min = 0;
    int max = 0;
    friend bool operator==(const DarknessRange&, const DarknessRange&) = default;
};

struct ModelData {
    std::string model;
    CommandLanguage language = CommandLanguage::Tspl;
    std::uint32_t dpi = 0;
    std::uint32_t printableWidth = 0; // 0.01 mm
    // Nothing when the printer has no darkness control.
    std::optional<DarknessRange> darknessRange;
    int darkness = 0;
    // Empty when the printer chooses its own speed; speed is then 0.
    std::vector<int> speeds;
    int speed = 0;
    std::uint32_t gap = 0; // 0.01 mm; 0 for continuous media
    std::vector<Paper> papers;
    std::string defaultPaper; // "" or the name of one of papers
    friend bool operator==(const ModelData&, const ModelData&) = default;
};

// A problem found in a data file, with its 1-based line (0 for the file as a whole).
struct DataFileMessage {
    std::size_t line = 0;
    std::string text;
    friend bool operator==(const DataFileMessage&, const DataFileMessage&) = default;
};

struct ModelDataResult {
    // Nothing when the file has an error.
    std::optional<ModelData> data;
    std::vector<DataFileMessage> errors;
    // Unknown keys, skipped so that an older driver reads a newer file.
    std::vector<DataFileMessage> notes;
};

[[nodiscard]] ModelDataResult readModelData(std::string_view text);
[[nodiscard]] std::string writeModelData(const ModelData& data);

} // namespace driver
