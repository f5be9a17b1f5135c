#include "platform/sim/SimStateCheck.h"

#include <initializer_list>
#include <string>

namespace sim {
namespace {

// The JSON shapes a member may have.
enum class Shape {
    Text,     // a string
    Nullable, // a string or null
    Texts,    // an array of strings, or one string
    Number,   // a number, or a text such as "0x0A40"
    Integer,  // a JSON integer only
    Flag,     // a boolean
    Object,   // any object
    Array,    // any array
    Reg,      // a registry-style value: an object whose "type" is a text or a number
    RegKeys,  // an object of objects of registry-style values
    Any,
};

struct Member {
    const char* name;
    Shape shape;
};

// What an entry of a list is: an object with a text `key` and members of these shapes.
struct Entry {
    const char* key; // required text member; nullptr when none is required
    std::initializer_list<Member> members;
};

const char* shapeName(Shape s) {
    switch (s) {
    case Shape::Text:
        return "a text";
    case Shape::Nullable:
        return "a text or null";
    case Shape::Texts:
        return "a list of texts";
    case Shape::Number:
        return "a number";
    case Shape::Integer:
        return "an integer";
    case Shape::Flag:
        return "true or false";
    case Shape::Object:
    case Shape::Reg:
    case Shape::RegKeys:
        return "an object";
    case Shape::Array:
        return "a list";
    case Shape::Any:
        return "anything";
    }
    return "?";
}

bool isReg(const Json& v) {
    if (!v.is_object())
        return false;
    auto t = v.find("type");
    return t == v.end() || t->is_string() || t->is_number_integer();
}

bool fits(const Json& v, Shape s) {
    switch (s) {
    case Shape::Text:
        return v.is_string();
    case Shape::Nullable:
        return v.is_string() || v.is_null();
    case Shape::Texts:
        if (v.is_string())
            return true;
        if (!v.is_array())
            return false;
        for (const auto& e : v)
            if (!e.is_string())
                return false;
        return true;
    case Shape::Number:
        return v.is_number() || v.is_string();
    case Shape::Integer:
        return v.is_number_integer();
    case Shape::Flag:
        return v.is_boolean();
    case Shape::Object:
        return v.is_object();
    case Shape::Array:
        return v.is_array();
    case Shape::Reg:
        return isReg(v);
    case Shape::RegKeys:
        if (!v.is_object())
            return false;
        for (const auto& [key, values] : v.items()) {
            if (!values.is_object())
                return false;
            for (const auto& [name, value] : values.items())
                if (!isReg(value))
                    return false;
        }
        return true;
    case Shape::Any:
        return true;
    }
    return false;
}

class Checker {
public:
    explicit Checker(const std::function<void(std::string_view)>& log) : log_(log) {}
    bool dropped() const { return dropped_; }

    void drop(const std::string& where, const char* why) {
        dropped_ = true;
        if (log_)
            log_("state: " + where + " passed over: " + why);
    }

    // The members of `obj` that have a known name but not their shape.
    void members(Json& obj, const std::string& where, std::initializer_list<Member> known) {
        for (const auto& m : known) {
            auto it = obj.find(m.name);
            if (it == obj.end() || fits(*it, m.shape))
                continue;
            drop(where + "." + m.name, (std::string("not ") + shapeName(m.shape)).c_str());
            obj.erase(it);
        }
    }

    // A section that must be an object; false (and dropped) when it is something else.
    bool section(Json& parent, const char* name, const std::string& where) {
        auto it = parent.find(name);
        if (it == parent.end())
            return false;
        if (it->is_object())
            return true;
        drop(where + name, "not an object");
        parent.erase(it);
        return false;
    }

    // A list of entries: the list itself, then each entry and its members.
    void list(Json& parent, const char* name, const std::string& where, const Entry& entry) {
        auto it = parent.find(name);
        if (it == parent.end())
            return;
        const std::string here = where + name;
        if (!it->is_array()) {
            drop(here, "not a list");
            parent.erase(it);
            return;
        }
        Json& items = *it;
        for (std::size_t i = items.size(); i-- > 0;) {
            const std::string at = here + "[" + std::to_string(i) + "]";
            Json& e = items[i];
            if (!e.is_object()) {
                drop(at, "not an object");
                items.erase(i);
                continue;
            }
            if (entry.key) {
                auto key = e.find(entry.key);
                if (key == e.end() || !key->is_string()) {
                    drop(at, (std::string("no text \"") + entry.key + "\"").c_str());
                    items.erase(i);
                    continue;
                }
            }
            members(e, at, entry.members);
        }
    }

