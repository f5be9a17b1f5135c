#include "driver/win32/ModelPapers.h"

#include "base/Utf.h"

#include <algorithm>

namespace driver::win32 {

short paperNumber(std::size_t index) noexcept {
    return static_cast<short>(kFirstPaperNumber + index);
}

std::optional<std::size_t> paperIndex(const ModelData& model, short number) noexcept {
    if (number < kFirstPaperNumber)
        return std::nullopt;
    const auto index = static_cast<std::size_t>(number - kFirstPaperNumber);
    if (index >= model.papers.size())
        return std::nullopt;
    return index;
}

std::optional<std::size_t> paperIndexByName(const ModelData& model, std::wstring_view name) noexcept {
    for (std::size_t i = 0; i < model.papers.size(); ++i)
        if (paperName(model.papers[i]) == name)
            return i;
    return std::nullopt;
}

std::optional<std::size_t> defaultPaperIndex(const ModelData& model) noexcept {
    for (std::size_t i = 0; i < model.papers.size(); ++i)
        if (model.papers[i].name == model.defaultPaper)
            return i;
    if (model.papers.empty())
        return std::nullopt;
    return 0;
}

std::wstring paperName(const Paper& paper) {
    std::wstring name = text::fromUtf8(paper.name);
    // dmFormName and DC_PAPERNAMES hold 64 characters with the terminating NUL.
    if (name.size() > CCHFORMNAME - 1)
        name.resize(CCHFORMNAME - 1);
    return name;
}

short tenths(std::uint32_t hundredths) noexcept {
    return static_cast<short>(std::min<std::uint32_t>((hundredths + 5) / 10, SHRT_MAX));
}

short maxWidthTenths(const ModelData& model) noexcept {
    std::uint32_t widest = model.printableWidth;
    for (const Paper& paper : model.papers)
        widest = std::max(widest, paper.width);
    return std::max(tenths(widest), kMinExtentTenths);
}

} // namespace driver::win32
