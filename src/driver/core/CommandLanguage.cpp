#include "driver/core/CommandLanguage.h"

#include <array>
#include <utility>

namespace driver {

namespace {
constexpr std::array<std::pair<std::string_view, CommandLanguage>, 6> kCommands{{
    {"tspl", CommandLanguage::Tspl},
    {"zpl", CommandLanguage::Zpl},
    {"cpcl", CommandLanguage::Cpcl},
    {"escpos", CommandLanguage::EscPos},
    {"cvlabel", CommandLanguage::Zpl},
    {"tvraster", CommandLanguage::EscPos},
}};
} // namespace

std::optional<CommandLanguage> languageForCommand(std::string_view cmd) noexcept {
    for (const auto& [name, language] : kCommands)
        if (name == cmd)
            return language;
    return std::nullopt;
}

std::string_view languageName(CommandLanguage language) noexcept {
    switch (language) {
    case CommandLanguage::Tspl:
        return "tspl";
    case CommandLanguage::Zpl:
        return "zpl";
    case CommandLanguage::Cpcl:
        return "cpcl";
    case CommandLanguage::EscPos:
        return "escpos";
    }
    return "";
}

} // namespace driver
