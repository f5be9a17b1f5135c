// Host paths of the simulated machine with names outside ASCII: on Windows they must be built from
// UTF-16 (mingw's C++ library would read a narrow name in the ANSI code page). Runs in both
// suites: on Linux and in the Windows test executable under Wine.
#include "support/TestMachine.h"

#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimProfileStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace winerr = ports::winerr;

TEST(SimUnicodePaths, AStateFileAndDriveFilesWithChineseAndAccentedNamesOpenChangeAndReadBack) {
    testing_support::TempFolder folder;
    const fs::path dir = folder.path() / fs::path(u8"机器 Café");
    fs::create_directories(dir);
    const fs::path file = dir / fs::path(u8"état 状态.json");
    const std::wstring printerFile = L"C:\\Drivers\\\u6807\u7B7E \u00C9tiquette\\JN-2203T \u00FC.prn";
    const std::wstring printer = L"\u6807\u7B7E Caf\u00E9";
    {
        ports::Status status = 0;
        auto machine = sim::SimMachine::openFile(file, status); // a new file, from the demo machine
        ASSERT_TRUE(machine) << status;
        sim::SimFileSystem files(*machine);
        ASSERT_EQ(files.createDirectories(L"C:\\Drivers\\\u6807\u7B7E \u00C9tiquette"), winerr::Success);
        ASSERT_EQ(files.writeFile(printerFile, std::vector<std::uint8_t>{'Z', 'P'}), winerr::Success);
        sim::SimProfileStore profile(*machine, L"ZEVR", L"Orvello");
        ASSERT_EQ(profile.writeString(L"SetupMode", L"SetupPrinter", printer), winerr::Success);
    }
    EXPECT_TRUE(fs::is_regular_file(file));
    EXPECT_TRUE(
        fs::is_directory(fs::path(file).concat(".drive") / "C" / "Drivers" / fs::path(u8"标签 Étiquette")));

    // Opened again: the same state and the same file, found by name and in the folder's listing.
    ports::Status status = 0;
    auto machine = sim::SimMachine::openFile(file, status);
    ASSERT_TRUE(machine) << status;
    sim::SimFileSystem files(*machine);
    std::vector<std::uint8_t> bytes;
    ASSERT_EQ(files.readFile(printerFile, bytes), winerr::Success);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{'Z', 'P'}));
    std::vector<ports::FileEntry> entries;
    ASSERT_EQ(files.listDirectory(L"C:\\Drivers\\\u6807\u7B7E \u00C9tiquette", entries), winerr::Success);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, L"JN-2203T \u00FC.prn");
    // Another case of the ASCII letters still finds it, as Windows does.
    EXPECT_TRUE(files.fileExists(L"c:\\drivers\\\u6807\u7B7E \u00C9TIQUETTE\\jn-2203t \u00FC.PRN"));
    sim::SimProfileStore profile(*machine, L"ZEVR", L"Orvello");
    EXPECT_EQ(profile.readString(L"SetupMode", L"SetupPrinter", L""), printer);

    // Changed and read back once more.
    ASSERT_EQ(files.deleteFile(printerFile), winerr::Success);
    auto third = sim::SimMachine::openFile(file, status);
    ASSERT_TRUE(third) << status;
    EXPECT_FALSE(sim::SimFileSystem(*third).fileExists(printerFile));
}

} // namespace
