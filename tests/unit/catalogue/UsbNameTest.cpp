// Finding the model of a USB printer by its hardware ID: whole string, letter case as written, first
// model of the walk.
#include "CatalogueFixture.h"

#include "catalogue/DriverCatalogue.h"

namespace {

using catalogue::XmlDocument;
using catalogue_test::CatalogueFixture;
namespace cat = catalogue;

constexpr char kUsb[] = R"(<?xml version="1.0"?>
<Drivers>
  <Manufacturers>
    <Manufacturer mode="Native">
      <Driver name="Base" usbname="USBPRINT\LabelBase42"/>
      <Driver name="Blank"/>
      <Driver name="Elsewhere" usbname="USBPRINT\OnlyNative"/>
    </Manufacturer>
    <Manufacturer mode="CorvaneEx">
      <Driver name="First" usbname="USBPRINT\CX420"/>
      <Driver name="Second" usbname="USBPRINT\CX420"/>
      <Driver name="Derived" parent="Base"/>
      <Driver name="Cleared" parent="Base" usbname=""/>
      <Driver name="Chinese" usbname="USBPRINT\标签机"/>
    </Manufacturer>
  </Manufacturers>
</Drivers>)";

using UsbName = CatalogueFixture;

TEST_F(UsbName, HardwareIdMustMatchAWholeResolvedUsbName) {
    XmlDocument doc;
    load(doc, kUsb);
    struct Case {
        const wchar_t* mode;
        std::wstring hardwareId;
        const wchar_t* model; // nullptr: not found
    };
    const Case cases[] = {
        {L"CorvaneEx", L"USBPRINT\\CX420", L"First"},
        {L"CorvaneEx", L"usbprint\\cx420", nullptr},
        {L"CorvaneEx", L"USBPRINT\\CX42", nullptr},
        {L"CorvaneEx", L"USBPRINT\\CX4200", nullptr},
        {L"CorvaneEx", L"USBPRINT\\CX420 ", nullptr},
        {L"CorvaneEx", L" USBPRINT\\CX420", nullptr},
        {L"CorvaneEx", L"CX420", nullptr},
        {L"CorvaneEx", std::wstring(L"USBPRINT\\CX420\0", 15), nullptr},
        // Inherited from the parent in Native.
        {L"CorvaneEx", L"USBPRINT\\LabelBase42", L"Derived"},
        {L"CorvaneEx", L"USBPRINT\\\x6807\x7B7E\x673A", L"Chinese"},
        // Only the models of the mode, unless the whole catalogue is walked.
        {L"CorvaneEx", L"USBPRINT\\OnlyNative", nullptr},
        {L"ZevrPrt", L"USBPRINT\\OnlyNative", L"Elsewhere"},
        {L"ZevrPrt", L"USBPRINT\\LabelBase42", L"Base"},
        {L"zevrprt", L"USBPRINT\\CX420", L"First"},
        {L"corvaneex", L"USBPRINT\\CX420", nullptr},
        // An empty ID matches the first model whose usbname resolves empty.
        {L"CorvaneEx", L"", L"Cleared"},
        {L"ZevrPrt", L"", L"Blank"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(text::toUtf8(std::wstring(c.mode) + L" " + c.hardwareId));
        const DriverRef ref = cat::FindDriverByUsbName(c.mode, c.hardwareId, doc);
        if (!c.model) {
            EXPECT_TRUE(ref.empty()) << text::toUtf8(cat::DriverName(ref));
            continue;
        }
        ASSERT_FALSE(ref.empty());
        EXPECT_EQ(cat::DriverName(ref), c.model);
        EXPECT_EQ(cat::DriverUsbName(ref), c.hardwareId);
    }
}

} // namespace
