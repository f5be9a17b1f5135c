// The catalogue root: the start-up manufacturer fields, the version string and the build time.
#include "CatalogueFixture.h"

#include "base/Format.h"
#include "catalogue/CatalogueHeader.h"

namespace {

using catalogue::XmlDocument;
using catalogue_test::CatalogueFixture;

using CatalogueHeader = CatalogueFixture;

TEST_F(CatalogueHeader, RootAttributesFillTheirFieldsAndLeaveTheOthers) {
    XmlDocument doc;
    load(doc, R"(<?xml version="1.0"?>
<Drivers model="CorvaneEx" product="标签打印机" product_en="Thermal Label Printer" company="柯尔凡"
         company_en="Corvane" website="https://w.example" tel="" email="s@w.example"
         version0="3" version1="0" version2="2" version3="465" time="2024-05-01"/>)");
    ManufacturerRecord r;
    r.LogoFile = L"logo.png";
    r.Manufacturer = L"Kept";
    r.SetupPackageName = L"Pkg";
    r.Time = L"then";
    r.Disable = true;
    r.Remark = L"note";
    r.Tel = L"overwritten";
    catalogue::ReadCatalogueHeader(doc, r);

    ManufacturerRecord expected;
    expected.Name = L"CorvaneEx";
    expected.ProductName = L"\x6807\x7B7E\x6253\x5370\x673A";
    expected.ProductEnName = L"Thermal Label Printer";
    expected.CompanyName = L"\x67EF\x5C14\x51E1";
    expected.CompanyEnName = L"Corvane";
    expected.WebSite = L"https://w.example";
    expected.Email = L"s@w.example";
    expected.Tel = L"";
    expected.V0 = 3;
    expected.V1 = 0;
    expected.V2 = 2;
    expected.V3 = 465;
    // Not read from the root: left as they were.
    expected.LogoFile = L"logo.png";
    expected.Manufacturer = L"Kept";
    expected.SetupPackageName = L"Pkg";
    expected.Time = L"then";
    expected.Disable = true;
    expected.Remark = L"note";
    EXPECT_EQ(r, expected);
    EXPECT_EQ(catalogue::CatalogueTime(doc), L"2024-05-01");
}

TEST_F(CatalogueHeader, VersionStringFromTheFourIntegers) {
    struct Case {
        const char* attributes;
        const wchar_t* version;
    };
    const Case cases[] = {
        {R"(version0="3" version1="0" version2="2" version3="465")", L"3.0.2.465"},
        {R"(version0="3" version1="0" version3="465")", L"3.0.0.465"},
        {R"(version0="0x10" version1="0X1f" version2="007" version3="1")", L"16.31.7.1"},
        {R"(version0=" -2" version1="+5" version2="abc" version3="")", L"-2.5.0.0"},
        {R"(version0="99999999999" version1="-99999999999" version2="0" version3="0")",
         L"2147483647.-2147483648.0.0"},
        {"", L"0.0.0.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attributes);
        XmlDocument doc;
        load(doc, std::string("<Drivers ") + c.attributes + "/>");
        EXPECT_EQ(catalogue::CatalogueVersion(doc), c.version);
        ManufacturerRecord r;
        catalogue::ReadCatalogueHeader(doc, r);
        EXPECT_EQ(text::format(L"%d.%d.%d.%d", r.V0, r.V1, r.V2, r.V3), c.version);
    }
}

TEST_F(CatalogueHeader, MissingTimeAndAnotherRootNameReadEmpty) {
    XmlDocument noTime, otherRoot;
    load(noTime, R"(<Drivers model="M"/>)");
    load(otherRoot, R"(<Catalogue model="M" version0="4" time="t"/>)");
    EXPECT_EQ(catalogue::CatalogueTime(noTime), L"");
    EXPECT_EQ(catalogue::CatalogueTime(otherRoot), L"");
    EXPECT_EQ(catalogue::CatalogueVersion(otherRoot), L"0.0.0.0");
    ManufacturerRecord r;
    r.Name = L"old";
    catalogue::ReadCatalogueHeader(otherRoot, r);
    EXPECT_EQ(r.Name, L"");
}

} // namespace
