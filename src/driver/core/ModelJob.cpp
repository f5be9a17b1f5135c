#include "driver/core/ModelJob.h"

#include "driver/core/Millimetres.h"

namespace driver {

const Paper* findPaper(const ModelData& model, std::string_view name) noexcept {
    const std::string_view wanted = name.empty() ? std::string_view(model.defaultPaper) : name;
    for (const Paper& paper : model.papers)
        if (!wanted.empty() && paper.name == wanted)
            return &paper;
    return nullptr;
}

JobSettings defaultJob(const ModelData& model, const Paper* paper, std::uint32_t lengthDots) noexcept {
    JobSettings job;
    job.dpi = model.dpi;
    job.labelWidthDots = hundredthsToDots(paper ? paper->width : model.printableWidth, model.dpi);
    job.labelLengthDots = paper ? hundredthsToDots(paper->length, model.dpi) : lengthDots;
    job.gapDots = hundredthsToDots(model.gap, model.dpi);
    if (model.darknessRange) {
        job.darkness = model.darkness - model.darknessRange->min;
        job.darknessMax = model.darknessRange->max - model.darknessRange->min;
    }
    job.speed = model.speed;
    return job;
}

} // namespace driver
