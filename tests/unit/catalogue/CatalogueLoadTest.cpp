// Loading the embedded XML documents: what each failure reports, that a document is parsed once,
// and that an empty catalogue answers every query with nothing.
#include "CatalogueFixture.h"

#include "catalogue/CatalogueHeader.h"
#include "catalogue/CataloguePapers.h"
#include "catalogue/DriverCatalogue.h"
#include "catalogue/ManufacturerRecords.h"

namespace {

using catalogue::XmlDocument;
using catalogue_test::CatalogueFixture;

constexpr char kSmallCatalogue[] = R"(<?xml version="1.0"?>
<Drivers model="CorvaneEx" version0="1">
  <Manufacturers>
    <Manufacturer mode="CorvaneEx"><Driver name="A"/></Manufacturer>
  </Manufacturers>
</Drivers>)";

using CatalogueLoad = CatalogueFixture;

TEST_F(CatalogueLoad, FailuresAreReportedOnTheDebuggerOutput) {
    struct Case {
        const char* what;
        std::optional<std::string> bytes; // nothing: found but unreadable
        std::vector<std::wstring> lines;
        bool loaded;
    };
    const Case cases[] = {
        {"unreadable", std::nullopt, {L"load packaga resource error"}, false},
        {"size 0", std::string(), {L"load packaga resource error size == 0"}, false},
        {"mismatched tags",
         std::string("<Drivers><Manufacturers></Drivers>"),
         {L"Start-end tags mismatch"},
         true},
        {"no element", std::string("<?xml version=\"1.0\"?>"), {L"No document element found"}, true},
        {"well formed", std::string(kSmallCatalogue), {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        XmlDocument doc;
        if (c.bytes)
            resources.add(131, *c.bytes);
        else
            resources.addUnreadable(131);
        EXPECT_EQ(loadAgain(doc), c.lines);
        EXPECT_EQ(doc.loaded(), c.loaded);
    }
}

TEST_F(CatalogueLoad, MissingResourceLeavesTheDocumentEmptyWithoutAWord) {
    XmlDocument doc;
    EXPECT_TRUE(loadAgain(doc, 131).empty());
    EXPECT_FALSE(doc.loaded());
    // Not parsed yet, so a later load still parses.
    EXPECT_TRUE(load(doc, kSmallCatalogue).empty());
    EXPECT_TRUE(doc.loaded());
    EXPECT_EQ(catalogue::CatalogueVersion(doc), L"1.0.0.0");
}

TEST_F(CatalogueLoad, TheResourceIsTakenFromTheGivenId) {
    XmlDocument catalogueDoc, manufacturerDoc;
    resources.add(131, kSmallCatalogue);
    resources.add(132, "<Manufacturers><Manufacturer><Name>CorvaneEx</Name></Manufacturer></Manufacturers>");
    loadAgain(catalogueDoc, 131);
    loadAgain(manufacturerDoc, 132);
    EXPECT_EQ(catalogue::CatalogueVersion(catalogueDoc), L"1.0.0.0");
    EXPECT_TRUE(catalogue::FindManufacturerRecord(manufacturerDoc, L"CorvaneEx"));
    EXPECT_FALSE(catalogue::FindManufacturerRecord(catalogueDoc, L"CorvaneEx"));
}

TEST_F(CatalogueLoad, ADocumentIsParsedOnlyOnceEvenAfterAnError) {
    XmlDocument broken;
    EXPECT_EQ(load(broken, "<Drivers version0=\"7\"><Manufacturers></Drivers>"),
              std::vector<std::wstring>{L"Start-end tags mismatch"});
    resources.add(131, kSmallCatalogue);
    EXPECT_TRUE(loadAgain(broken).empty());
    // What the failed parse got before the error is what the document holds.
    EXPECT_EQ(catalogue::CatalogueVersion(broken), L"7.0.0.0");
    DriverRef ref;
    EXPECT_FALSE(catalogue::FirstDriver(L"CorvaneEx", broken, ref));

    XmlDocument good;
    load(good, kSmallCatalogue);
    resources.add(131, "<Drivers version0=\"9\"/>");
    loadAgain(good);
    EXPECT_EQ(catalogue::CatalogueVersion(good), L"1.0.0.0");
}

TEST_F(CatalogueLoad, EncodingIsDetectedFromTheBytes) {
    // UTF-16LE with a byte-order mark: "<Drivers product="标签"/>".
    const std::u16string text = u"\xFEFF<Drivers product=\"\x6807\x7B7E\"/>";
    std::string bytes;
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    XmlDocument doc;
    EXPECT_TRUE(load(doc, bytes).empty());
    ManufacturerRecord header;
    catalogue::ReadCatalogueHeader(doc, header);
    EXPECT_EQ(header.ProductName, L"\x6807\x7B7E");
}

TEST_F(CatalogueLoad, AnEmptyCatalogueAnswersEveryQueryWithNothing) {
    for (const bool parsed : {false, true}) {
        SCOPED_TRACE(parsed ? "parse error" : "never loaded");
        XmlDocument doc;
        if (parsed)
            load(doc, "not xml at all");
        DriverRef ref;
        EXPECT_FALSE(catalogue::FirstDriver(catalogue::kModeZevrPrt, doc, ref));
        EXPECT_FALSE(catalogue::FirstDriver(L"", doc, ref));
        EXPECT_TRUE(ref.empty());
        EXPECT_TRUE(catalogue::FindDriver(L"Native", L"", doc).empty());
        EXPECT_TRUE(catalogue::FindDriverByUsbName(catalogue::kModeZevrPrt, L"", doc).empty());
        EXPECT_EQ(catalogue::CatalogueVersion(doc), L"0.0.0.0");
        EXPECT_EQ(catalogue::CatalogueTime(doc), L"");
        ManufacturerRecord header;
        header.Name = L"before";
        catalogue::ReadCatalogueHeader(doc, header);
        EXPECT_EQ(header.Name, L"");
        int papers = 0;
        catalogue::ForEachCataloguePaper(doc, [&](const std::wstring&) { ++papers; });
        int records = 0;
        catalogue::ForEachManufacturerRecord(doc, [&](catalogue::RecordElement) { ++records; });
        EXPECT_EQ(papers + records, 0);
        EXPECT_FALSE(catalogue::FindManufacturerRecord(doc, L""));
    }
}

} // namespace
