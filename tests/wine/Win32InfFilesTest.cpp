// SetupAPI's INF reading (through the INF port and CInfFile) against the portable reader that the
// simulated machine and the Linux build use, on the same files: both must give the same sections,
// keys and values.
#include "app/skin/SkinArchive.h"
#include "base/InfText.h"
#include "engine/package/CInfFile.h"
#include "platform/win32/Win32Ports.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

namespace {

struct Case {
    const char* what;
    std::wstring text;
};

const std::wstring kVersion = L"[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n"
                              L"ClassGUID={4D36E979-E325-11CE-BFC1-08002BE10318}\r\n";

std::vector<Case> cases() {
    return {
        {"plain sections and lines", kVersion + L"[Manufacturer]\r\n%Maker%=CorvaneEx,NTx86,NTamd64\r\n"
                                                L"[SourceDisksFiles.x86]\r\nA.dll = 1,i386\r\nB.dat = 1\r\n"
                                                L"[Strings]\r\nMaker=\"CorvaneEx\"\r\n"},
        {"quotes keep commas and blanks",
         kVersion + L"[Models]\r\n\"JN 2264T, label\" = Install, \"USBPRINT\\A B\" , \" spaced \"\r\n"},
        {"comments and continuations",
         kVersion + L"[Files]\r\nA.dll = 1, \\\r\n  amd64 ; trailing comment\r\n; whole-line comment\r\n"
                    L"B.dll=1,\"x;y\"\r\n"},
        {"strings substituted, percent doubled",
         kVersion + L"[Info]\r\nName=%Model% 100%% "
                    L"\"%Maker%\"\r\n[Strings]\r\nModel=JN-2264T\r\nMaker=Corvane Ex\r\n"},
        {"section names in any case and repeated",
         kVersion + L"[sourcedisksfiles.AMD64]\r\nA.dll=1,amd64\r\n[Other]\r\nx=1\r\n"
                    L"[SourceDisksFiles.amd64]\r\nB.dll=1,amd64\r\n"},
        {"lines without a key", kVersion + L"[CopyList]\r\nA.dll\r\nB.dll,C.dll\r\n"},
    };
}

std::wstring tempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

// What the portable reader gives, in CInfFile's shape.
std::vector<InfSection> portable(const inf::Document& doc) {
    std::vector<InfSection> out;
    for (const auto& name : doc.sectionNames()) {
        InfSection s{name, {}};
        for (const auto& l : *doc.section(name))
            s.lines.push_back({inf::setupApiKey(l).value_or(L""), l.fields});
        out.push_back(std::move(s));
    }
    return out;
}

std::string show(const std::vector<InfSection>& sections) {
    std::string out;
    for (const auto& s : sections) {
        out += "[" + std::string(s.name.begin(), s.name.end()) + "]\n";
        for (const auto& l : s.lines) {
            out += "  <" + std::string(l.key.begin(), l.key.end()) + ">";
            for (const auto& v : l.values)
                out += " |" + std::string(v.begin(), v.end()) + "|";
            out += "\n";
        }
    }
    return out;
}

TEST(Win32InfFiles, SetupApiAndThePortableReaderAgree) {
    auto infs = win32::makeWin32InfFiles();
    for (const auto& c : cases()) {
        SCOPED_TRACE(c.what);
        const auto path = tempFile(L"orvello-inf-test.inf");
        {
            // UTF-16LE with its byte-order mark, as the package INF is written.
            std::ofstream out(std::filesystem::path(path), std::ios::binary);
            out.write("\xFF\xFE", 2);
            for (wchar_t ch : c.text) {
                const char bytes[2] = {static_cast<char>(ch & 0xFF), static_cast<char>((ch >> 8) & 0xFF)};
                out.write(bytes, 2);
            }
        }
        CInfFile inf(*infs);
        ASSERT_TRUE(inf.Open(path));
        EXPECT_EQ(show(inf.sections()), show(portable(inf::Document::parse(c.text))));
        DeleteFileW(path.c_str());
    }
}

// The INF this build packs into the program's skin archive, as the wizard extracts it: both readers
// give every section, model line and source-disk line alike.
TEST(Win32InfFiles, SetupApiReadsThePackedPackageInfAsThePortableReaderDoes) {
    SkinArchive skin;
    ASSERT_EQ(skin.open(testing_support::programResources()), ports::winerr::Success);
    std::string bytes;
    ASSERT_EQ(skin.read(L"Drivers/CorvaneEx/CorvaneExNew.inf", bytes), ports::winerr::Success);
    const auto path = tempFile(L"CorvaneExNew.inf");
    {
        std::ofstream out(std::filesystem::path(path), std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    auto infs = win32::makeWin32InfFiles();
    CInfFile inf(*infs);
    ASSERT_TRUE(inf.Open(path));
    const auto expected = portable(
        inf::Document::parse(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())));
    EXPECT_EQ(show(inf.sections()), show(expected));
    // Not two empty readings: the package has its models and its files for each architecture.
    std::size_t sourceLines = 0;
    for (const auto& section : expected)
        if (section.name.starts_with(L"SourceDisksFiles."))
            sourceLines += section.lines.size();
    EXPECT_GE(expected.size(), 10u);
    EXPECT_GE(sourceLines, 3u * 3u);
    DeleteFileW(path.c_str());
}

TEST(Win32InfFiles, OtherClassesAndMissingFilesDoNotOpen) {
    auto infs = win32::makeWin32InfFiles();
    const auto path = tempFile(L"orvello-inf-net.inf");
    {
        std::ofstream out(std::filesystem::path(path), std::ios::binary);
        out << "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Net\r\n";
    }
    ports::InfHandle h;
    // Wine opens an INF of any class; Windows refuses another class.
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
        EXPECT_EQ(infs->openInf(path, L"Printer", h), ports::winerr::ClassMismatch);
        EXPECT_FALSE(h);
    }
    EXPECT_NE(infs->openInf(tempFile(L"orvello-no-such.inf"), L"Printer", h), ports::winerr::Success);
    DeleteFileW(path.c_str());
}

} // namespace
