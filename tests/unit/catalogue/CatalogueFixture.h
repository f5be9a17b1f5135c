#pragma once
// Small XML fixtures loaded the way start-up loads the embedded resources: through LoadXmlResource
// from a stand-in resource table, with the debugger output of a simulated machine.
#include "base/Utf.h"
#include "catalogue/LoadXmlResource.h"
#include "catalogue/XmlDocument.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace catalogue_test {

// Resources of type "XML" only, so a request for another type finds nothing.
class XmlResources final : public ports::Resources {
public:
    void add(std::uint16_t id, std::string bytes) { entries_[id] = std::move(bytes); }
    // Found, but the module gives no bytes for it.
    void addUnreadable(std::uint16_t id) { entries_[id] = std::nullopt; }

    std::optional<std::span<const std::uint8_t>> find(std::wstring_view type,
                                                      std::uint16_t id) noexcept override {
        const auto it = entries_.find(id);
        if (type != L"XML" || it == entries_.end())
            return std::nullopt;
        if (!it->second)
            return std::span<const std::uint8_t>();
        const std::string& bytes = *it->second;
        // A real pointer even for an empty resource: found and readable, but of size 0.
        return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             bytes.size());
    }

private:
    std::map<std::uint16_t, std::optional<std::string>> entries_;
};

class CatalogueFixture : public ::testing::Test {
protected:
    // Parses xml into doc as resource id and returns the debugger lines the load wrote.
    std::vector<std::wstring> load(catalogue::XmlDocument& doc, std::string xml, std::uint16_t id = 131) {
        resources.add(id, std::move(xml));
        return loadAgain(doc, id);
    }

    // Loads resource id as it stands now and returns the debugger lines the load wrote.
    std::vector<std::wstring> loadAgain(catalogue::XmlDocument& doc, std::uint16_t id = 131) {
        const std::size_t before = machine.platform().simSystem().debugLines().size();
        catalogue::LoadXmlResource(resources, machine.platform().system(), id, doc);
        auto lines = machine.platform().simSystem().debugLines();
        lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(before));
        return lines;
    }

    testing_support::TestMachine machine;
    XmlResources resources;
};

} // namespace catalogue_test
