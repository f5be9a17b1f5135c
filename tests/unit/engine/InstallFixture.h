#pragma once
// A simulated machine set up for the install routines: the shipped catalogue, a chosen model
// (JN-2264T of CorvaneEx) with its driver already known to the spooler, the session and a message
// log that records what the routines report. Error texts are the machine's own.
#include "app/ErrorText.h"
#include "app/msglog/RecordingMessageLog.h"
#include "base/Utf.h"
#include "catalogue/DriverCatalogue.h"
#include "catalogue/LoadXmlResource.h"
#include "engine/install/InstallContext.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace engine_test {

class InstallFixture : public ::testing::Test {
protected:
    InstallFixture() {
        catalogue::LoadXmlResource(testing_support::programResources(), machine.platform().system(), 131,
                                   catalogueDoc);
        session.manufacturer.Name = L"CorvaneEx";
        session.chosen.driverNode = catalogue::FindDriver(L"CorvaneEx", L"JN-2264T", catalogueDoc);
        session.chosen.modelName = L"JN-2264T";
        session.chosen.printerName = L"JN-2264T (shop)";
    }

    // Makes `operation` fail with `code` for its next `count` calls.
    void failNext(const std::string& operation, std::uint32_t code, int count = 1) {
        machine.machine().write([&](sim::Json& s) {
            s["faults"].push_back({{"operation", operation}, {"code", code}, {"count", count}});
        });
    }
    // Faults not yet used up (an injected fault still there shows its call was never made).
    std::size_t faultsLeft() {
        std::size_t n = 0;
        machine.machine().read(
            [&](const sim::Json& s) { n = s.contains("faults") ? s["faults"].size() : 0; });
        return n;
    }
    // The spooler knows the chosen model's driver (as after a driver installation).
    void addChosenDriver() {
        machine.machine().write([&](sim::Json& s) {
            s["spooler"]["drivers"].push_back({{"name", text::toUtf8(session.chosen.modelName)},
                                               {"environment", "Windows x64"},
                                               {"version", 3}});
        });
    }
    void addTcpIpPort(const std::string& name) {
        machine.machine().write([&](sim::Json& s) {
            s["spooler"]["ports"].push_back({{"name", name}, {"monitor", "Standard TCP/IP Port"}});
        });
    }
    // A port's state record, or none.
    std::optional<sim::Json> port(const std::string& name) {
        std::optional<sim::Json> found;
        machine.machine().read([&](const sim::Json& s) {
            for (const auto& p : s["spooler"]["ports"])
                if (p.value("name", "") == name)
                    found = p;
        });
        return found;
    }
    std::optional<ports::PrinterInfo2> printer(std::wstring_view name) {
        std::vector<ports::PrinterInfo2> list;
        EXPECT_EQ(machine.platform().spooler().enumPrinters2(ports::spool::EnumLocal, list), 0u);
        for (auto& p : list)
            if (p.printerName == name)
                return p;
        return std::nullopt;
    }
    // The message a routine gives for a failed call: the format filled with the code and its text.
    std::wstring failure(std::wstring_view format, std::wstring_view what, std::uint32_t code) {
        return text::format(format, what, static_cast<int>(code), errorText(code));
    }
    std::wstring errorText(std::uint32_t code) {
        return app::systemErrorText(machine.platform().system(), code);
    }

    testing_support::TestMachine machine;
    msglog::RecordingMessageLog log;
    app::AppContext app{.platform = machine.platform(), .systemErrorText = [this](std::uint32_t code) {
                            return app::systemErrorText(machine.platform().system(), code);
                        }};
    catalogue::XmlDocument catalogueDoc;
    SetupSession session;
    engine::InstallContext ctx{app, session, catalogueDoc};
};

} // namespace engine_test
