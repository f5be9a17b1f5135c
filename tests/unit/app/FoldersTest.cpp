// The working folder, the print system's driver folder and emptying a folder.
#include "app/Folders.h"

#include "base/Utf.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using testing_support::TestMachine;
namespace winerr = ports::winerr;

struct Boxes {
    std::vector<std::wstring> shown;
    app::ErrorBox box() {
        return [this](std::wstring_view text, std::wstring_view caption) {
            shown.push_back(std::wstring(caption) + L": " + std::wstring(text));
        };
    }
};

TEST(WorkingFolder, ProgramFilesAsThe32BitProgramSeesIt) {
    for (auto [arch, expected] : {std::pair{"x64", L"C:\\Program Files (x86)\\LabelPrinterDriver\\"},
                                  std::pair{"ARM64", L"C:\\Program Files (x86)\\LabelPrinterDriver\\"},
                                  std::pair{"x86", L"C:\\Program Files\\LabelPrinterDriver\\"}}) {
        sim::Json state = sim::demoMachineState();
        state["system"]["architecture"] = arch;
        TestMachine m(state);
        Boxes boxes;
        EXPECT_EQ(app::workingFolder(m.platform().system(), boxes.box()), expected) << arch;
        EXPECT_TRUE(boxes.shown.empty());
    }
}

TEST(WorkingFolder, AFailureIsShownAndGivesNothing) {
    sim::Json state = sim::demoMachineState();
    state["faults"] = {{{"operation", "SHGetFolderPath"}, {"code", 2}}};
    TestMachine m(state);
    Boxes boxes;
    EXPECT_EQ(app::workingFolder(m.platform().system(), boxes.box()), L"");
    EXPECT_EQ(boxes.shown, std::vector<std::wstring>{L"Error: SHGetSpecialFolderPath failed"});
}

TEST(PrinterDriverFolder, AsksForThisMachinesEnvironmentAndEndsInABackslash) {
    sim::Json state = sim::demoMachineState();
    state["system"]["architecture"] = "ARM64";
    TestMachine m(state);
    std::wstring asked;
    const auto query = [&](std::wstring_view environment, std::wstring& folder) {
        asked = environment;
        folder = L"C:\\Windows\\system32\\spool\\DRIVERS\\ARM64";
        return winerr::Success;
    };
    Boxes boxes;
    EXPECT_EQ(app::printerDriverFolder(m.platform().system(), query, boxes.box()),
              L"C:\\Windows\\system32\\spool\\DRIVERS\\ARM64\\");
    EXPECT_EQ(asked, L"Windows ARM64");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(PrinterDriverFolder, AFailureIsShownAndGivesNothing) {
    TestMachine m;
    const auto failing = [](std::wstring_view, std::wstring& folder) {
        folder = L"partial";
        return winerr::InvalidParameter;
    };
    Boxes boxes;
    EXPECT_EQ(app::printerDriverFolder(m.platform().system(), failing, boxes.box()), L"");
    EXPECT_EQ(boxes.shown, std::vector<std::wstring>{L"Error: GetPrinterDriverDirectory failed"});
}

std::size_t countFiles(ports::FileSystem& fs, const std::wstring& folder) {
    std::vector<ports::FileEntry> entries;
    if (fs.listDirectory(folder, entries) != winerr::Success)
        return 0;
    std::size_t n = 0;
    for (const auto& e : entries)
        n += e.directory ? countFiles(fs, folder + L"\\" + e.name) : 1;
    return n;
}

class DeleteFolderContents : public ::testing::Test {
protected:
    void SetUp() override {
        const std::vector<std::uint8_t> bytes = {1, 2, 3};
        ASSERT_EQ(fs.createDirectories(L"C:\\Work\\Drivers\\amd64\\deep"), winerr::Success);
        ASSERT_EQ(fs.createDirectories(L"C:\\Work\\empty"), winerr::Success);
        for (const wchar_t* f :
             {L"C:\\Work\\a.inf", L"C:\\Work\\Drivers\\devcon64.exe",
              L"C:\\Work\\Drivers\\amd64\\deep\\x.dll", L"C:\\Work\\Drivers\\amd64\\y.dll"})
            ASSERT_EQ(fs.writeFile(f, bytes), winerr::Success);
        ASSERT_EQ(fs.writeFile(L"C:\\Outside.txt", bytes), winerr::Success);
    }

    TestMachine m;
    ports::FileSystem& fs = m.platform().files();
};

TEST_F(DeleteFolderContents, EmptiesTheFolderAndLeavesItWhateverItsEnding) {
    for (const wchar_t* name : {L"C:\\Work", L"C:\\Work\\", L"C:\\Work/"}) {
        SetUp();
        EXPECT_EQ(app::deleteFolderContents(fs, name), winerr::Success) << text::toUtf8(name);
        std::vector<ports::FileEntry> left;
        ASSERT_EQ(fs.listDirectory(L"C:\\Work", left), winerr::Success);
        EXPECT_TRUE(left.empty()) << text::toUtf8(name);
        EXPECT_TRUE(fs.fileExists(L"C:\\Outside.txt"));
    }
}

TEST_F(DeleteFolderContents, WhatCannotBeDeletedStaysAndTheRestGoes) {
    m.machine().write([](sim::Json& s) { s["faults"] = {{{"operation", "DeleteFile"}, {"code", 5}}}; });
    EXPECT_EQ(app::deleteFolderContents(fs, L"C:\\Work"), winerr::Success);
    // Only the one file whose deletion failed is left, with the folders on its way.
    EXPECT_EQ(countFiles(fs, L"C:\\Work"), 1u);
    EXPECT_FALSE(fs.directoryExists(L"C:\\Work\\empty"));
    EXPECT_TRUE(fs.directoryExists(L"C:\\Work"));
}

TEST_F(DeleteFolderContents, AnEmptyNameIsRejected) {
    EXPECT_EQ(app::deleteFolderContents(fs, L""), winerr::InvalidParameter);
    EXPECT_TRUE(fs.fileExists(L"C:\\Work\\a.inf"));
}

} // namespace
