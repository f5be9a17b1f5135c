// The catalogue and manufacturer records built into the program, checked against the figures the
// generator (tools/catalogue/gen_catalogue.py) reports for them.
#include "base/Utf.h"
#include "catalogue/CatalogueHeader.h"
#include "catalogue/CataloguePapers.h"
#include "catalogue/DriverCatalogue.h"
#include "catalogue/LoadXmlResource.h"
#include "catalogue/ManufacturerRecords.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <set>

namespace {

namespace cat = catalogue;

class ShippedCatalogue : public ::testing::Test {
protected:
    void SetUp() override {
        auto& system = machine.platform().system();
        cat::LoadXmlResource(testing_support::programResources(), system, ports::kResourceCatalogue,
                             catalogueDoc);
        cat::LoadXmlResource(testing_support::programResources(), system, ports::kResourceManufacturers,
                             manufacturerDoc);
        ASSERT_TRUE(catalogueDoc.loaded());
        ASSERT_TRUE(manufacturerDoc.loaded());
        EXPECT_TRUE(machine.platform().simSystem().debugLines().empty());
    }

    int countModels(std::wstring_view mode) {
        int n = 0;
        DriverRef ref;
        for (bool more = cat::FirstDriver(mode, catalogueDoc, ref); more; more = cat::NextDriver(mode, ref))
            ++n;
        return n;
    }

    testing_support::TestMachine machine;
    cat::XmlDocument catalogueDoc;
    cat::XmlDocument manufacturerDoc;
};

TEST_F(ShippedCatalogue, ModesAndModels) {
    EXPECT_EQ(countModels(cat::kModeZevrPrt), 984);
    EXPECT_EQ(countModels(L"Native"), 60);
    EXPECT_EQ(countModels(L"CorvaneEx"), 289);
    EXPECT_EQ(countModels(L"Tovana"), 20);

    std::set<std::wstring> modes, names;
    int withParent = 0, parentInNative = 0, usbEmpty = 0, monitor = 0, offBluetooth = 0, adapters = 0;
    DriverRef ref;
    for (bool more = cat::FirstDriver(cat::kModeZevrPrt, catalogueDoc, ref); more;
         more = cat::NextDriver(cat::kModeZevrPrt, ref)) {
        modes.insert(cat::DriverManufacturerMode(ref));
        names.insert(cat::DriverName(ref));
        const DriverRef parent = cat::ParentDriver(ref);
        withParent += !parent.empty();
        parentInNative += !parent.empty() && cat::DriverManufacturerMode(parent) == L"Native";
        usbEmpty += cat::DriverUsbName(ref).empty();
        monitor += cat::UsesLanguageMonitor(ref);
        offBluetooth += !cat::IsBluetoothDriver(ref);
        adapters += cat::IsBluetoothAdapter(ref);
    }
    EXPECT_EQ(modes.size(), 27u);
    EXPECT_EQ(names.size(), 489u);
    EXPECT_EQ(withParent, 915);
    EXPECT_EQ(parentInNative, 915);
    EXPECT_EQ(usbEmpty, 40);
    EXPECT_EQ(monitor, 37);
    EXPECT_EQ(offBluetooth, 103);
    EXPECT_EQ(adapters, 8);
    EXPECT_EQ(countModels(L"corvaneex"), 0);
}

TEST_F(ShippedCatalogue, FirstModelAndItsHardwareId) {
    DriverRef first;
    ASSERT_TRUE(cat::FirstDriver(cat::kModeZevrPrt, catalogueDoc, first));
    EXPECT_EQ(cat::DriverName(first), L"TSPL 203dpi 56mm DT");
    EXPECT_EQ(cat::DriverManufacturerMode(first), L"Native");
    EXPECT_EQ(cat::FindDriverByUsbName(cat::kModeZevrPrt, L"USBPRINT\\LabelBaseTSPL_203dpi_56mm_DTA831",
                                       catalogueDoc),
              first);
    EXPECT_TRUE(cat::FindDriverByUsbName(cat::kModeZevrPrt, L"USBPRINT\\LABELBASETSPL_203DPI_56MM_DTA831",
                                         catalogueDoc)
                    .empty());
}

TEST_F(ShippedCatalogue, EveryCorvaneExModelIsFoundByItsOwnHardwareId) {
    // No CorvaneEx model lacks a hardware ID, and the ID leads back to that model or an earlier one.
    DriverRef ref;
    for (bool more = cat::FirstDriver(L"CorvaneEx", catalogueDoc, ref); more;
         more = cat::NextDriver(L"CorvaneEx", ref)) {
        const std::wstring id = cat::DriverUsbName(ref);
        ASSERT_FALSE(id.empty()) << text::toUtf8(cat::DriverName(ref));
        const DriverRef found = cat::FindDriverByUsbName(L"CorvaneEx", id, catalogueDoc);
        ASSERT_FALSE(found.empty());
        EXPECT_LE(found.index, ref.index);
        EXPECT_EQ(cat::DriverUsbName(found), id);
        EXPECT_EQ(cat::FindDriver(L"CorvaneEx", cat::DriverName(ref), catalogueDoc), ref);
    }
    EXPECT_TRUE(cat::FindDriverByUsbName(L"CorvaneEx", L"", catalogueDoc).empty());
}

TEST_F(ShippedCatalogue, Papers) {
    int papers = 0;
    std::set<std::wstring> names;
    cat::ForEachCataloguePaper(catalogueDoc, [&](const std::wstring& name) {
        ++papers;
        names.insert(name);
    });
    EXPECT_EQ(papers, 319);
    EXPECT_EQ(names.size(), 179u);
}

TEST_F(ShippedCatalogue, HeaderAgreesWithTheManufacturerRecord) {
    EXPECT_EQ(cat::CatalogueVersion(catalogueDoc), L"3.0.2.465");
    EXPECT_EQ(cat::CatalogueTime(catalogueDoc), L"");
    ManufacturerRecord header;
    cat::ReadCatalogueHeader(catalogueDoc, header);
    EXPECT_EQ(header.Name, L"CorvaneEx");
    EXPECT_EQ(header.ProductName, L"\x6807\x7B7E\x6253\x5370\x673A");
    EXPECT_EQ(header.ProductEnName, L"Thermal Label Printer");

    int records = 0;
    cat::ForEachManufacturerRecord(manufacturerDoc, [&](cat::RecordElement) { ++records; });
    EXPECT_EQ(records, 1);
    const ManufacturerRecord record =
        cat::ReadManufacturerRecord(cat::FindManufacturerRecord(manufacturerDoc, L"corvaneex"));
    for (auto [a, b] : {std::pair{&header.Name, &record.Name},
                        {&header.ProductName, &record.ProductName},
                        {&header.ProductEnName, &record.ProductEnName},
                        {&header.CompanyName, &record.CompanyName},
                        {&header.CompanyEnName, &record.CompanyEnName},
                        {&header.WebSite, &record.WebSite},
                        {&header.Email, &record.Email},
                        {&header.Tel, &record.Tel}})
        EXPECT_EQ(*a, *b);
    EXPECT_EQ(std::vector({header.V0, header.V1, header.V2, header.V3}),
              std::vector({record.V0, record.V1, record.V2, record.V3}));
    EXPECT_EQ(record.Manufacturer, L"CorvaneEx");
    EXPECT_EQ(record.SetupPackageName, L"CorvaneEx");
    EXPECT_FALSE(record.Disable);
    EXPECT_EQ(countModels(record.Name), 289);
}

} // namespace
