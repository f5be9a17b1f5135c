#include "app/language/Languages.h"
#include "app/skin/SkinArchive.h"
#include "base/Utf.h"
#include "support/TestMachine.h"

#include "ZipBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using testing_support::buildZip;
using testing_support::ZipEntry;

const std::string kTable = "<Language isocode=\"en\"/>";
const std::string kLogo = "PNG-bytes-stored-as-they-are";
const std::string kReadme = "说明";

std::vector<std::uint8_t> fixture() {
    return buildZip({
        {"Lang/", "", false},
        {"Lang/English/StringResource.lng", kTable, false},
        {"images/logo.png", kLogo, true},
        {"Lang/中文/说明.txt", kReadme, false},
        {"empty.txt", "", false},
    });
}

struct Lookup {
    const wchar_t* path;
    ports::Status status;
    std::string bytes;
};

void PrintTo(const Lookup& l, std::ostream* os) {
    *os << text::toUtf8(l.path);
}

class SkinArchiveLookup : public ::testing::TestWithParam<Lookup> {
protected:
    static void SetUpTestSuite() {
        bytes_ = fixture();
        ASSERT_FALSE(bytes_.empty());
        archive_ = new SkinArchive;
        ASSERT_EQ(archive_->open(bytes_), ports::winerr::Success);
    }
    static void TearDownTestSuite() {
        delete archive_;
        archive_ = nullptr;
    }
    static std::vector<std::uint8_t> bytes_;
    static SkinArchive* archive_;
};

std::vector<std::uint8_t> SkinArchiveLookup::bytes_;
SkinArchive* SkinArchiveLookup::archive_ = nullptr;

TEST_P(SkinArchiveLookup, FindsEntriesByWindowsOrArchivePathIgnoringCase) {
    const auto& c = GetParam();
    std::string got = "left over";
    EXPECT_EQ(archive_->read(c.path, got), c.status);
    EXPECT_EQ(got, c.bytes);
    EXPECT_EQ(archive_->contains(c.path), c.status == ports::winerr::Success);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SkinArchiveLookup,
    ::testing::Values(Lookup{L"Lang\\English\\StringResource.lng", ports::winerr::Success, kTable},
                      Lookup{L"Lang/English/StringResource.lng", ports::winerr::Success, kTable},
                      Lookup{L"LANG\\english/stringresource.LNG", ports::winerr::Success, kTable},
                      Lookup{L"\\Lang\\English\\StringResource.lng", ports::winerr::Success, kTable},
                      Lookup{L"images\\logo.png", ports::winerr::Success, kLogo},
                      Lookup{L"Lang\\中文\\说明.txt", ports::winerr::Success, kReadme},
                      Lookup{L"empty.txt", ports::winerr::Success, ""},
                      Lookup{L"Lang", ports::winerr::FileNotFound, ""},
                      Lookup{L"Lang\\", ports::winerr::FileNotFound, ""},
                      Lookup{L"Lang\\English\\StringResource", ports::winerr::FileNotFound, ""},
                      Lookup{L"Lang\\German\\StringResource.lng", ports::winerr::FileNotFound, ""},
                      Lookup{L"", ports::winerr::FileNotFound, ""}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(SkinArchive, ListsFileEntriesInArchiveOrderWithoutFolders) {
    const auto bytes = fixture();
    SkinArchive archive;
    ASSERT_EQ(archive.open(bytes), ports::winerr::Success);
    const std::vector<std::wstring> expected{L"Lang/English/StringResource.lng", L"images/logo.png",
                                             L"Lang/中文/说明.txt", L"empty.txt"};
    EXPECT_EQ(archive.entryNames(), expected);
}

TEST(SkinArchive, InflatesEntriesLargerThanOneReadChunk) {
    std::string big;
    for (int i = 0; big.size() < 200 * 1024; ++i)
        big += "<Text id=\"" + std::to_string(i) + "\" text=\"line\"/>\n";
    const auto bytes = buildZip({{"big.lng", big, false}});
    SkinArchive archive;
    ASSERT_EQ(archive.open(bytes), ports::winerr::Success);
    std::string got;
    ASSERT_EQ(archive.read(L"big.lng", got), ports::winerr::Success);
    EXPECT_TRUE(got == big) << "read back " << got.size() << " of " << big.size() << " bytes";
}

TEST(SkinArchive, RejectsBytesThatAreNoArchive) {
    const std::string junk = "PK this is not a zip archive at all";
    const std::vector<std::uint8_t> notZip(junk.begin(), junk.end());
    auto truncated = fixture();
    truncated.resize(truncated.size() - 30); // loses the end-of-central-directory record
    for (const auto& bytes : {std::vector<std::uint8_t>{}, notZip, truncated}) {
        SkinArchive archive;
        EXPECT_EQ(archive.open(bytes), ports::winerr::InvalidData) << bytes.size() << " bytes";
        EXPECT_FALSE(archive.isOpen());
        std::string got;
        EXPECT_EQ(archive.read(L"Lang\\English\\StringResource.lng", got), ports::winerr::FileNotFound);
    }
}

TEST(SkinArchive, ReportsAnEntryWhoseDataIsDamaged) {
    auto bytes = fixture();
    const auto at = std::search(bytes.begin(), bytes.end(), kLogo.begin(), kLogo.end());
    ASSERT_NE(at, bytes.end());
    *at ^= 0x20; // the stored entry's first byte; its CRC no longer matches
    SkinArchive archive;
    ASSERT_EQ(archive.open(bytes), ports::winerr::Success);
    std::string got;
    EXPECT_EQ(archive.read(L"images\\logo.png", got), ports::winerr::InvalidData);
    EXPECT_TRUE(got.empty());
    EXPECT_EQ(archive.read(L"Lang\\English\\StringResource.lng", got), ports::winerr::Success);
    EXPECT_EQ(got, kTable);
}

TEST(SkinArchive, OpeningAgainReplacesTheArchive) {
    const auto first = fixture();
    const auto second = buildZip({{"other.txt", "other", false}});
    SkinArchive archive;
    ASSERT_EQ(archive.open(first), ports::winerr::Success);
    ASSERT_EQ(archive.open(second), ports::winerr::Success);
    std::string got;
    EXPECT_EQ(archive.read(L"images\\logo.png", got), ports::winerr::FileNotFound);
    EXPECT_EQ(archive.read(L"other.txt", got), ports::winerr::Success);
    EXPECT_EQ(got, "other");
    archive.close();
    EXPECT_FALSE(archive.isOpen());
    EXPECT_EQ(archive.read(L"other.txt", got), ports::winerr::FileNotFound);
}

class NoResources final : public ports::Resources {
public:
    std::optional<std::span<const std::uint8_t>> find(std::wstring_view, std::uint16_t) noexcept override {
        return std::nullopt;
    }
};

TEST(SkinArchive, OpensTheProgramsSkinWithEveryLanguagesMessageTable) {
    SkinArchive archive;
    ASSERT_EQ(archive.open(testing_support::programResources()), ports::winerr::Success);
    for (const auto& language : languages()) {
        std::string bytes;
        const auto path = languageFolder(language.name) + L"\\StringResource.lng";
        EXPECT_EQ(archive.read(path, bytes), ports::winerr::Success) << text::toUtf8(path);
        EXPECT_TRUE(bytes.starts_with("<?xml")) << text::toUtf8(path);
    }

    NoResources none;
    EXPECT_EQ(archive.open(none), ports::winerr::FileNotFound);
    EXPECT_FALSE(archive.isOpen());
}

} // namespace
