// Writes a model data file in a fixed key order, so the same model always gives the same bytes.
#include "driver/core/Millimetres.h"
#include "driver/core/ModelData.h"

namespace driver {

namespace {

std::string joined(const std::vector<int>& values) {
    std::string text;
    for (const int v : values) {
        if (!text.empty())
            text += ',';
        text += std::to_string(v);
    }
    return text;
}

} // namespace

std::string writeModelData(const ModelData& data) {
    std::string out = "# Printer model data of the label printer driver (docs/driver-data-file.md)\n";
    out += "format = 1\n";
    out += "model = " + data.model + "\n";
    out += "language = " + std::string(languageName(data.language)) + "\n";
    out += "dpi = " + std::to_string(data.dpi) + "\n";
    out += "printable-width = " + formatHundredths(data.printableWidth) + "\n";
    if (data.darknessRange) {
        out += "darkness-range = " + std::to_string(data.darknessRange->min) + "," +
               std::to_string(data.darknessRange->max) + "\n";
        out += "darkness = " + std::to_string(data.darkness) + "\n";
    } else {
        out += "darkness-range = none\n";
    }
    if (!data.speeds.empty()) {
        out += "speeds = " + joined(data.speeds) + "\n";
        out += "speed = " + std::to_string(data.speed) + "\n";
    } else {
        out += "speeds = none\n";
    }
    out += "gap = " + formatHundredths(data.gap) + "\n";
    for (const Paper& paper : data.papers)
        out += "paper = " + formatHundredths(paper.width) + "," + formatHundredths(paper.length) + "," +
               paper.name + "\n";
    if (!data.defaultPaper.empty())
        out += "default-paper = " + data.defaultPaper + "\n";
    return out;
}

} // namespace driver
