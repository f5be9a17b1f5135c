#include "platform/sim/SimJson.h"

#include "base/Compare.h"
#include "base/Utf.h"

#include <cstdlib>

namespace sim {

std::string u8(std::wstring_view text) {
    return text::toUtf8(text);
}

std::wstring wide(std::string_view text) {
    return text::fromUtf8(text);
}

const Json& memberOf(const Json& obj, const char* key) {
    static const Json null;
    if (!obj.is_object())
        return null;
    auto it = obj.find(key);
    return it == obj.end() ? null : *it;
}

std::wstring textOf(const Json& obj, const char* key, std::wstring_view def) {
    const Json& v = memberOf(obj, key);
    return v.is_string() ? wide(v.get<std::string>()) : std::wstring(def);
}

ports::NullableText nullableOf(const Json& obj, const char* key) {
    const Json& v = memberOf(obj, key);
    if (!v.is_string())
        return std::nullopt;
    return wide(v.get<std::string>());
}

Json fromNullable(const ports::NullableText& value) {
    return value ? Json(u8(*value)) : Json(nullptr);
}

std::uint64_t numberOf(const Json& obj, const char* key, std::uint64_t def) {
    const Json& v = memberOf(obj, key);
    if (v.is_number_unsigned())
        return v.get<std::uint64_t>();
    if (v.is_number_integer())
        return static_cast<std::uint64_t>(v.get<std::int64_t>());
    if (v.is_string()) {
        const std::string s = v.get<std::string>();
        char* end = nullptr;
        const unsigned long long n = std::strtoull(s.c_str(), &end, 0);
        if (end && end != s.c_str() && *end == 0)
            return n;
    }
    return def;
}

bool flagOf(const Json& obj, const char* key, bool def) {
    const Json& v = memberOf(obj, key);
    return v.is_boolean() ? v.get<bool>() : def;
}

std::vector<std::wstring> textsOf(const Json& obj, const char* key) {
    const Json& v = memberOf(obj, key);
    std::vector<std::wstring> out;
    if (v.is_string())
        out.push_back(wide(v.get<std::string>()));
    else if (v.is_array()) {
        for (const auto& e : v) {
            if (e.is_string())
                out.push_back(wide(e.get<std::string>()));
        }
    }
    return out;
}

Json fromTexts(const std::vector<std::wstring>& texts) {
    Json a = Json::array();
    for (const auto& t : texts)
        a.push_back(u8(t));
    return a;
}

Json& objectAt(Json& obj, const char* key) {
    Json& v = obj[key];
    if (!v.is_object())
        v = Json::object();
    return v;
}

Json& arrayAt(Json& obj, const char* key) {
    Json& v = obj[key];
    if (!v.is_array())
        v = Json::array();
    return v;
}

namespace {
bool nameMatches(const Json& e, const char* key, std::wstring_view name) {
    const Json& v = memberOf(e, key);
    return v.is_string() && text::equalsNoCase(wide(v.get<std::string>()), name);
}
} // namespace

Json* findNamed(Json& array, const char* key, std::wstring_view name) {
    if (!array.is_array())
        return nullptr;
    for (auto& e : array) {
        if (nameMatches(e, key, name))
            return &e;
    }
    return nullptr;
}

const Json* findNamed(const Json& array, const char* key, std::wstring_view name) {
    if (!array.is_array())
        return nullptr;
    for (const auto& e : array) {
        if (nameMatches(e, key, name))
            return &e;
    }
    return nullptr;
}

Json* findMember(Json& obj, std::wstring_view name) {
    if (!obj.is_object())
        return nullptr;
    for (auto it = obj.begin(); it != obj.end(); ++it) {
        if (text::equalsNoCase(wide(it.key()), name))
            return &*it;
    }
    return nullptr;
}

const Json* findMember(const Json& obj, std::wstring_view name) {
    if (!obj.is_object())
        return nullptr;
    for (auto it = obj.begin(); it != obj.end(); ++it) {
        if (text::equalsNoCase(wide(it.key()), name))
            return &*it;
    }
    return nullptr;
}

bool eraseNamed(Json& array, const char* key, std::wstring_view name) {
    if (!array.is_array())
        return false;
    for (std::size_t i = 0; i < array.size(); ++i) {
        if (nameMatches(array[i], key, name)) {
            array.erase(i);
            return true;
        }
    }
    return false;
}

std::string hexOf(const std::vector<std::uint8_t>& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (auto b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::vector<std::uint8_t> bytesOfHex(std::string_view hex) {
    auto digit = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : -1;
    };
    std::vector<std::uint8_t> out;
    int high = -1;
    for (char c : hex) {
        const int d = digit(c);
        if (d < 0)
            continue; // blanks and separators are allowed
        if (high < 0) {
            high = d;
        } else {
            out.push_back(static_cast<std::uint8_t>(high * 16 + d));
            high = -1;
        }
    }
    return out;
}

namespace {

struct TypeName {
    std::uint32_t type;
    const char* name;
};
constexpr TypeName kTypes[] = {
    {ports::regtype::None, "REG_NONE"},          {ports::regtype::Sz, "REG_SZ"},
    {ports::regtype::ExpandSz, "REG_EXPAND_SZ"}, {ports::regtype::Binary, "REG_BINARY"},
    {ports::regtype::Dword, "REG_DWORD"},        {ports::regtype::MultiSz, "REG_MULTI_SZ"},
    {ports::regtype::Qword, "REG_QWORD"}};

std::string typeName(std::uint32_t type) {
    for (const auto& t : kTypes) {
        if (t.type == type)
            return t.name;
    }
    return std::to_string(type);
}

std::uint32_t typeOf(const Json& v) {
    const Json& t = memberOf(v, "type");
    if (t.is_number_integer())
        return t.get<std::uint32_t>();
    const std::string name = t.is_string() ? t.get<std::string>() : "REG_NONE";
    for (const auto& k : kTypes) {
        if (name == k.name)
            return k.type;
    }
    return ports::regtype::None;
}

bool isText(std::uint32_t type) {
    return type == ports::regtype::Sz || type == ports::regtype::ExpandSz;
}

} // namespace

Json regToJson(const ports::RegValue& value) {
    Json out{{"type", typeName(value.type)}};
    const auto& b = value.bytes;
    if (isText(value.type) && b.size() % 2 == 0) {
        std::size_t units = b.size() / 2;
        const bool nul = units > 0 && b[b.size() - 2] == 0 && b[b.size() - 1] == 0;
        const std::wstring t = ports::textFromUtf16le(b);
        // Only when the text gives back exactly these bytes.
        if (ports::utf16leBytes(t).size() == (nul ? b.size() - 2 : b.size())) {
            out["value"] = u8(t);
            if (nul)
                out["nul"] = true;
            return out;
        }
        (void)units;
    }
    if (value.type == ports::regtype::Dword && b.size() == 4) {
        out["value"] = value.asDword();
        return out;
    }
    if (value.type == ports::regtype::Qword && b.size() == 8) {
        std::uint64_t q = 0;
        for (int i = 7; i >= 0; --i)
            q = (q << 8) | b[static_cast<std::size_t>(i)];
        out["value"] = q;
        return out;
    }
    if (value.type == ports::regtype::MultiSz &&
        ports::RegValue::fromMultiString(value.asMultiString()).bytes == b) {
        out["value"] = fromTexts(value.asMultiString());
        return out;
    }
    out["hex"] = hexOf(b);
    return out;
}

ports::RegValue regFromJson(const Json& v) {
    ports::RegValue out;
    out.type = typeOf(v);
    const Json& hex = memberOf(v, "hex");
    if (hex.is_string()) {
        out.bytes = bytesOfHex(hex.get<std::string>());
        return out;
    }
    const Json& value = memberOf(v, "value");
    if (isText(out.type)) {
        out.bytes = ports::utf16leBytes(value.is_string() ? wide(value.get<std::string>()) : std::wstring());
        if (flagOf(v, "nul"))
            out.bytes.insert(out.bytes.end(), {0, 0});
    } else if (out.type == ports::regtype::Dword) {
        out.bytes = ports::RegValue::fromDword(static_cast<std::uint32_t>(numberOf(v, "value"))).bytes;
    } else if (out.type == ports::regtype::Qword) {
        const std::uint64_t q = numberOf(v, "value");
        for (int i = 0; i < 8; ++i)
            out.bytes.push_back(static_cast<std::uint8_t>(q >> (8 * i)));
    } else if (out.type == ports::regtype::MultiSz) {
        out.bytes = ports::RegValue::fromMultiString(textsOf(v, "value")).bytes;
    }
    return out;
}

Json regText(std::wstring_view text) {
    return Json{{"type", "REG_SZ"}, {"value", u8(text)}, {"nul", true}};
}

Json regDword(std::uint32_t value) {
    return Json{{"type", "REG_DWORD"}, {"value", value}};
}

std::uint32_t hashNoCase(std::wstring_view text) {
    std::uint32_t h = 2166136261u;
    for (wchar_t c : text) {
        const auto u = static_cast<std::uint32_t>(text::upperOrdinal(c));
        for (int i = 0; i < 4 && (i < 2 || u > 0xFFFF); ++i) {
            h ^= (u >> (8 * i)) & 0xFF;
            h *= 16777619u;
        }
    }
    return h;
}

} // namespace sim
