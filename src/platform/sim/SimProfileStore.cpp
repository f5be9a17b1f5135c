#include "platform/sim/SimProfileStore.h"

#include "base/Compare.h"
#include "base/Utf.h"

namespace sim {
namespace winerr = ports::winerr;
using ports::Status;

namespace {

// The member of `obj` whose name equals `name` ignoring case, or end().
template <typename J> auto findNoCase(J& obj, const std::string& name) {
    if (!obj.is_object())
        return obj.end();
    const std::wstring wanted = text::fromUtf8(name);
    for (auto it = obj.begin(); it != obj.end(); ++it) {
        if (text::equalsNoCase(text::fromUtf8(it.key()), wanted))
            return it;
    }
    return obj.end();
}

const Json* findValue(const Json& state, const std::string& key, const std::string& name) {
    auto profile = state.find("profile");
    if (profile == state.end())
        return nullptr;
    auto k = findNoCase(*profile, key);
    if (k == profile->end())
        return nullptr;
    auto v = findNoCase(*k, name);
    return v == k->end() ? nullptr : &*v;
}

Status setValue(Json& state, const std::string& key, const std::string& name, Json value) {
    if (Status fault = SimMachine::takeFault(state, "RegSetValueEx"))
        return fault;
    Json& profile = state["profile"];
    if (!profile.is_object())
        profile = Json::object();
    auto k = findNoCase(profile, key);
    Json& values = k == profile.end() ? profile[key] : *k;
    if (!values.is_object())
        values = Json::object();
    auto v = findNoCase(values, name);
    if (v != values.end())
        *v = std::move(value);
    else
        values[name] = std::move(value);
    return winerr::Success;
}

} // namespace

SimProfileStore::SimProfileStore(SimMachine& machine, std::wstring company, std::wstring application)
    : machine_(machine), company_(std::move(company)), application_(std::move(application)) {}

void SimProfileStore::setApplicationKey(std::wstring_view company, std::wstring_view application) noexcept {
    company_ = company;
    application_ = application;
}

std::string SimProfileStore::keyPath(std::wstring_view section) const {
    return text::toUtf8(L"software\\" + company_ + L"\\" + application_ + L"\\" + std::wstring(section));
}

std::int32_t SimProfileStore::readInt(std::wstring_view section, std::wstring_view name,
                                      std::int32_t def) noexcept {
    return machine_.read([&](const Json& s) {
        const Json* v = findValue(s, keyPath(section), text::toUtf8(name));
        if (!v || v->value("type", "") != "REG_DWORD" || !(*v)["value"].is_number_integer())
            return def;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>((*v)["value"].get<std::int64_t>()));
    });
}

std::wstring SimProfileStore::readString(std::wstring_view section, std::wstring_view name,
                                         std::wstring_view def) noexcept {
    return machine_.read([&](const Json& s) {
        const Json* v = findValue(s, keyPath(section), text::toUtf8(name));
        if (!v || v->value("type", "") != "REG_SZ" || !(*v)["value"].is_string())
            return std::wstring(def);
        return text::fromUtf8((*v)["value"].get<std::string>());
    });
}

Status SimProfileStore::writeInt(std::wstring_view section, std::wstring_view name,
                                 std::int32_t value) noexcept {
    return machine_.write([&](Json& s) {
        return setValue(s, keyPath(section), text::toUtf8(name),
                        Json{{"type", "REG_DWORD"}, {"value", static_cast<std::uint32_t>(value)}});
    });
}

Status SimProfileStore::writeString(std::wstring_view section, std::wstring_view name,
                                    std::optional<std::wstring_view> textValue) noexcept {
    return machine_.write([&](Json& s) -> Status {
        if (textValue)
            return setValue(s, keyPath(section), text::toUtf8(name),
                            Json{{"type", "REG_SZ"}, {"value", text::toUtf8(*textValue)}});
        if (Status fault = SimMachine::takeFault(s, "RegDeleteValue"))
            return fault;
        auto profile = s.find("profile");
        if (profile == s.end())
            return winerr::Success;
        auto k = findNoCase(*profile, keyPath(section));
        if (k == profile->end())
            return winerr::Success;
        auto v = findNoCase(*k, text::toUtf8(name));
        if (v != k->end())
            k->erase(v);
        return winerr::Success;
    });
}

} // namespace sim