    // An object whose every member must be an object (services by name, profile keys).
    void objectsByName(Json& obj, const std::string& where) {
        for (auto it = obj.begin(); it != obj.end();) {
            if (it->is_object()) {
                ++it;
                continue;
            }
            drop(where + "." + it.key(), "not an object");
            it = obj.erase(it);
        }
    }

private:
    const std::function<void(std::string_view)>& log_;
    bool dropped_ = false;
};

const Entry kPrinter{"name",
                     {{"port", Shape::Text},
                      {"driver", Shape::Text},
                      {"share", Shape::Nullable},
                      {"comment", Shape::Nullable},
                      {"location", Shape::Nullable},
                      {"sepFile", Shape::Nullable},
                      {"parameters", Shape::Nullable},
                      {"printProcessor", Shape::Text},
                      {"datatype", Shape::Text},
                      {"attributes", Shape::Number},
                      {"priority", Shape::Number},
                      {"defaultPriority", Shape::Number},
                      {"startTime", Shape::Number},
                      {"untilTime", Shape::Number},
                      {"averagePPM", Shape::Number},
                      {"status", Shape::Number},
                      {"jobs", Shape::Number},
                      {"pendingDeletion", Shape::Flag},
                      {"securityDescriptor", Shape::Text},
                      {"devMode", Shape::Text},
                      {"data", Shape::RegKeys},
                      {"queueDevice", Shape::Text},
                      {"objectGuid", Shape::Text},
                      {"dsAction", Shape::Number}}};

const Entry kDriver{"name",
                    {{"environment", Shape::Text},
                     {"version", Shape::Number},
                     {"driverPath", Shape::Nullable},
                     {"dataFile", Shape::Nullable},
                     {"configFile", Shape::Nullable},
                     {"helpFile", Shape::Nullable},
                     {"dependentFiles", Shape::Texts},
                     {"monitor", Shape::Nullable},
                     {"defaultDataType", Shape::Nullable},
                     {"previousNames", Shape::Texts},
                     {"attributes", Shape::Number},
                     {"configVersion", Shape::Number},
                     {"driverVersion", Shape::Number},
                     {"date", Shape::Number},
                     {"versionQuad", Shape::Number},
                     {"manufacturer", Shape::Nullable},
                     {"oemUrl", Shape::Nullable},
                     {"hardwareId", Shape::Nullable},
                     {"provider", Shape::Nullable},
                     {"printProcessor", Shape::Nullable},
                     {"vendorSetup", Shape::Nullable},
                     {"colorProfiles", Shape::Texts},
                     {"infPath", Shape::Nullable},
                     {"printerDriverAttributes", Shape::Number},
                     {"coreDependencies", Shape::Texts},
                     {"minInboxDate", Shape::Number},
                     {"minInboxVersion", Shape::Number},
                     {"papers", Shape::Array},
                     {"dpi", Shape::Number}}};

const Entry kPaper{
    nullptr,
    {{"id", Shape::Number}, {"name", Shape::Text}, {"width", Shape::Number}, {"length", Shape::Number}}};

const Entry kPort{"name", {{"monitor", Shape::Text}, {"type", Shape::Number}, {"tcp", Shape::Object}}};

const Entry kMonitor{"name",
                     {{"environment", Shape::Text},
                      {"dll", Shape::Text},
                      {"portMonitorName", Shape::Text},
                      {"portDescription", Shape::Text},
                      {"portType", Shape::Number}}};

const Entry kForm{
    "name", {{"flags", Shape::Number}, {"cx", Shape::Number}, {"cy", Shape::Number}, {"area", Shape::Array}}};

const Entry kPackage{"infPath", {{"source", Shape::Text}, {"environment", Shape::Text}}};

const Entry kNode{
    "instanceId",
    {{"parent", Shape::Text},         {"present", Shape::Flag},        {"class", Shape::Text},
     {"classGuid", Shape::Text},      {"description", Shape::Text},    {"friendlyName", Shape::Text},
     {"manufacturer", Shape::Text},   {"location", Shape::Text},       {"service", Shape::Text},
     {"driver", Shape::Text},         {"containerId", Shape::Text},    {"hardwareIds", Shape::Texts},
     {"compatibleIds", Shape::Texts}, {"capabilities", Shape::Number}, {"powerData", Shape::Text},
     {"interfaces", Shape::Texts},    {"problem", Shape::Number},      {"status", Shape::Number},
     {"usbName", Shape::Text},        {"deviceKey", Shape::Object},    {"driverKey", Shape::Object},
     {"driverInf", Shape::Text}}};

const Entry kBluetoothDevice{"address",
                             {{"name", Shape::Text},
                              {"classOfDevice", Shape::Number},
                              {"inRange", Shape::Flag},
                              {"paired", Shape::Flag},
                              {"connected", Shape::Flag},
                              {"authMethod", Shape::Text},
                              {"pin", Shape::Text},
                              {"passkey", Shape::Number},
                              {"timeouts", Shape::Number},
                              {"offers", Shape::Texts},
                              {"services", Shape::Texts},
                              {"comPort", Shape::Text},
                              {"spoolerSeesPortAtOnce", Shape::Flag}}};

const Entry kFault{"operation", {{"code", Shape::Number}, {"count", Shape::Number}}};

const Entry kPrinterCommand{nullptr, {{"action", Shape::Number}, {"printer", Shape::Text}}};

// The members of a registry-style key (a node's deviceKey, a profile key) that are no value.
void regValues(Checker& c, Json& key, const std::string& where) {
    for (auto it = key.begin(); it != key.end();) {
        if (isReg(*it)) {
            ++it;
            continue;
        }
        c.drop(where + "." + it.key(), "not a registry-style value");
        it = key.erase(it);
    }
}

} // namespace

bool checkState(Json& state, const std::function<void(std::string_view)>& log) {
    Checker c(log);
    if (!state.is_object()) {
        c.drop("the state", "not an object");
        state = Json::object();
        return true;
    }
    if (c.section(state, "system", "")) {
        c.members(state["system"], "system",
                  {{"architecture", Shape::Text},
                   {"isWow64Process2", Shape::Flag},
                   {"windowsVersion", Shape::Text},
                   {"uiLanguage", Shape::Number},
                   {"codePage", Shape::Number},
                   {"modulePath", Shape::Text},
                   {"computerName", Shape::Text},
                   {"windowsFolder", Shape::Text},
                   {"localTime", Shape::Text},
                   {"winsockVersion", Shape::Text},
                   {"missingLibraries", Shape::Texts},
                   {"missingEntryPoints", Shape::Texts}});
    }
    if (c.section(state, "profile", "")) {
        Json& profile = state["profile"];
        c.objectsByName(profile, "profile");
        for (auto& [path, key] : profile.items())
            regValues(c, key, "profile." + path);
    }
    if (c.section(state, "services", "")) {
        Json& services = state["services"];
        c.objectsByName(services, "services");
        for (auto& [name, service] : services.items())
            c.members(service, "services." + name,
                      {{"state", Shape::Text},
                       {"disabled", Shape::Flag},
                       {"startDelayMs", Shape::Number},
                       {"stopDelayMs", Shape::Number},
                       {"startExitCode", Shape::Number},
                       {"exitCode", Shape::Number},
                       {"pending", Shape::Text},
                       {"pendingUntilMs", Shape::Number}});
    }
    if (c.section(state, "spooler", "")) {
        Json& spooler = state["spooler"];
        c.list(spooler, "printers", "spooler.", kPrinter);
        c.list(spooler, "drivers", "spooler.", kDriver);
        if (spooler.contains("drivers"))
            for (std::size_t i = 0; i < spooler["drivers"].size(); ++i)
                c.list(spooler["drivers"][i], "papers", "spooler.drivers[" + std::to_string(i) + "].",
                       kPaper);
        c.list(spooler, "ports", "spooler.", kPort);
        c.list(spooler, "monitors", "spooler.", kMonitor);
        c.list(spooler, "forms", "spooler.", kForm);
        c.members(spooler, "spooler",
                  {{"defaultPrinter", Shape::Nullable},
                   {"devModeDialog", Shape::Text},
                   {"portDialog", Shape::Object}});
        if (c.section(spooler, "driverStore", "spooler.")) {
            Json& store = spooler["driverStore"];
            c.members(store, "spooler.driverStore", {{"available", Shape::Flag}});
            c.list(store, "packages", "spooler.driverStore.", kPackage);
        }
    }
    if (c.section(state, "devices", "")) {
        Json& devices = state["devices"];
        for (const char* list : {"nodes", "removed"}) {
            c.list(devices, list, "devices.", kNode);
            if (!devices.contains(list))
                continue;
            Json& nodes = devices[list];
            for (std::size_t i = 0; i < nodes.size(); ++i)
                for (const char* key : {"deviceKey", "driverKey"})
                    if (nodes[i].contains(key))
                        regValues(c, nodes[i][key],
                                  std::string("devices.") + list + "[" + std::to_string(i) + "]." + key);
        }
        c.members(devices, "devices",
                  {{"serialComm", Shape::Texts},
                   {"removeNeedsRestart", Shape::Flag},
                   {"updateNeedsRestart", Shape::Flag},
                   {"unifiedProperties", Shape::Flag}});
    }
    if (c.section(state, "bluetooth", "")) {
        Json& bluetooth = state["bluetooth"];
        c.members(bluetooth, "bluetooth",
                  {{"radio", Shape::Object},
                   {"inquiryMs", Shape::Number},
                   {"authenticationFunctions", Shape::Flag}});
        c.list(bluetooth, "devices", "bluetooth.", kBluetoothDevice);
    }
    c.list(state, "faults", "", kFault);
    c.list(state, "printerCommands", "", kPrinterCommand);
    c.members(state, "state",
              {{"commandsRun", Shape::Texts},
               {"shellNotifications", Shape::Texts},
               {"singleInstance", Shape::Object},
               {"hostDrive", Shape::Text}});
    if (state.contains("singleInstance"))
        c.objectsByName(state["singleInstance"], "singleInstance");
    return c.dropped();
}

} // namespace sim
