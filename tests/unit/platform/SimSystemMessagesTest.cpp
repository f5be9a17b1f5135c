// Every Windows error code the simulated machine can give has the system's text, so that a red
// message never ends in an empty description. The codes are read from the ports' own list.
#include "app/ErrorText.h"
#include "base/Utf.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

namespace {

TEST(SimSystemMessages, EveryWindowsCodeOfThePortsHasItsText) {
    std::ifstream in(std::filesystem::path(ORVELLO_SOURCE_DIR) / "src/platform/ports/Status.h");
    const std::string header{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(header.empty());
    // SetupAPI's codes (0xE...) have no text in the system's table on Windows either, nor does the
    // wizard's own Bluetooth code.
    const std::regex code(R"(inline constexpr Status (\w+) = (\d+);)");
    testing_support::TestMachine machine;
    int checked = 0;
    for (std::sregex_iterator i(header.begin(), header.end(), code), end; i != end; ++i) {
        const auto name = (*i)[1].str();
        const auto value = static_cast<std::uint32_t>(std::stoul((*i)[2].str()));
        if (name == "BluetoothAuthUnavailable")
            continue;
        SCOPED_TRACE(name + " " + std::to_string(value));
        EXPECT_FALSE(app::systemErrorText(machine.platform().system(), value).empty());
        ++checked;
    }
    EXPECT_GT(checked, 50);
}

} // namespace
