#pragma once
// The job settings a model prints with by default: its resolution, gap, darkness and speed, and the
// label size of a paper (or, without one, its printable width by length).
#include "driver/core/JobSettings.h"
#include "driver/core/ModelData.h"

namespace driver {

// The paper of that name, or the model's default paper when name is empty; nullptr when neither.
[[nodiscard]] const Paper* findPaper(const ModelData& model, std::string_view name) noexcept;

// lengthDots is used when there is no paper.
[[nodiscard]] JobSettings defaultJob(const ModelData& model, const Paper* paper,
                                     std::uint32_t lengthDots) noexcept;

} // namespace driver
