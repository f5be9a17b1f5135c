#pragma once
// The simulated machine's view of an INF: which model of a driver package matches a hardware ID, the
// model's install section and the [Version] facts, as the simulated Plug and Play installation and
// driver store need them. The lines themselves come from the shared reader (base/InfText.h).
#include "base/InfText.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

class InfFile {
public:
    using Line = inf::Line;
    struct Model {
        std::wstring manufacturer; // the [Manufacturer] entry's name, strings replaced
        std::wstring description;  // the model name
        std::wstring installSection;
        std::vector<std::wstring> hardwareIds; // hardware ID then compatible IDs
    };

    // UTF-16LE with its byte-order mark, or UTF-8 (with or without one).
    static InfFile parse(std::span<const std::uint8_t> bytes);

    // The lines of a section; nullptr when the INF has no such section.
    const std::vector<Line>* section(std::wstring_view name) const;
    // The first field of `key` in `section`; "" when missing.
    std::wstring value(std::wstring_view section, std::wstring_view key) const;

    // The models of every manufacturer for a platform decoration ("NTx86", "NTamd64", "NTarm64"):
    // the decorated models section when the manufacturer lists one for that platform, else the
    // undecorated one.
    std::vector<Model> models(std::wstring_view decoration) const;
    // The first model whose hardware or compatible IDs hold `hardwareId` (ignoring case).
    std::optional<Model> modelForHardwareId(std::wstring_view hardwareId, std::wstring_view decoration) const;
    std::optional<Model> modelNamed(std::wstring_view name, std::wstring_view decoration) const;

private:
    inf::Document doc_;
};

// The INF platform decoration of a print environment ("Windows x64" -> "NTamd64").
std::wstring infDecoration(std::wstring_view environment);

} // namespace sim
