#pragma once
// The model's papers as the spooler and applications see them: paper numbers above DMPAPER_USER
// in the order of the data file, names of at most 63 characters, sizes in tenths of a millimetre.
#include "driver/core/ModelData.h"
#include "driver/win32/DriverDevMode.h"

#include <windows.h>

#include <optional>
#include <string>

namespace driver::win32 {

// DMPAPER_USER itself stands for a custom size given by dmPaperWidth and dmPaperLength.
inline constexpr short kFirstPaperNumber = DMPAPER_USER + 1;

[[nodiscard]] short paperNumber(std::size_t index) noexcept;
// The index into model.papers of a paper number; nothing for another number.
[[nodiscard]] std::optional<std::size_t> paperIndex(const ModelData& model, short number) noexcept;
// The index of the paper called `name` (compared as UTF-16); nothing when none has it.
[[nodiscard]] std::optional<std::size_t> paperIndexByName(const ModelData& model,
                                                          std::wstring_view name) noexcept;
// The default paper's index; nothing when the model lists no papers.
[[nodiscard]] std::optional<std::size_t> defaultPaperIndex(const ModelData& model) noexcept;

[[nodiscard]] std::wstring paperName(const Paper& paper);
// Hundredths of a millimetre as DEVMODE's tenths, rounded.
[[nodiscard]] short tenths(std::uint32_t hundredths) noexcept;
// The widest page the model takes: its print head or its widest paper, in tenths.
[[nodiscard]] short maxWidthTenths(const ModelData& model) noexcept;

} // namespace driver::win32
