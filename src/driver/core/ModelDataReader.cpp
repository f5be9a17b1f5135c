// Reads a model data file. Every problem is a message with its line; nothing in the text can make
// the reader fail in another way, so a damaged file in a package is reported, never fatal.
#include "driver/core/Millimetres.h"
#include "driver/core/ModelData.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace driver {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr int kNumberLimit = 1'000'000;

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// `"value" rest`, built by appending (GCC 12 warns wrongly about a chain of + on a quote).
std::string quoted(std::string_view value, std::string_view rest) {
    std::string text(1, '"');
    text.append(value).append("\" ").append(rest);
    return text;
}

std::optional<int> parseInt(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < -kNumberLimit || value > kNumberLimit)
        return std::nullopt;
    return value;
}

std::optional<std::vector<std::string_view>> splitFields(std::string_view text, std::size_t count) {
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < count) {
        const auto comma = text.find(',');
        if (comma == std::string_view::npos)
            return std::nullopt;
        fields.push_back(trim(text.substr(0, comma)));
        text.remove_prefix(comma + 1);
    }
    fields.push_back(trim(text));
    return fields;
}

class Reader {
public:
    ModelDataResult read(std::string_view text) {
        std::size_t number = 0;
        while (!text.empty() || number == 0) {
            ++number;
            const auto newline = text.find('\n');
            std::string_view line = text.substr(0, newline);
            text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
            readLine(number, line);
            if (text.empty())
                break;
        }
        finish();
        if (result_.errors.empty())
            result_.data = std::move(data_);
        return std::move(result_);
    }

private:
    void error(std::size_t line, std::string text) { result_.errors.push_back({line, std::move(text)}); }

    void readLine(std::size_t number, std::string_view line) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = trim(line);
        if (line.empty() || line.front() == '#')
            return;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            error(number, "expected \"key = value\"");
            return;
        }
        const std::string key(trim(line.substr(0, equals)));
        const std::string_view value = trim(line.substr(equals + 1));
        if (key != "paper") {
            const auto [seen, fresh] = seen_.emplace(key, number);
            if (!fresh) {
                error(number,
                      quoted(key, "given twice (first on line " + std::to_string(seen->second) + ")"));
                return;
            }
        }
        readValue(number, key, value);
    }

    void readValue(std::size_t number, const std::string& key, std::string_view value) {
        if (key == "format") {
            if (value != "1")
                error(number, "format \"" + std::string(value) + "\" is not 1");
        } else if (key == "model") {
            if (value.empty())
                error(number, "empty model name");
            data_.model = value;
        } else if (key == "language") {
            if (const auto language = languageForCommand(value))
                data_.language = *language;
            else
                error(number, "unknown language \"" + std::string(value) + "\"");
        } else if (key == "dpi") {
            const auto dpi = parseInt(value);
            if (!dpi || *dpi <= 0)
                error(number, "dpi must be a positive number");
            else
                data_.dpi = static_cast<std::uint32_t>(*dpi);
        } else if (key == "printable-width") {
            readLength(number, value, data_.printableWidth);
        } else if (key == "gap") {
            readLength(number, value, data_.gap);
        } else if (key == "darkness-range") {
            readDarknessRange(number, value);
        } else if (key == "darkness") {
            readNumber(number, value, data_.darkness);
        } else if (key == "speeds") {
            readSpeeds(number, value);
        } else if (key == "speed") {
            readNumber(number, value, data_.speed);
        } else if (key == "paper") {
            readPaper(number, value);
        } else if (key == "default-paper") {
            data_.defaultPaper = value;
        } else {
            result_.notes.push_back({number, "unknown key \"" + key + "\" skipped"});
        }
    }

    void readLength(std::size_t number, std::string_view value, std::uint32_t& into) {
        if (const auto hundredths = parseHundredths(value))
            into = *hundredths;
        else
            error(number, quoted(value, "is not a length in millimetres"));
    }

    void readNumber(std::size_t number, std::string_view value, int& into) {
        if (const auto parsed = parseInt(value))
            into = *parsed;
        else
            error(number, quoted(value, "is not a number"));
    }

    void readDarknessRange(std::size_t number, std::string_view value) {
        if (value == "none")
            return;
        const auto fields = splitFields(value, 2);
        const auto min = fields ? parseInt((*fields)[0]) : std::nullopt;
        const auto max = fields ? parseInt((*fields)[1]) : std::nullopt;
        if (!min || !max || *min > *max)
            error(number, "darkness-range must be \"none\" or \"min,max\" with min <= max");
        else
            data_.darknessRange = DarknessRange{*min, *max};
    }

    void readSpeeds(std::size_t number, std::string_view value) {
        if (value == "none")
            return;
        while (true) {
            const auto comma = value.find(',');
            const auto speed = parseInt(trim(value.substr(0, comma)));
            if (!speed || *speed <= 0) {
                error(number, "speeds must be \"none\" or positive numbers separated by commas");
                data_.speeds.clear();
                return;
            }
            data_.speeds.push_back(*speed);
            if (comma == std::string_view::npos)
                return;
            value.remove_prefix(comma + 1);
        }
    }

    void readPaper(std::size_t number, std::string_view value) {
        const auto fields = splitFields(value, 3);
        const auto width = fields ? parseHundredths((*fields)[0]) : std::nullopt;
        const auto length = fields ? parseHundredths((*fields)[1]) : std::nullopt;
        if (!width || !length || *width == 0 || *length == 0 || (*fields)[2].empty()) {
            error(number, "paper must be \"width,length,name\" in millimetres");
            return;
        }
        const std::string name((*fields)[2]);
        if (std::any_of(data_.papers.begin(), data_.papers.end(),
                        [&](const Paper& p) { return p.name == name; })) {
            error(number, "paper \"" + name + "\" given twice");
            return;
        }
        data_.papers.push_back({name, *width, *length});
    }

    std::size_t lineOf(const char* key) const {
        const auto it = seen_.find(key);
        return it == seen_.end() ? 0 : it->second;
    }

    // What only the whole file can tell: required keys and values that must agree.
    void finish() {
        for (const char* key : {"format", "model", "language", "dpi", "printable-width"})
            if (!seen_.contains(key))
                error(0, std::string("missing \"") + key + "\"");
        if (data_.darknessRange) {
            if (data_.darkness < data_.darknessRange->min || data_.darkness > data_.darknessRange->max)
                error(lineOf("darkness"),
                      "darkness " + std::to_string(data_.darkness) + " is outside darkness-range");
        } else if (seen_.contains("darkness")) {
            error(lineOf("darkness"), "darkness given without a darkness-range");
        }
        if (!data_.speeds.empty()) {
            if (std::find(data_.speeds.begin(), data_.speeds.end(), data_.speed) == data_.speeds.end())
                error(lineOf("speed"), "speed " + std::to_string(data_.speed) + " is not one of speeds");
        } else if (seen_.contains("speed")) {
            error(lineOf("speed"), "speed given without speeds");
        }
        if (!data_.defaultPaper.empty() &&
            std::none_of(data_.papers.begin(), data_.papers.end(),
                         [&](const Paper& p) { return p.name == data_.defaultPaper; }))
            error(lineOf("default-paper"),
                  "default-paper \"" + data_.defaultPaper + "\" is not one of the papers");
    }

    ModelData data_;
    ModelDataResult result_;
    std::map<std::string, std::size_t, std::less<>> seen_;
};

} // namespace

ModelDataResult readModelData(std::string_view text) {
    return Reader().read(text);
}

} // namespace driver
