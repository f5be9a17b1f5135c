#include "SkinTexts.h"

#include <fstream>
#include <regex>
#include <sstream>

namespace gui {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string unescape(std::string s) {
    static const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [from, to] : entities)
        for (std::size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += std::string(to).size())
            s.replace(at, std::string(from).size(), to);
    return s;
}

} // namespace

std::map<int, std::string> lngTexts(const std::string& language, const std::string& file) {
    const std::string text =
        readFile(std::string(ORVELLO_SOURCE_DIR) + "/resources/skin/Lang/" + language + "/" + file + ".lng");
    static const std::regex entry(R"re(<Text\s+id="(\d+)"\s+text="([^"]*)")re");
    std::map<int, std::string> out;
    for (std::sregex_iterator it(text.begin(), text.end(), entry), end; it != end; ++it)
        out[std::stoi((*it)[1])] = unescape((*it)[2]);
    return out;
}

std::string shippedCatalogueVersion() {
    const std::string text = readFile(std::string(ORVELLO_SOURCE_DIR) + "/resources/catalogue.xml");
    std::string version;
    for (const char* part : {"version0", "version1", "version2", "version3"}) {
        std::smatch m;
        if (!std::regex_search(text, m, std::regex(std::string(part) + R"re(="(\d+)")re")))
            return {};
        version += (version.empty() ? "" : ".") + m[1].str();
    }
    return version;
}

} // namespace gui
