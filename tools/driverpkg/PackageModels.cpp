#include "PackageModels.h"

#include "base/Utf.h"
#include "catalogue/DocumentData.h"
#include "catalogue/DriverCatalogue.h"
#include "driver/core/Millimetres.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace driverpkg {

namespace {

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string_view> split(std::string_view s) {
    std::vector<std::string_view> parts;
    while (true) {
        const auto comma = s.find(',');
        parts.push_back(trim(s.substr(0, comma)));
        if (comma == std::string_view::npos)
            return parts;
        s.remove_prefix(comma + 1);
    }
}

std::optional<int> toInt(std::string_view s) {
    s = trim(s);
    int value = 0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || ptr != s.data() + s.size())
        return std::nullopt;
    return value;
}

// The model's attribute through its parent chain, as UTF-8; nothing when no model of the chain has it.
std::optional<std::string> attribute(DriverRef ref, std::wstring_view name) {
    if (auto value = catalogue::InheritedAttribute(ref, name))
        return text::toUtf8(*value);
    return std::nullopt;
}

// The papers of the Papers group called type, in document order.
std::vector<driver::Paper> paperGroup(const catalogue::XmlDocument& doc, std::string_view type) {
    std::vector<driver::Paper> papers;
    for (const pugi::xml_node group : doc.data().tree.child("Drivers").child("Form").children("Papers")) {
        if (group.attribute("type").value() != type)
            continue;
        for (const pugi::xml_node paper : group.children("Paper")) {
            const auto size = split(paper.attribute("size").value());
            if (size.size() != 2)
                continue;
            const std::uint32_t width = driver::parseHundredths(size[0]).value_or(0);
            const std::uint32_t length = driver::parseHundredths(size[1]).value_or(0);
            const std::string name = paper.attribute("name").value();
            const bool seen =
                std::any_of(papers.begin(), papers.end(), [&](const auto& p) { return p.name == name; });
            if (width > 0 && length > 0 && !name.empty() && !seen)
                papers.push_back({name, width, length});
        }
        break;
    }
    return papers;
}

class ModelReader {
public:
    ModelReader(const catalogue::XmlDocument& doc, DriverRef ref, std::string manufacturerPapers)
        : doc_(doc), ref_(ref), manufacturerPapers_(std::move(manufacturerPapers)) {}

    std::optional<PackageModel> read(std::string& problem) {
        PackageModel model;
        model.name = catalogue::DriverName(ref_);
        model.hardwareId = catalogue::DriverUsbName(ref_);
        model.languageMonitor = catalogue::UsesLanguageMonitor(ref_);
        driver::ModelData& data = model.data;
        data.model = text::toUtf8(model.name);
        if (!isFileName(model.name))
            return fail(problem, "its name cannot be a file name");
        if (!isInfLineText(model.hardwareId))
            return fail(problem,
                        "its usbname has a line break or another control character, which would break "
                        "its INF line");
        const auto language = driver::languageForCommand(attribute(ref_, L"cmd").value_or(""));
        if (!language)
            return fail(problem, "cmd \"" + attribute(ref_, L"cmd").value_or("") + "\" is no known language");
        data.language = *language;
        const auto dpi = toInt(attribute(ref_, L"dpi").value_or(""));
        if (!dpi || *dpi <= 0)
            return fail(problem, "no dpi");
        data.dpi = static_cast<std::uint32_t>(*dpi);
        const auto head = driver::parseHundredths(trim(attribute(ref_, L"headsize").value_or("")));
        if (!head || *head == 0)
            return fail(problem, "no headsize");
        data.printableWidth = *head;
        readDarkness(data);
        readSpeeds(data);
        const std::string gapText = attribute(ref_, L"defgap").value_or("0");
        const auto gap = split(gapText);
        data.gap = driver::parseHundredths(gap.front()).value_or(0);
        data.papers = paperGroup(doc_, attribute(ref_, L"paperlist").value_or(manufacturerPapers_));
        const std::string defaultPaper = attribute(ref_, L"defpapername").value_or("");
        if (std::any_of(data.papers.begin(), data.papers.end(),
                        [&](const auto& p) { return p.name == defaultPaper; }))
            data.defaultPaper = defaultPaper;
        return model;
    }

private:
    static std::nullopt_t fail(std::string& problem, std::string why) {
        problem = std::move(why);
        return std::nullopt;
    }

    // "densitys" min,max with "-1,-1" for no darkness control; the default is clamped into range.
    void readDarkness(driver::ModelData& data) const {
        const std::string rangeText = attribute(ref_, L"densitys").value_or("-1,-1");
        const auto range = split(rangeText);
        const auto min = range.size() == 2 ? toInt(range[0]) : std::nullopt;
        const auto max = range.size() == 2 ? toInt(range[1]) : std::nullopt;
        if (!min || !max || *min < 0 || *min > *max)
            return;
        data.darknessRange = driver::DarknessRange{*min, *max};
        data.darkness =
            std::clamp(toInt(attribute(ref_, L"defdensity").value_or("")).value_or(*min), *min, *max);
    }

    // "speeds" list; a default that is not in the list falls back to the first speed.
    void readSpeeds(driver::ModelData& data) const {
        const std::string speedsText = attribute(ref_, L"speeds").value_or("");
        for (const auto part : split(speedsText)) {
            if (const auto speed = toInt(part); speed && *speed > 0)
                data.speeds.push_back(*speed);
        }
        if (data.speeds.empty())
            return;
        const auto speed = toInt(attribute(ref_, L"defspeed").value_or(""));
        const bool offered =
            speed && std::find(data.speeds.begin(), data.speeds.end(), *speed) != data.speeds.end();
        data.speed = offered ? *speed : data.speeds.front();
    }

    const catalogue::XmlDocument& doc_;
    DriverRef ref_;
    std::string manufacturerPapers_;
};

} // namespace

bool isInfLineText(std::wstring_view text) noexcept {
    return std::none_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x20 || c == 0x7F; });
}

bool isFileName(std::wstring_view name) noexcept {
    if (name.empty() || name.back() == L' ' || name.back() == L'.')
        return false;
    return std::none_of(name.begin(), name.end(), [](wchar_t c) {
        return c < 0x20 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
    });
}

PackageModels collectModels(const catalogue::XmlDocument& catalogueDoc, std::wstring_view mode) {
    PackageModels out;
    std::string manufacturerPapers;
    const std::string modeUtf8 = text::toUtf8(mode);
    for (const pugi::xml_node m :
         catalogueDoc.data().tree.child("Drivers").child("Manufacturers").children("Manufacturer")) {
        if (m.attribute("mode").value() == modeUtf8) {
            manufacturerPapers = m.attribute("paperlist").value();
            break;
        }
    }
    DriverRef ref;
    for (bool more = catalogue::FirstDriver(mode, catalogueDoc, ref); more;
         more = catalogue::NextDriver(mode, ref)) {
        std::string problem;
        if (auto model = ModelReader(catalogueDoc, ref, manufacturerPapers).read(problem))
            out.models.push_back(std::move(*model));
        else
            out.problems.push_back(text::toUtf8(catalogue::DriverName(ref)) + ": " + problem);
    }
    return out;
}

} // namespace driverpkg
