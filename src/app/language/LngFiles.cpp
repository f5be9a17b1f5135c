#include "app/language/LngFiles.h"

#include "base/Compare.h"
#include "base/Utf.h"

#include <pugixml.hpp>

#include <charconv>

namespace {

bool loadLanguageDocument(std::string_view bytes, pugi::xml_document& doc, pugi::xml_node& root) {
    if (!doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_auto))
        return false;
    root = doc.document_element();
    return std::string_view(root.name()) == "Language";
}

std::optional<int> decimal(std::string_view s) {
    int value = 0;
    const auto end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(s.data(), end, value);
    if (s.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::optional<std::wstring> optionalText(const pugi::xml_node& node, const char* name) {
    const auto attr = node.attribute(name);
    if (!attr)
        return std::nullopt;
    return text::fromUtf8(attr.value());
}

} // namespace

ports::Status parseMessageTable(std::string_view bytes, std::vector<MessageEntry>& entries) {
    entries.clear();
    pugi::xml_document doc;
    pugi::xml_node root;
    if (!loadLanguageDocument(bytes, doc, root))
        return ports::winerr::InvalidData;
    for (const auto& node : root.children("String")) {
        const auto id = node.attribute("id");
        const auto text = node.attribute("text");
        if (id && text)
            entries.push_back({text::fromUtf8(id.value()), text::fromUtf8(text.value())});
    }
    return ports::winerr::Success;
}

ports::Status parseLayoutTable(std::string_view bytes, LayoutTable& table) {
    table.clear();
    pugi::xml_document doc;
    pugi::xml_node root;
    if (!loadLanguageDocument(bytes, doc, root))
        return ports::winerr::InvalidData;
    for (const auto& node : root.children("Text")) {
        if (const auto id = decimal(node.attribute("id").value()))
            table.emplace(*id, LayoutText{optionalText(node, "text"), optionalText(node, "tooltip")});
    }
    return ports::winerr::Success;
}

std::wstring layoutTranslationFile(std::wstring_view layout) {
    constexpr std::wstring_view xml = L".xml";
    if (layout.size() >= xml.size() && text::equalsNoCase(layout.substr(layout.size() - xml.size()), xml))
        layout.remove_suffix(xml.size());
    std::wstring file(layout);
    file += L".lng";
    return file;
}
