// The manufacturer records: listing, finding by Name without regard to case, reading every field.
#include "CatalogueFixture.h"

#include "catalogue/ManufacturerRecords.h"

namespace {

using catalogue::XmlDocument;
using catalogue_test::CatalogueFixture;
namespace cat = catalogue;

constexpr char kRecords[] = R"(<?xml version="1.0"?>
<Manufacturers>
  <Manufacturer local_bNeedPackage="1">
    <Name>CorvaneEx</Name>
    <ProductName>标签打印机</ProductName>
    <ProductEnName>Thermal Label Printer</ProductEnName>
    <CompanyName><![CDATA[Corvane & Co]]></CompanyName>
    <CompanyEnName>Corvane &amp; Co</CompanyEnName>
    <WebSite>https://w.example</WebSite>
    <Email>s@w.example</Email>
    <Tel></Tel>
    <LogoFile>logo.png</LogoFile>
    <Manufacturer>CorvaneEx</Manufacturer>
    <SetupPackageName>Pkg</SetupPackageName>
    <V0>3</V0><V1>0x10</V1><V2>-2</V2><V3>465</V3>
    <Time>2024</Time>
    <Disable>true</Disable>
    <Remark>remark</Remark>
  </Manufacturer>
  <Manufacturer><Name>native</Name></Manufacturer>
  <Manufacturer><Name>Tovana</Name><Disable></Disable></Manufacturer>
  <Manufacturer><Name>CORVANEEX</Name><Remark>a later record of the same name</Remark></Manufacturer>
  <Other><Name>NotARecord</Name></Other>
</Manufacturers>)";

class ManufacturerRecords : public CatalogueFixture {
protected:
    void SetUp() override { load(doc, kRecords, 132); }
    XmlDocument doc;
};

TEST_F(ManufacturerRecords, EveryRecordInDocumentOrder) {
    std::vector<std::wstring> names;
    cat::ForEachManufacturerRecord(
        doc, [&](cat::RecordElement r) { names.push_back(cat::ReadManufacturerRecord(r).Name); });
    EXPECT_EQ(names, (std::vector<std::wstring>{L"CorvaneEx", L"native", L"Tovana", L"CORVANEEX"}));
}

TEST_F(ManufacturerRecords, FoundByNameInAnyLetterCaseFirstMatchWins) {
    struct Case {
        const wchar_t* name;
        const wchar_t* foundName; // nullptr: none
    };
    const Case cases[] = {
        {L"CorvaneEx", L"CorvaneEx"},
        {L"corvaneex", L"CorvaneEx"},
        {L"NATIVE", L"native"},
        {L"Corvane", nullptr},
        {L"CorvaneEx ", nullptr},
        {L"NotARecord", nullptr},
        {L"", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(text::toUtf8(c.name));
        const cat::RecordElement r = cat::FindManufacturerRecord(doc, c.name);
        EXPECT_EQ(static_cast<bool>(r), c.foundName != nullptr);
        if (c.foundName) {
            EXPECT_EQ(cat::ReadManufacturerRecord(r).Name, c.foundName);
        }
    }
}

TEST_F(ManufacturerRecords, EveryFieldIsRead) {
    ManufacturerRecord expected;
    expected.Name = L"CorvaneEx";
    expected.ProductName = L"\x6807\x7B7E\x6253\x5370\x673A";
    expected.ProductEnName = L"Thermal Label Printer";
    expected.CompanyName = L"Corvane & Co";
    expected.CompanyEnName = L"Corvane & Co";
    expected.WebSite = L"https://w.example";
    expected.Email = L"s@w.example";
    expected.Tel = L"";
    expected.LogoFile = L"logo.png";
    expected.Manufacturer = L"CorvaneEx";
    expected.SetupPackageName = L"Pkg";
    expected.V0 = 3;
    expected.V1 = 16;
    expected.V2 = -2;
    expected.V3 = 465;
    expected.Time = L"2024";
    expected.Disable = true;
    expected.Remark = L"remark";
    EXPECT_EQ(cat::ReadManufacturerRecord(cat::FindManufacturerRecord(doc, L"CorvaneEx")), expected);
}

TEST_F(ManufacturerRecords, MissingFieldsReadAsDefaults) {
    ManufacturerRecord expected;
    expected.Name = L"Tovana";
    EXPECT_EQ(cat::ReadManufacturerRecord(cat::FindManufacturerRecord(doc, L"Tovana")), expected);
    EXPECT_EQ(cat::ReadManufacturerRecord(cat::RecordElement{}), ManufacturerRecord{});
}

TEST_F(ManufacturerRecords, NoRecordsWithoutTheManufacturersRoot) {
    XmlDocument other;
    load(other,
         "<Drivers><Manufacturers><Manufacturer><Name>CorvaneEx</Name></Manufacturer></Manufacturers></"
         "Drivers>",
         132);
    EXPECT_FALSE(cat::FindManufacturerRecord(other, L"CorvaneEx"));
    int visited = 0;
    cat::ForEachManufacturerRecord(other, [&](cat::RecordElement) { ++visited; });
    EXPECT_EQ(visited, 0);
}

} // namespace
