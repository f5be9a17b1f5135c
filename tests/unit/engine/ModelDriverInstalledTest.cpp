// Whether the main page starts with the removal: a driver named exactly like one of the
// manufacturer's models, in this machine's environment.
#include "engine/printers/ModelDriverInstalled.h"
#include "unit/engine/InstallRig.h"

namespace {

using engine_test::InstallRig;

TEST(ModelDriverInstalled, OnlyAnExactModelNameInThisEnvironmentCounts) {
    struct Case {
        const char* driver;
        const char* environment;
        bool installed;
    };
    const Case cases[] = {
        {"JN-2232T", "Windows x64", true},
        {"jn-2232t", "Windows x64", false},            // the comparison is exact
        {"JN-2232T", "Windows NT x86", false},         // another environment's driver
        {"Generic / Text Only", "Windows x64", false}, // not one of the models
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.driver) + " for " + c.environment);
        InstallRig rig;
        rig.machine.machine().write([&](sim::Json& s) {
            s["spooler"]["drivers"].push_back({{"name", c.driver}, {"environment", c.environment}});
        });
        EXPECT_EQ(engine::ModelDriverInstalled(rig.app, rig.catalogueDoc, L"CorvaneEx"), c.installed);
        EXPECT_FALSE(engine::ModelDriverInstalled(rig.app, rig.catalogueDoc, L"NoSuchMaker"));
    }
    InstallRig failing;
    failing.machine.machine().write([](sim::Json& s) {
        s["spooler"]["drivers"].push_back({{"name", "JN-2232T"}, {"environment", "Windows x64"}});
    });
    failing.fail("EnumPrinterDriversW", ports::winerr::AccessDenied);
    EXPECT_FALSE(engine::ModelDriverInstalled(failing.app, failing.catalogueDoc, L"CorvaneEx"));
}

} // namespace
