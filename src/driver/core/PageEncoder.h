#pragma once
// Turns one page and the job's settings into the bytes of a label language, ready for the port.
// Only the rows between the first and the last black row are sent; a blank page still feeds its
// labels. Each language's source for the command layout and bit polarity is noted in its file.
#include "driver/core/CommandLanguage.h"
#include "driver/core/JobSettings.h"
#include "driver/core/PageSurface.h"

#include <cstdint>
#include <vector>

namespace driver {

using Bytes = std::vector<std::uint8_t>;

[[nodiscard]] Bytes encodeTspl(const PageSurface& page, const JobSettings& job);
[[nodiscard]] Bytes encodeZpl(const PageSurface& page, const JobSettings& job);
[[nodiscard]] Bytes encodeCpcl(const PageSurface& page, const JobSettings& job);
[[nodiscard]] Bytes encodeEscPos(const PageSurface& page, const JobSettings& job);

[[nodiscard]] Bytes encodePage(CommandLanguage language, const PageSurface& page, const JobSettings& job);

} // namespace driver
