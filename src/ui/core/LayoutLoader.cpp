#include "ui/core/LayoutLoader.h"

#include "base/Compare.h"
#include "base/Utf.h"
#include "ui/core/Attributes.h"

#include <pugixml.hpp>

#include <algorithm>
#include <map>
#include <vector>

namespace ui {
namespace {

// An attribute as written, with the line it came from (for errors about styles).
struct StyleAttr {
    std::string name;
    std::wstring value;
    int line;
};
struct Style {
    std::wstring file;
    std::vector<StyleAttr> attrs;
};

// One parsed file: the document and the bytes its line numbers come from.
struct ParsedFile {
    std::wstring name;
    std::string bytes;
    pugi::xml_document doc;

    int lineOf(std::ptrdiff_t offset) const {
        if (offset < 0)
            return 0;
        auto end =
            bytes.begin() + std::min<std::ptrdiff_t>(offset, static_cast<std::ptrdiff_t>(bytes.size()));
        return 1 + static_cast<int>(std::count(bytes.begin(), end, '\n'));
    }
    int lineOf(const pugi::xml_node& node) const { return lineOf(node.offset_debug()); }
};

std::string lower(std::string_view s) {
    std::string out(s);
    for (auto& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// One load: the files in progress (to refuse a layout that includes itself), the styles so far.
class Build {
public:
    Build(const LayoutReader& reader, const ControlFactory& factory) : reader_(reader), factory_(factory) {}

    std::optional<LoadError> error;
    std::vector<FontInfo> fonts;

    std::unique_ptr<Control> loadFile(std::wstring_view file, const ParsedFile* from, int fromLine,
                                      bool wantWindow) {
        auto parsed = open(file, from, fromLine);
        if (!parsed)
            return nullptr;
        auto root = parsed->doc.document_element();
        if (wantWindow && lower(root.name()) != "window")
            return fail(*parsed, root, L"the root element must be Window"), nullptr;
        std::vector<std::unique_ptr<Control>> built;
        if (!buildInto(*parsed, parsed->doc, nullptr, built))
            return nullptr;
        if (built.size() != 1) {
            // Point at the second root, where the file goes wrong.
            auto second = root.next_sibling();
            while (second && second.type() != pugi::node_element)
                second = second.next_sibling();
            return fail(*parsed, second ? second : root, L"a layout holds exactly one control at its root"),
                   nullptr;
        }
        return std::move(built.front());
    }

private:
    std::unique_ptr<ParsedFile> open(std::wstring_view file, const ParsedFile* from, int fromLine) {
        auto bytes = reader_.read(file);
        if (!bytes) {
            if (from)
                error =
                    LoadError{from->name, fromLine, L"layout file '" + std::wstring(file) + L"' not found"};
            else
                error = LoadError{std::wstring(file), 0, L"layout file not found"};
            return nullptr;
        }
        for (auto& f : inProgress_)
            if (text::equalsNoCase(f, file)) {
                error = LoadError{from ? from->name : std::wstring(file), fromLine,
                                  L"'" + std::wstring(file) + L"' includes itself"};
                return nullptr;
            }
        auto parsed = std::make_unique<ParsedFile>();
        parsed->name = file;
        parsed->bytes = std::move(*bytes);
        auto result = parsed->doc.load_buffer(parsed->bytes.data(), parsed->bytes.size(), pugi::parse_default,
                                              pugi::encoding_auto);
        if (!result) {
            error = LoadError{parsed->name, parsed->lineOf(result.offset),
                              L"not well-formed XML: " + text::fromUtf8(result.description())};
            return nullptr;
        }
        if (!parsed->doc.document_element()) {
            error = LoadError{parsed->name, 0, L"no root element"};
            return nullptr;
        }
        return parsed;
    }

    void fail(const ParsedFile& f, const pugi::xml_node& node, std::wstring message) {
        if (!error)
            error = LoadError{f.name, f.lineOf(node), std::move(message)};
    }

    // Builds the element children of `parent` into `out`.
    bool buildInto(const ParsedFile& f, const pugi::xml_node& parent, Control* into,
                   std::vector<std::unique_ptr<Control>>& out) {
        inProgress_.push_back(f.name);
        bool ok = true;
        for (auto node : parent.children()) {
            if (node.type() != pugi::node_element)
                continue;
            if (!buildElement(f, node, into, out)) {
                ok = false;
                break;
            }
        }
        inProgress_.pop_back();
        return ok;
    }

    bool buildElement(const ParsedFile& f, const pugi::xml_node& node, Control* into,
                      std::vector<std::unique_ptr<Control>>& out) {
        std::string element = lower(node.name());
        if (element == "include")
            return include(f, node);
        if (element == "childlayout")
            return childLayout(f, node, out);
        auto control = factory_.make(text::fromUtf8(node.name()));
        if (!control) {
            if (into && !into->isContainer())
                return item(f, node, *into);
            return fail(f, node, L"unknown control '" + text::fromUtf8(node.name()) + L"'"), false;
        }
        if (into && !into->isContainer())
            return fail(f, node, L"'" + into->className() + L"' cannot hold controls"), false;
        if (!applyAttributes(f, node, *control))
            return false;
        control->setLayoutSource(f.name);
        std::vector<std::unique_ptr<Control>> children;
        if (!buildInto(f, node, control.get(), children))
            return false;
        for (auto& c : children)
            control->add(std::move(c));
        out.push_back(std::move(control));
        return true;
    }

    bool applyAttributes(const ParsedFile& f, const pugi::xml_node& node, Control& control) {
        // Lowest first: the class's defaults, the named style, the element's own attributes.
        if (auto it = defaults_.find(text::toLower(control.className())); it != defaults_.end())
            if (!applyStyle(it->second, control))
                return false;
        if (auto styleName = node.attribute("style")) {
            auto it = styles_.find(text::toLower(text::fromUtf8(styleName.value())));
            if (it == styles_.end())
                return fail(f, node, L"unknown style '" + text::fromUtf8(styleName.value()) + L"'"), false;
            if (!applyStyle(it->second, control))
                return false;
        }
        for (auto attr : node.attributes()) {
            std::string name = lower(attr.name());
            if (name == "style")
                continue;
            auto value = text::fromUtf8(attr.value());
            switch (control.setAttribute(name, value)) {
            case AttrResult::Ok:
                break;
            case AttrResult::Unknown:
                return fail(f, node,
                            L"unknown attribute '" + text::fromUtf8(attr.name()) + L"' on '" +
                                control.className() + L"'"),
                       false;
            case AttrResult::BadValue:
                return fail(f, node,
                            L"bad value '" + value + L"' of attribute '" + text::fromUtf8(attr.name()) +
                                L"'"),
                       false;
            }
        }
        if (control.font() >= 0 && std::none_of(fonts.begin(), fonts.end(),
                                                [&](const FontInfo& fi) { return fi.id == control.font(); }))
            return fail(f, node, L"font " + std::to_wstring(control.font()) + L" is not defined"), false;
        return true;
    }

    // Style attributes a class does not know are left out: one style serves several classes.
    bool applyStyle(const Style& style, Control& control) {
        for (auto& a : style.attrs)
            if (control.setAttribute(a.name, a.value) == AttrResult::BadValue) {
                error =
                    LoadError{style.file, a.line,
                              L"bad value '" + a.value + L"' of attribute '" + text::fromUtf8(a.name) + L"'"};
                return false;
            }
        return true;
    }

    bool item(const ParsedFile& f, const pugi::xml_node& node, Control& into) {
        std::map<std::string, std::wstring> attrs;
        for (auto a : node.attributes())
            attrs[lower(a.name())] = text::fromUtf8(a.value());
        switch (into.addItem(lower(node.name()), attrs)) {
        case AttrResult::Ok:
            return true;
        case AttrResult::Unknown:
            return fail(f, node,
                        L"'" + text::fromUtf8(node.name()) + L"' cannot be placed in '" + into.className() +
                            L"'"),
                   false;
        case AttrResult::BadValue:
            return fail(f, node, L"bad attributes of '" + text::fromUtf8(node.name()) + L"'"), false;
        }
        return false;
    }

    bool childLayout(const ParsedFile& f, const pugi::xml_node& node,
                     std::vector<std::unique_ptr<Control>>& out) {
        std::wstring name, source;
        for (auto a : node.attributes()) {
            std::string n = lower(a.name());
            if (n == "name")
                name = text::fromUtf8(a.value());
            else if (n == "source")
                source = text::fromUtf8(a.value());
            else
                return fail(f, node,
                            L"unknown attribute '" + text::fromUtf8(a.name()) + L"' on 'ChildLayout'"),
                       false;
        }
        if (name.empty() && source.empty())
            return fail(f, node, L"ChildLayout needs a name or a source"), false;
        if (source.empty())
            source = name + L".xml";
        inProgress_.push_back(f.name);
        auto child = loadFile(source, &f, f.lineOf(node), false);
        inProgress_.pop_back();
        if (!child)
            return false;
        if (!name.empty())
            child->setName(name);
        out.push_back(std::move(child));
        return true;
    }

    bool include(const ParsedFile& f, const pugi::xml_node& node) {
        auto source = node.attribute("source");
        if (!source || std::distance(node.attributes_begin(), node.attributes_end()) != 1)
            return fail(f, node, L"Include takes one attribute, source"), false;
        auto file = text::fromUtf8(source.value());
        inProgress_.push_back(f.name);
        auto parsed = open(file, &f, f.lineOf(node));
        inProgress_.pop_back();
        return parsed && readConfig(*parsed);
    }

    // config.xml: <Config> with Font, Default (by class) and Style (by name) elements.
    bool readConfig(const ParsedFile& f) {
        auto root = f.doc.document_element();
        if (lower(root.name()) != "config")
            return fail(f, root, L"the root element of an included file must be Config"), false;
        for (auto node : root.children()) {
            if (node.type() != pugi::node_element)
                continue;
            std::string element = lower(node.name());
            if (element == "font") {
                if (!readFont(f, node))
                    return false;
            } else if (element == "default" || element == "style") {
                std::wstring key;
                Style style{f.name, {}};
                const char* keyAttr = element == "default" ? "class" : "name";
                for (auto a : node.attributes()) {
                    std::string n = lower(a.name());
                    if (n == keyAttr)
                        key = text::toLower(text::fromUtf8(a.value()));
                    else
                        style.attrs.push_back({n, text::fromUtf8(a.value()), f.lineOf(node)});
                }
                if (key.empty())
                    return fail(f, node,
                                L"'" + text::fromUtf8(node.name()) + L"' needs " + text::fromUtf8(keyAttr)),
                           false;
                (element == "default" ? defaults_ : styles_)[key] = std::move(style);
            } else
                return fail(f, node, L"unknown element '" + text::fromUtf8(node.name()) + L"' in Config"),
                       false;
        }
        return true;
    }

    bool readFont(const ParsedFile& f, const pugi::xml_node& node) {
        FontInfo font;
        bool hasId = false;
        for (auto a : node.attributes()) {
            std::string n = lower(a.name());
            auto v = text::fromUtf8(a.value());
            std::optional<bool> b;
            if (n == "id") {
                auto id = parseInt(v);
                if (!id || *id < 0)
                    return fail(f, node, L"bad font id '" + v + L"'"), false;
                font.id = *id;
                hasId = true;
                continue;
            }
            if (n == "name") {
                font.face = v;
                continue;
            }
            if (n == "size") {
                auto s = parseInt(v);
                if (!s || *s <= 0)
                    return fail(f, node, L"bad font size '" + v + L"'"), false;
                font.size = *s;
                continue;
            }
            bool* flag = n == "bold"        ? &font.bold
                         : n == "italic"    ? &font.italic
                         : n == "underline" ? &font.underline
                         : n == "default"   ? &font.isDefault
                                            : nullptr;
            if (!flag)
                return fail(f, node, L"unknown attribute '" + text::fromUtf8(a.name()) + L"' on 'Font'"),
                       false;
            if (!(b = parseBool(v)))
                return fail(f, node,
                            L"bad value '" + v + L"' of attribute '" + text::fromUtf8(a.name()) + L"'"),
                       false;
            *flag = *b;
        }
        if (!hasId)
            return fail(f, node, L"Font needs an id"), false;
        std::erase_if(fonts, [&](const FontInfo& fi) { return fi.id == font.id; });
        fonts.push_back(std::move(font));
        return true;
    }

    const LayoutReader& reader_;
    const ControlFactory& factory_;
    std::vector<std::wstring> inProgress_;
    std::map<std::wstring, Style> defaults_;
    std::map<std::wstring, Style> styles_;
};

} // namespace

std::wstring LoadError::describe() const {
    return line > 0 ? file + L":" + std::to_wstring(line) + L": " + message : file + L": " + message;
}

LayoutLoader::LayoutLoader(const LayoutReader& reader, const ControlFactory& factory,
                           TranslationSource* translations)
    : reader_(reader), factory_(factory), translations_(translations) {}

LoadedWindow LayoutLoader::loadWindow(std::wstring_view file) const {
    Build build(reader_, factory_);
    auto root = build.loadFile(file, nullptr, 0, true);
    if (!root || build.error)
        return {nullptr, build.error ? build.error : LoadError{std::wstring(file), 0, L"no window"}};
    if (!dynamic_cast<Window*>(root.get()))
        return {nullptr, LoadError{std::wstring(file), 1, L"the root element must be Window"}};
    std::unique_ptr<Window> window(static_cast<Window*>(root.release()));
    window->setFonts(std::move(build.fonts));
    applyTranslations(*window, translations_);
    return {std::move(window), std::nullopt};
}

} // namespace ui
